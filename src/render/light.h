// The course's lamps: point lights and spot lights whose values go to the
// lit objects' programs under numbered struct names ("light3.position").
// A light keeps no slot number of its own; the number lives only in its
// names, which the renderer rebuilds at every selection.
#pragma once

#include "render/gl.h"

#include <glm/vec3.hpp>

#include <string>

namespace ruma::scene {

// Lights farther than this from the point looked at are not sent.
constexpr float kLightRange = 10.0f;

// The fields of a light slot, in the order they are sent; a point light sends
// the first six, a spot light all nine.
enum LightField {
    kFieldPosition,
    kFieldIntensity,
    kFieldCAttenuation,
    kFieldLAttenuation,
    kFieldQAttenuation,
    kFieldIsSpotlight,
    kFieldCosOuterCone,
    kFieldCosInnerCone,
    kFieldConeDirection,
    kLightFieldCount
};
// ".position", ".intensity" ... by LightField.
extern const char* const kLightFieldSuffixes[kLightFieldCount];

class Light {
public:
    Light(int index, const glm::vec3& position, const glm::vec3& intensity, float cAttenuation,
          float lAttenuation, float qAttenuation);
    virtual ~Light() = default;

    // Sends position, intensity, the three attenuation terms and isSpotlight 0
    // to the bound program.
    virtual void uploadUniforms(GLuint program);
    // The same values to locations already looked up for its slot, by LightField.
    virtual void uploadTo(const GLint* locations);
    // Distance to the point at most kLightRange (inclusive).
    virtual bool isInRange(float x, float y, float z);
    // Rebuilds the names for slot number i (nothing to do when they already carry it).
    virtual void setIndex(int i);
    // Euclidean distance from position to the point, in single precision.
    virtual float distanceTo(float x, float y, float z);

    glm::vec3 position;
    std::string positionName;
    std::string intensityName;
    glm::vec3 intensity;
    std::string cAttenuationName;
    float cAttenuation;
    std::string lAttenuationName;
    float lAttenuation;
    std::string qAttenuationName;
    float qAttenuation;
    std::string isSpotlightName;

protected:
    // The five values every light sends, before its kind.
    void uploadCommon(GLuint program);
    void uploadCommonTo(const GLint* locations);
    // Writes "light<i><suffix>" into name without allocating once the name has room.
    static void nameField(std::string& name, int i, LightField field);

    int namedSlot = -1;   // the slot number the names carry
};

class Spotlight : public Light {
public:
    Spotlight(int index, const glm::vec3& position, const glm::vec3& intensity, float cAttenuation,
              float lAttenuation, float qAttenuation, float cosOuterCone, float cosInnerCone,
              const glm::vec3& coneDirection);

    // The common values, the cone and isSpotlight 1.
    void uploadUniforms(GLuint program) override;
    void uploadTo(const GLint* locations) override;
    void setIndex(int i) override;

    std::string cosOuterConeName;
    float cosOuterCone;
    std::string cosInnerConeName;
    float cosInnerCone;
    std::string coneDirectionName;
    glm::vec3 coneDirection;
};

// "light<i><suffix>", e.g. lightUniformName(3, ".position") is "light3.position".
std::string lightUniformName(int index, const char* suffix);

} // namespace ruma::scene
