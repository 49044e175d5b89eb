// The answers to the start-up questions that shape the world. Start-up sets
// them before the world is built.
#pragma once

namespace ruma {

// Second question: the high-resolution course files.
extern bool highResTextures;
// Third question: the losing rules are off, Space flies, Left Shift boosts.
extern bool godMode;

} // namespace ruma
