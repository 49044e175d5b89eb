#include "render/render_settings.h"

namespace ruma {

bool wireframe = false;
bool transparency = true;
bool frustumCulling = true;
int textureSampling = 1;
int mipmapQuality = 2;
bool samplingChanged = false;
bool mipmapChanged = false;
bool showSamplingLine = false;
bool showMipmapLine = false;
bool showStats = false;

void resetRenderSettings()
{
    wireframe = false;
    transparency = true;
    frustumCulling = true;
    textureSampling = 1;
    mipmapQuality = 2;
    samplingChanged = mipmapChanged = false;
    showSamplingLine = showMipmapLine = false;
    showStats = false;
}

} // namespace ruma
