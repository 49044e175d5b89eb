#include "render/renderer.h"

#include "render/drawable.h"
#include "render/lamps.h"
#include "render/render_settings.h"
#include "render/shader.h"
#include "render/texture.h"
#include "render/video_texture.h"

#include <glm/gtc/type_ptr.hpp>

#include <cmath>

namespace ruma {

Renderer::Renderer() : frustum(nullptr), objectsDrawn(0)
{
    frustum = new Frustum(60.0f, 0.1f, 100.0f);
    int k = 0;
    for (const LampPlace& lamp : kLamps) {
        addLamp(lamp.x, lamp.y, lamp.z, 2 * k, 2 * k + 1);
        ++k;
    }
}

void Renderer::addLamp(float x, float y, float z, int spotIndex, int pointIndex)
{
    const glm::vec3 place(x, y, z);
    lights.push_back(new scene::Spotlight(spotIndex, place, glm::vec3(1.0f, 1.0f, 0.92f), 1.0f, 0.1f,
                                          0.05f, std::cos(0.5235988f), std::cos(0.4363323f),
                                          glm::vec3(0.0f, -1.0f, 0.0f)));
    lights.push_back(new scene::Light(pointIndex, place, glm::vec3(0.25f), 1.0f, 0.4f, 0.2f));
}

std::vector<scene::Light*> Renderer::selectLights(float x, float y, float z)
{
    std::vector<scene::Light*> chosen;
    for (scene::Light* light : lights) {
        if (static_cast<int>(chosen.size()) >= kMaxLights) break;
        if (light->isInRange(x, y, z)) chosen.push_back(light);
    }
    for (size_t i = 0; i < chosen.size(); ++i) chosen[i]->setIndex(static_cast<int>(i));
    return chosen;
}

void clearUnusedLightSlots(GLuint program, int firstUnused)
{
    for (int i = firstUnused; i < kMaxLights; ++i) {
        glUniform3f(glGetUniformLocation(program, scene::lightUniformName(i, ".intensity").c_str()),
                    0.0f, 0.0f, 0.0f);
        glUniform1i(glGetUniformLocation(program, scene::lightUniformName(i, ".isSpotlight").c_str()),
                    0);
    }
}

void Renderer::drawEntry(const RenderEntry& entry)
{
    Drawable* object = entry.object;
    // Only the course's sections are big enough to be worth testing.
    if (frustumCulling && object->getName() == "Level" &&
        !frustum->sectionInView(object->meshRecords()))
        return;

    ++objectsDrawn;

    const glm::mat4& model = object->modelMatrix();
    glm::mat4 mvp = camera.projection * camera.view * model;
    GLuint program = object->getShader()->program;
    glUseProgram(program);
    glUniformMatrix4fv(glGetUniformLocation(program, "MVP"), 1, GL_FALSE, glm::value_ptr(mvp));

    if (!object->isUnlit()) {
        glUniformMatrix4fv(glGetUniformLocation(program, "model"), 1, GL_FALSE, glm::value_ptr(model));
        glUniform3f(glGetUniformLocation(program, "cameraPosition"), camera.cameraPosition.x,
                    camera.cameraPosition.y, camera.cameraPosition.z);
        glUniform1f(glGetUniformLocation(program, "shininess"), entry.shininess);
        glUniform3f(glGetUniformLocation(program, "specularColor"), entry.specularColor.x,
                    entry.specularColor.y, entry.specularColor.z);
        std::vector<scene::Light*> chosen = selectLights(camera.lookAt.x, camera.lookAt.y, camera.lookAt.z);
        for (scene::Light* light : chosen) light->uploadUniforms(program);
        clearUnusedLightSlots(program, static_cast<int>(chosen.size()));
    }

    glActiveTexture(GL_TEXTURE0);
    if (entry.hasVideo && entry.videoTexture) {
        glBindTexture(GL_TEXTURE_2D, entry.videoTexture->handle);
        entry.videoTexture->upload();
    } else {
        glBindTexture(GL_TEXTURE_2D, entry.texture ? entry.texture->handle : 0);
    }
    glUniform1i(glGetUniformLocation(program, "colorTexture"), 0);

    if (transparency && object->isTransparent()) {
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        object->draw();
        glDisable(GL_BLEND);
    } else {
        object->draw();
    }
    glUseProgram(0);
}

void Renderer::release()
{
    delete frustum;
    frustum = nullptr;
    for (scene::Light* light : lights) delete light;
    lights.clear();
}

} // namespace ruma
