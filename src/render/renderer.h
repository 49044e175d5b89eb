// The scene pass: draws one render-list entry at a time with the object's own
// program, its texture (or the video), its material and the lamps near the
// point the camera looks at. Owns the frustum and the course's lights.
#pragma once

#include "render/camera_view.h"
#include "render/frustum.h"
#include "render/light.h"
#include "render/render_entry.h"

#include <string>
#include <utility>
#include <vector>

namespace ruma {

// Light slots a lit program declares ("light0" ... "light13").
constexpr int kMaxLights = 14;

struct Shader;

// What the renderer keeps of a program it draws with: the uniform locations,
// looked up once, and the lamp lights last sent to it, so objects that share
// the program do not send the same values again.
struct ProgramUniforms {
    GLuint program = 0;
    GLint mvp = -1;
    GLint model = -1;
    GLint cameraPosition = -1;
    GLint shininess = -1;
    GLint specularColor = -1;
    GLint colorTexture = -1;
    GLint lightFields[kMaxLights][scene::kLightFieldCount] = {};
    const scene::Light* sentLights[kMaxLights] = {};
    int sentCount = -1;   // none sent yet
    bool textureUnitSet = false;
};

// A lit program built for each number of lights in use, from the same files
// with LIGHT_SLOTS defined: the software renderer shades every declared slot
// of every pixel, lit or not, so slots beyond the selection are left out.
struct LightVariants {
    Shader* base = nullptr;
    Shader* byCount[kMaxLights + 1] = {};
};

class Renderer {
public:
    // The frustum (60 degrees, 0.1, 100) and the course's 19 lamps.
    Renderer();

    Frustum* frustum;
    int objectsDrawn;                    // entries drawn since the statistics last read it
    std::vector<scene::Light*> lights;   // creation order: spot, point, spot, point ...
    CameraView camera;                   // set by the frame composition before drawing

    void drawEntry(const RenderEntry& entry);
    // The order to draw the entries in (indices): the opaque ones first,
    // nearest to the camera first, so the depth test rejects what they hide
    // before it is shaded; then the transparent ones in list order, as they
    // blend over what is behind them. Refilled at every call.
    const std::vector<size_t>& drawingOrder(const std::vector<RenderEntry>& entries);
    // The lights within range of the point, at most kMaxLights in list order,
    // renamed for slots 0, 1, 2 ... The list is the renderer's own, refilled
    // at every call.
    const std::vector<scene::Light*>& selectLights(float x, float y, float z);
    // Objects drawn with `base` are drawn with the program built from these
    // files for the number of lights selected. All of them are built here,
    // while the game loads.
    void useLightVariants(Shader* base, const std::string& vertexPath, const std::string& fragmentPath);
    // The driver finishes a program for the state it is drawn in at its first
    // draw: a stall of a frame or more on a software renderer, better spent
    // while the controls picture shows than in play. These entries (one of
    // each texture and blending the lit objects are drawn with) are drawn
    // one at a time by warmUpStep with each light count's program, with
    // blending on and, for a transparent one, off (F9).
    void prepareWarmUp(const std::vector<RenderEntry>& entries);
    // Draws the next of those into the bound frame buffer; false when all are drawn.
    bool warmUpStep();
    // Sets counts[n] for each number of lights n that may be in range of
    // one point together (a superset: places near each other in pairs).
    void lightCountsPossible(bool (&counts)[kMaxLights + 1]) const;
    // One lamp: a spot light pointing down and a weak point light at the same place.
    void addLamp(float x, float y, float z, int spotIndex, int pointIndex);
    // Frees the frustum, the lights and the light variants' programs.
    void release();

private:
    ProgramUniforms& uniformsOf(GLuint program);
    GLuint programFor(Shader* shader, int lightCount);
    void drawLit(const RenderEntry& entry, const std::vector<scene::Light*>* chosen, bool section);
    void sendLights(ProgramUniforms& uniforms, const std::vector<scene::Light*>& chosen, bool clearRest);

    std::vector<scene::Light*> chosenLights;
    std::vector<std::pair<float, size_t>> entryOrder;
    std::vector<size_t> drawOrder;
    std::vector<ProgramUniforms> programs;
    std::vector<LightVariants> lightVariants;
    std::vector<int> variantCounts;   // the light counts with a program of their own
    std::vector<RenderEntry> warmEntries;
    size_t warmedSteps = 0;
};

} // namespace ruma
