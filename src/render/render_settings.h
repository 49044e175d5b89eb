// The player's render settings (function keys F2-F5, F8, F9) and the HUD
// lines that report them. The frame composition owns them; they live here
// because the renderer, the culling and the texture filters read them.
#pragma once

namespace ruma {

extern bool wireframe;          // F3: polygons as lines, motion blur bypassed
extern bool transparency;       // F9: blending of transparent objects
extern bool frustumCulling;     // F8: culling of level sections outside the view
extern int textureSampling;     // F4: 0 NearestNeighbor, 1 Bilinear
extern int mipmapQuality;       // F5: 0 Off, 1 NearestNeighbor, 2 Linear
extern bool samplingChanged;    // a filter change waits to be applied this frame
extern bool mipmapChanged;
extern bool showSamplingLine;   // HUD line for the sampling mode is visible
extern bool showMipmapLine;     // HUD line for the mip-mapping mode is visible
extern bool showStats;          // F2: HUD statistics lines

// Back to the start values (for tests).
void resetRenderSettings();

} // namespace ruma
