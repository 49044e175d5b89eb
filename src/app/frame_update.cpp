#include "app/frame_loop.h"
#include "app/function_keys.h"
#include "app/startup.h"
#include "platform/platform.h"
#include "render/gl_error.h"

namespace ruma {

void updateFrame(double dt)
{
    keepAspect();
    updateCounters(dt);
    if (platform().hasFocus()) {
        releaseKeyLatches();
    }
    checkGlError(221);
}

} // namespace ruma
