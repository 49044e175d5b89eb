// What a gamepad with a standard mapping reports in one frame. No pad reads
// as a pad at rest, so unplugging one mid-run simply stops its input.
#pragma once

namespace ruma {

// The buttons the game listens to, as bits of PadState::buttons.
enum PadButton : unsigned {
    kPadA = 1u << 0,
    kPadStart = 1u << 1,
    kPadBack = 1u << 2,
    kPadRightTrigger = 1u << 3,   // the trigger pulled more than halfway
};

struct PadState {
    // Stick axes from -1 to 1; x grows to the right, y grows downwards (toward the player).
    float leftX = 0.0f, leftY = 0.0f;
    float rightX = 0.0f, rightY = 0.0f;
    unsigned buttons = 0;

    bool held(PadButton button) const { return (buttons & button) != 0; }
    bool operator==(const PadState& o) const
    {
        return leftX == o.leftX && leftY == o.leftY && rightX == o.rightX && rightY == o.rightY &&
               buttons == o.buttons;
    }
    bool operator!=(const PadState& o) const { return !(*this == o); }
};

} // namespace ruma
