#include "render/light.h"

#include <cmath>
#include <cstdio>

namespace ruma::scene {

const char* const kLightFieldSuffixes[kLightFieldCount] = {
    ".position",     ".intensity",    ".cAttenuation", ".lAttenuation", ".qAttenuation",
    ".isSpotlight",  ".cosOuterCone", ".cosInnerCone", ".coneDirection",
};

// Long enough for "light<number>.coneDirection": names are rebuilt whenever
// the selection moves, and must not reach the heap each time.
constexpr size_t kNameRoom = 40;

void Light::nameField(std::string& name, int i, LightField field)
{
    char text[kNameRoom];
    std::snprintf(text, sizeof text, "light%d%s", i, kLightFieldSuffixes[field]);
    name.assign(text);
}

std::string lightUniformName(int index, const char* suffix)
{
    return "light" + std::to_string(index) + suffix;
}

Light::Light(int index, const glm::vec3& position_, const glm::vec3& intensity_, float cAttenuation_,
             float lAttenuation_, float qAttenuation_)
    : position(position_),
      intensity(intensity_),
      cAttenuation(cAttenuation_),
      lAttenuation(lAttenuation_),
      qAttenuation(qAttenuation_)
{
    for (std::string* name : {&positionName, &intensityName, &cAttenuationName, &lAttenuationName,
                              &qAttenuationName, &isSpotlightName})
        name->reserve(kNameRoom);
    Light::setIndex(index);
}

void Light::setIndex(int i)
{
    if (i == namedSlot) return;
    nameField(positionName, i, kFieldPosition);
    nameField(intensityName, i, kFieldIntensity);
    nameField(cAttenuationName, i, kFieldCAttenuation);
    nameField(lAttenuationName, i, kFieldLAttenuation);
    nameField(qAttenuationName, i, kFieldQAttenuation);
    nameField(isSpotlightName, i, kFieldIsSpotlight);
    namedSlot = i;
}

void Light::uploadCommon(GLuint program)
{
    glUniform3f(glGetUniformLocation(program, positionName.c_str()), position.x, position.y, position.z);
    glUniform3f(glGetUniformLocation(program, intensityName.c_str()), intensity.x, intensity.y,
                intensity.z);
    glUniform1f(glGetUniformLocation(program, cAttenuationName.c_str()), cAttenuation);
    glUniform1f(glGetUniformLocation(program, lAttenuationName.c_str()), lAttenuation);
    glUniform1f(glGetUniformLocation(program, qAttenuationName.c_str()), qAttenuation);
}

void Light::uploadUniforms(GLuint program)
{
    uploadCommon(program);
    glUniform1i(glGetUniformLocation(program, isSpotlightName.c_str()), 0);
}

void Light::uploadCommonTo(const GLint* locations)
{
    glUniform3f(locations[kFieldPosition], position.x, position.y, position.z);
    glUniform3f(locations[kFieldIntensity], intensity.x, intensity.y, intensity.z);
    glUniform1f(locations[kFieldCAttenuation], cAttenuation);
    glUniform1f(locations[kFieldLAttenuation], lAttenuation);
    glUniform1f(locations[kFieldQAttenuation], qAttenuation);
}

void Light::uploadTo(const GLint* locations)
{
    uploadCommonTo(locations);
    glUniform1i(locations[kFieldIsSpotlight], 0);
}

bool Light::isInRange(float x, float y, float z) { return distanceTo(x, y, z) <= kLightRange; }

float Light::distanceTo(float x, float y, float z)
{
    float dx = position.x - x;
    float dy = position.y - y;
    float dz = position.z - z;
    float squared = dx * dx + dy * dy + dz * dz;
    return static_cast<float>(std::sqrt(static_cast<double>(squared)));
}

Spotlight::Spotlight(int index, const glm::vec3& position_, const glm::vec3& intensity_,
                     float cAttenuation_, float lAttenuation_, float qAttenuation_,
                     float cosOuterCone_, float cosInnerCone_, const glm::vec3& coneDirection_)
    : Light(index, position_, intensity_, cAttenuation_, lAttenuation_, qAttenuation_),
      cosOuterCone(cosOuterCone_),
      cosInnerCone(cosInnerCone_),
      coneDirection(coneDirection_)
{
    for (std::string* name : {&cosOuterConeName, &cosInnerConeName, &coneDirectionName}) name->reserve(kNameRoom);
    namedSlot = -1;
    Spotlight::setIndex(index);
}

void Spotlight::setIndex(int i)
{
    if (i == namedSlot) return;
    Light::setIndex(i);
    nameField(cosOuterConeName, i, kFieldCosOuterCone);
    nameField(cosInnerConeName, i, kFieldCosInnerCone);
    nameField(coneDirectionName, i, kFieldConeDirection);
}

void Spotlight::uploadUniforms(GLuint program)
{
    uploadCommon(program);
    glUniform1f(glGetUniformLocation(program, cosOuterConeName.c_str()), cosOuterCone);
    glUniform1f(glGetUniformLocation(program, cosInnerConeName.c_str()), cosInnerCone);
    glUniform3f(glGetUniformLocation(program, coneDirectionName.c_str()), coneDirection.x,
                coneDirection.y, coneDirection.z);
    glUniform1i(glGetUniformLocation(program, isSpotlightName.c_str()), 1);
}

void Spotlight::uploadTo(const GLint* locations)
{
    uploadCommonTo(locations);
    glUniform1f(locations[kFieldCosOuterCone], cosOuterCone);
    glUniform1f(locations[kFieldCosInnerCone], cosInnerCone);
    glUniform3f(locations[kFieldConeDirection], coneDirection.x, coneDirection.y, coneDirection.z);
    glUniform1i(locations[kFieldIsSpotlight], 1);
}

} // namespace ruma::scene
