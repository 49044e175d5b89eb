#include "render/light.h"

#include <cmath>

namespace ruma::scene {

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
    Light::setIndex(index);
}

void Light::setIndex(int i)
{
    positionName = lightUniformName(i, ".position");
    intensityName = lightUniformName(i, ".intensity");
    cAttenuationName = lightUniformName(i, ".cAttenuation");
    lAttenuationName = lightUniformName(i, ".lAttenuation");
    qAttenuationName = lightUniformName(i, ".qAttenuation");
    isSpotlightName = lightUniformName(i, ".isSpotlight");
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
    Spotlight::setIndex(index);
}

void Spotlight::setIndex(int i)
{
    Light::setIndex(i);
    cosOuterConeName = lightUniformName(i, ".cosOuterCone");
    cosInnerConeName = lightUniformName(i, ".cosInnerCone");
    coneDirectionName = lightUniformName(i, ".coneDirection");
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

} // namespace ruma::scene
