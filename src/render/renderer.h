// The scene pass: draws one render-list entry at a time with the object's own
// program, its texture (or the video), its material and the lamps near the
// point the camera looks at. Owns the frustum and the course's lights.
#pragma once

#include "render/camera_view.h"
#include "render/frustum.h"
#include "render/light.h"
#include "render/render_entry.h"

#include <vector>

namespace ruma {

// Light slots a lit program declares ("light0" ... "light13").
constexpr int kMaxLights = 14;

class Renderer {
public:
    // The frustum (60 degrees, 0.1, 100) and the course's 19 lamps.
    Renderer();

    Frustum* frustum;
    int objectsDrawn;                    // entries drawn since the statistics last read it
    std::vector<scene::Light*> lights;   // creation order: spot, point, spot, point ...
    CameraView camera;                   // set by the frame composition before drawing

    void drawEntry(const RenderEntry& entry);
    // The lights within range of the point, at most kMaxLights in list order,
    // renamed for slots 0, 1, 2 ...
    std::vector<scene::Light*> selectLights(float x, float y, float z);
    // One lamp: a spot light pointing down and a weak point light at the same place.
    void addLamp(float x, float y, float z, int spotIndex, int pointIndex);
    // Frees the frustum and the lights.
    void release();
};

// Turns off the light slots from firstUnused up in the bound program, so an
// object that has left a lamp behind is no longer lit by it.
void clearUnusedLightSlots(GLuint program, int firstUnused);

} // namespace ruma
