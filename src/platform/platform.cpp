#include "platform/platform.h"

#include <cassert>

namespace ruma {

namespace {
Platform* current = nullptr;
}

Platform& platform()
{
    assert(current && "no platform installed");
    return *current;
}

void setPlatform(Platform* p) { current = p; }

bool hasPlatform() { return current != nullptr; }

} // namespace ruma
