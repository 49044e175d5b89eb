// The sounds' common format.
#pragma once

namespace assetgen {

inline constexpr int kSampleRate = 44100;   // mono, 16-bit

} // namespace assetgen
