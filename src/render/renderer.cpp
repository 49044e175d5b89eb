#include "render/renderer.h"

#include "places/lamps.h"
#include "render/draw_stats.h"
#include "render/drawable.h"
#include "render/render_settings.h"
#include "render/shader.h"
#include "render/texture.h"
#include "render/video_texture.h"

#include <glm/gtc/type_ptr.hpp>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

namespace ruma {

Renderer::Renderer() : frustum(nullptr), objectsDrawn(0)
{
    chosenLights.reserve(kMaxLights);
    programs.reserve(32);
    entryOrder.reserve(64);
    drawOrder.reserve(64);
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

const std::vector<scene::Light*>& Renderer::selectLights(float x, float y, float z)
{
    chosenLights.clear();
    for (scene::Light* light : lights) {
        if (static_cast<int>(chosenLights.size()) >= kMaxLights) break;
        if (light->isInRange(x, y, z)) chosenLights.push_back(light);
    }
    for (size_t i = 0; i < chosenLights.size(); ++i) chosenLights[i]->setIndex(static_cast<int>(i));
    return chosenLights;
}

namespace {

// The objects' vertex arrays hold their attributes where the base program
// has them; a variant must read them from the same places.
void matchAttributeLocations(GLuint base, GLuint variant)
{
    bool relink = false;
    for (const char* name : {"position", "normal", "uv"}) {
        const GLint wanted = glGetAttribLocation(base, name);
        if (wanted >= 0 && glGetAttribLocation(variant, name) != wanted) {
            glBindAttribLocation(variant, static_cast<GLuint>(wanted), name);
            relink = true;
        }
    }
    if (relink) glLinkProgram(variant);
}

} // namespace

namespace {

// Lights at one place, all in range of a point or all out of it.
struct LightPlace {
    glm::vec3 place;
    int lights;
};

// Adds to `counts` the number of lights of every set of places, grown from
// `chosen` by places after `next`, that lie within twice the range of one
// another: no point can have lights of places farther apart in range together.
void addCountsOfNearPlaces(const std::vector<LightPlace>& places, std::vector<int>& chosen, size_t next, int lights,
                           bool (&counts)[kMaxLights + 1])
{
    counts[std::min(lights, kMaxLights)] = true;
    for (size_t i = next; i < places.size(); ++i) {
        bool near = true;
        for (int other : chosen)
            near = near && glm::length(places[i].place - places[other].place) <= 2.0f * scene::kLightRange + 1e-3f;
        if (!near) continue;
        chosen.push_back(static_cast<int>(i));
        addCountsOfNearPlaces(places, chosen, i + 1, lights + places[i].lights, counts);
        chosen.pop_back();
    }
}

} // namespace

void Renderer::lightCountsPossible(bool (&counts)[kMaxLights + 1]) const
{
    std::vector<LightPlace> places;
    for (const scene::Light* light : lights) {
        auto same = std::find_if(places.begin(), places.end(),
                                 [&](const LightPlace& known) { return known.place == light->position; });
        if (same == places.end()) places.push_back({light->position, 1});
        else ++same->lights;
    }
    std::fill(std::begin(counts), std::end(counts), false);
    std::vector<int> chosen;
    addCountsOfNearPlaces(places, chosen, 0, 0, counts);
}

void Renderer::useLightVariants(Shader* base, const std::string& vertexPath, const std::string& fragmentPath)
{
    LightVariants variants;
    variants.base = base;
    // A lamp is a spot and a point light at one place, and no more than four
    // of the course's lamps lie within twice the range of one another: five
    // programs (0, 2, 4, 6 and 8 lights), not fifteen.
    bool possible[kMaxLights + 1];
    lightCountsPossible(possible);
    variantCounts.clear();
    for (int count = 0; count <= kMaxLights; ++count) {
        if (!possible[count]) continue;
        variantCounts.push_back(count);
        variants.byCount[count] =
            new Shader(vertexPath, fragmentPath, "#define LIGHT_SLOTS " + std::to_string(count) + "\n");
        matchAttributeLocations(base->program, variants.byCount[count]->program);
        // The uniforms are looked up now too: a frame of play only finds them.
        uniformsOf(variants.byCount[count]->program);
    }
    lightVariants.push_back(variants);
}

GLuint Renderer::programFor(Shader* shader, int lightCount)
{
    // A count without a program of its own (none is, with lights added as
    // lamps) is drawn by the base program, which clears the slots it leaves.
    for (const LightVariants& variants : lightVariants)
        if (variants.base == shader && variants.byCount[lightCount]) return variants.byCount[lightCount]->program;
    return shader->program;
}

ProgramUniforms& Renderer::uniformsOf(GLuint program)
{
    for (ProgramUniforms& known : programs)
        if (known.program == program) return known;
    ProgramUniforms uniforms;
    uniforms.program = program;
    uniforms.mvp = glGetUniformLocation(program, "MVP");
    uniforms.model = glGetUniformLocation(program, "model");
    uniforms.cameraPosition = glGetUniformLocation(program, "cameraPosition");
    uniforms.shininess = glGetUniformLocation(program, "shininess");
    uniforms.specularColor = glGetUniformLocation(program, "specularColor");
    uniforms.colorTexture = glGetUniformLocation(program, "colorTexture");
    for (int i = 0; i < kMaxLights; ++i)
        for (int field = 0; field < scene::kLightFieldCount; ++field)
            uniforms.lightFields[i][field] = glGetUniformLocation(
                program, scene::lightUniformName(i, scene::kLightFieldSuffixes[field]).c_str());
    programs.push_back(uniforms);
    return programs.back();
}

void Renderer::sendLights(ProgramUniforms& uniforms, const std::vector<scene::Light*>& chosen, bool clearRest)
{
    const int count = static_cast<int>(chosen.size());
    // Lights never move or change: the same lights in the same slots are
    // already in the program.
    if (count == uniforms.sentCount && std::equal(chosen.begin(), chosen.end(), uniforms.sentLights)) return;
    for (int i = 0; i < count; ++i) {
        chosen[i]->uploadTo(uniforms.lightFields[i]);
        uniforms.sentLights[i] = chosen[i];
    }
    // A lamp left behind must stop lighting the object: its slot is turned off.
    if (clearRest)
        for (int i = count; i < kMaxLights; ++i) {
            glUniform3f(uniforms.lightFields[i][scene::kFieldIntensity], 0.0f, 0.0f, 0.0f);
            glUniform1i(uniforms.lightFields[i][scene::kFieldIsSpotlight], 0);
        }
    uniforms.sentCount = count;
}

void Renderer::drawEntry(const RenderEntry& entry)
{
    Drawable* object = entry.object;
    // Only the course's sections are big enough to be worth testing.
    const bool section = object->kind == DrawableKind::CourseSection;
    if (frustumCulling && section && !frustum->sectionInView(object->meshRecords())) return;

    ++objectsDrawn;
    drawLit(entry, object->isUnlit() ? nullptr : &selectLights(camera.lookAt.x, camera.lookAt.y, camera.lookAt.z),
            section);
}

void Renderer::prepareWarmUp(const std::vector<RenderEntry>& entries)
{
    warmEntries = entries;
    warmedSteps = 0;
}

bool Renderer::warmUpStep()
{
    // Play as it starts (transparency on) first, every light count; then F9's blending off.
    const size_t perPass = variantCounts.size() * warmEntries.size();
    while (warmedSteps < 2 * perPass) {
        const size_t step = warmedSteps++;
        const bool blendingOff = step >= perPass;
        const size_t count = static_cast<size_t>(variantCounts[step % perPass / warmEntries.size()]);
        const RenderEntry& entry = warmEntries[step % warmEntries.size()];
        if (entry.object->isUnlit() || (blendingOff && !entry.object->isTransparent())) continue;
        chosenLights.assign(lights.begin(), lights.begin() + static_cast<long>(std::min(count, lights.size())));
        for (size_t i = 0; i < chosenLights.size(); ++i) chosenLights[i]->setIndex(static_cast<int>(i));
        const bool kept = transparency;
        transparency = !blendingOff;
        drawLit(entry, &chosenLights, false);
        transparency = kept;
        ++warmUpDrawCount;
        return true;
    }
    return false;
}

// Draws the entry with its own program, lit by the chosen lights (null for an unlit object).
void Renderer::drawLit(const RenderEntry& entry, const std::vector<scene::Light*>* chosen, bool section)
{
    Drawable* object = entry.object;
    const glm::mat4& model = object->modelMatrix();
    glm::mat4 mvp = camera.projection * camera.view * model;
    const bool lit = chosen != nullptr;
    Shader* shader = object->getShader();
    const GLuint program = lit ? programFor(shader, static_cast<int>(chosen->size())) : shader->program;
    ProgramUniforms& uniforms = uniformsOf(program);
    glUseProgram(program);
    glUniformMatrix4fv(uniforms.mvp, 1, GL_FALSE, glm::value_ptr(mvp));

    if (lit) {
        glUniformMatrix4fv(uniforms.model, 1, GL_FALSE, glm::value_ptr(model));
        glUniform3f(uniforms.cameraPosition, camera.cameraPosition.x, camera.cameraPosition.y,
                    camera.cameraPosition.z);
        glUniform1f(uniforms.shininess, entry.shininess);
        glUniform3f(uniforms.specularColor, entry.specularColor.x, entry.specularColor.y, entry.specularColor.z);
        // A program built for exactly the selected lights has no other slots to clear.
        sendLights(uniforms, *chosen, program == shader->program);
    }

    glActiveTexture(GL_TEXTURE0);
    if (entry.hasVideo && entry.videoTexture) {
        glBindTexture(GL_TEXTURE_2D, entry.videoTexture->handle);
        entry.videoTexture->upload();
    } else {
        glBindTexture(GL_TEXTURE_2D, entry.texture ? entry.texture->handle : 0);
    }
    if (!uniforms.textureUnitSet) {
        glUniform1i(uniforms.colorTexture, 0);
        uniforms.textureUnitSet = true;
    }

    if (transparency && object->isTransparent()) {
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        object->draw();
        glDisable(GL_BLEND);
    } else {
        // A drawn section's meshes out of view would only be clipped away.
        object->drawNearestFirst(camera.cameraPosition, frustumCulling && section ? frustum : nullptr);
    }
    glUseProgram(0);
}

namespace {

// How far the entry is from the eye: a course section by its nearest mesh
// box, anything else (its boxes stay where it was loaded) by its origin.
float squaredDistanceToEntry(Drawable& object, const glm::vec3& eye)
{
    if (object.kind != DrawableKind::CourseSection) {
        const glm::vec3 offset = glm::vec3(object.modelMatrix()[3]) - eye;
        return offset.x * offset.x + offset.y * offset.y + offset.z * offset.z;
    }
    float nearest = std::numeric_limits<float>::max();
    for (const MeshRecord& mesh : object.meshRecords()) nearest = std::min(nearest, squaredDistanceToBox(mesh, eye));
    return nearest;
}

} // namespace

const std::vector<size_t>& Renderer::drawingOrder(const std::vector<RenderEntry>& entries)
{
    entryOrder.clear();
    for (size_t i = 0; i < entries.size(); ++i)
        if (!entries[i].object->isTransparent())
            entryOrder.emplace_back(squaredDistanceToEntry(*entries[i].object, camera.cameraPosition), i);
    std::sort(entryOrder.begin(), entryOrder.end());
    drawOrder.clear();
    for (const auto& [distance, i] : entryOrder) drawOrder.push_back(i);
    for (size_t i = 0; i < entries.size(); ++i)
        if (entries[i].object->isTransparent()) drawOrder.push_back(i);
    return drawOrder;
}

void Renderer::release()
{
    for (LightVariants& variants : lightVariants)
        for (Shader*& variant : variants.byCount) deleteShader(variant);
    lightVariants.clear();
    programs.clear();
    warmEntries.clear();
    delete frustum;
    frustum = nullptr;
    for (scene::Light* light : lights) delete light;
    lights.clear();
}

} // namespace ruma
