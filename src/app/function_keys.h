// Function keys act once per press: each has a latch that is set when the key
// acts and cleared when the key is seen released.
#pragma once

namespace ruma {

// The latch of a function key (GLFW_KEY_F1 ... F9; F6 has none).
bool& keyLatch(int key);
// True when the key is held and its latch is clear; sets the latch then.
bool latchPress(int key);
// Clears, in the order F1 F2 F3 F4 F5 F7 F8 F9, the latch of every released key.
void releaseKeyLatches();
// Clears every latch (start-up).
void clearKeyLatches();

// The render-setting keys of play, F3 F4 F5 F7 F8 F9; each acts once per press and clicks.
void handleRenderSettingKeys();
// The notices of F4 and F5 go at the next refresh of the counters.
void expireSettingNotices();

} // namespace ruma
