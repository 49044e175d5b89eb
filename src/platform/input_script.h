// Input scripts: a run's keys, mouse motion, focus and frame times as text.
//
//   dt 0.016667            frame time of the frames that follow (default 1/60 s)
//   wait 30                30 frames with nothing held
//   hold 60 W A            60 frames with W and A held
//   hold 60 W look 4 0     ... while the mouse moves 4 px right per frame
//   look -10 0 [frames]    mouse motion with no key held
//   tap F1                 F1 held for one frame, then one frame released
//   focus off | on         window focus of the frames that follow
//   pad 0 -1 0.5 0 A RT    gamepad of the frames that follow: left stick x y, right
//                          stick x y (y grows downwards), buttons held (A START BACK RT);
//                          "pad" alone puts it at rest
//   shot out.png           save the picture of the frame scripted last
//   resize 1 1             the window is resized (as by a window manager) before the next frame
//   memory                 print the resident memory after the frame scripted last
//   # comment
//
// The journal of a live run is written in the same language, one frame per line.
#pragma once

#include "platform/pad_state.h"

#include <functional>
#include <istream>
#include <ostream>
#include <string>
#include <vector>

namespace ruma {

struct FrameInput {
    double dt = 1.0 / 60.0;     // time this frame adds to the clock
    std::vector<int> keys;      // GLFW key codes held during the frame
    double cursorDx = 0.0;      // mouse motion that arrives with the frame
    double cursorDy = 0.0;
    bool focused = true;
    PadState pad;
    std::string screenshot;     // save the frame's picture here when not empty
    int resizeWidth = -1;       // the window is resized to this before the frame when >= 0
    int resizeHeight = -1;
    bool reportMemory = false;  // print the resident memory after the frame
};

// What a real run can produce; a script beyond these limits is a mistake, and
// values past them would break the picture for the rest of the run.
constexpr long kMaxScriptFrames = 1000000;   // over four hours at 60 frames a second
constexpr double kMinFrameTime = 1e-5;       // seconds
constexpr double kMaxFrameTime = 3600.0;   // a frame held up for an hour (a suspended laptop)
constexpr double kMaxLook = 65536.0;         // pixels of mouse motion in one frame

// Reads one whole word as a finite number within [low, high].
bool readNumber(std::istream& words, double& value, double low, double high);
// At most a short, printable part of text, for quoting a bad line back.
std::string excerpt(const std::string& text);
// The first line of every journal.
extern const char* const kJournalHeader;

// Parses a script. On a syntax error returns false and sets error to
// "line N: what".
bool parseInputScript(std::istream& in, std::vector<FrameInput>& frames, std::string& error);
// A journal whose last line was cut off (the recording run was killed or the
// disk filled) plays up to the last whole line and says so on standard error.
bool loadInputScript(const std::string& path, std::vector<FrameInput>& frames, std::string& error);

// Opens a script file (an input script, an autopilot route) and hands it to
// parse; a file that cannot be read fails with error "cannot open PATH: reason",
// e.g. "cannot open runs: is a directory", a parse error with "PATH: error".
bool parseScriptFile(const std::string& path, std::string& error, const std::function<bool(std::istream&)>& parse);

// GLFW key code for a name such as "W", "SPACE", "F1", "ESC"; -1 if unknown.
int keyCodeFromName(const std::string& name);
// Name for a key code, as keyCodeFromName reads it back.
std::string keyName(int key);

// The journal lines for a frame: the frame time, focus and pad when they
// differ from the previous frame's, then the frame itself.
void writeFrame(std::ostream& out, const FrameInput& frame, const FrameInput& previous);

} // namespace ruma
