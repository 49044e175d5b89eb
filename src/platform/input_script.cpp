#include "platform/input_script.h"

#include "platform/file_read.h"
#include "platform/platform.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <sstream>

namespace ruma {

const char* const kJournalHeader = "# journal of a live run of tovik3d; replay with --script";

namespace {

const std::map<std::string, int>& keyTable()
{
    static const std::map<std::string, int> table = [] {
        std::map<std::string, int> t;
        for (char c = 'A'; c <= 'Z'; ++c) t[std::string(1, c)] = GLFW_KEY_A + (c - 'A');
        for (char c = '0'; c <= '9'; ++c) t[std::string(1, c)] = GLFW_KEY_0 + (c - '0');
        for (int f = 1; f <= 12; ++f) t["F" + std::to_string(f)] = GLFW_KEY_F1 + f - 1;
        t["SPACE"] = GLFW_KEY_SPACE;
        t["ESC"] = GLFW_KEY_ESCAPE;
        t["ENTER"] = GLFW_KEY_ENTER;
        t["LSHIFT"] = GLFW_KEY_LEFT_SHIFT;
        t["RSHIFT"] = GLFW_KEY_RIGHT_SHIFT;
        t["TAB"] = GLFW_KEY_TAB;
        t["UP"] = GLFW_KEY_UP;
        t["DOWN"] = GLFW_KEY_DOWN;
        t["LEFT"] = GLFW_KEY_LEFT;
        t["RIGHT"] = GLFW_KEY_RIGHT;
        return t;
    }();
    return table;
}

std::string upper(std::string s)
{
    for (auto& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

constexpr std::pair<const char*, PadButton> kPadButtonNames[] = {
    {"A", kPadA}, {"START", kPadStart}, {"BACK", kPadBack}, {"RT", kPadRightTrigger}};

bool readPad(std::istringstream& words, PadState& pad)
{
    pad = PadState{};
    double axes[4];
    int read = 0;
    while (read < 4 && words >> axes[read]) ++read;
    if (read != 0 && read != 4) return false;
    for (int i = 0; i < read; ++i)
        if (!(std::fabs(axes[i]) <= 1.0)) return false;   // a stick reads from -1 to 1; NaN fails too
    if (read == 4) {
        pad.leftX = float(axes[0]);
        pad.leftY = float(axes[1]);
        pad.rightX = float(axes[2]);
        pad.rightY = float(axes[3]);
    }
    words.clear();
    std::string word;
    while (words >> word) {
        bool known = false;
        for (const auto& [name, button] : kPadButtonNames)
            if (upper(word) == name) {
                pad.buttons |= button;
                known = true;
            }
        if (!known) return false;
    }
    return true;
}

// A whole word as a number (so "1e5" or "3x" are not read as 1 and 3).
bool readDouble(std::istream& words, double& value)
{
    std::string word;
    if (!(words >> word)) return false;
    char* end = nullptr;
    errno = 0;
    value = std::strtod(word.c_str(), &end);
    return *end == '\0' && errno != ERANGE;
}

bool readCount(std::istream& words, long& count)
{
    double value = 0.0;
    if (!readNumber(words, value, 0.0, kMaxScriptFrames) || value != std::floor(value)) return false;
    count = static_cast<long>(value);
    return true;
}

} // namespace

bool readNumber(std::istream& words, double& value, double low, double high)
{
    return readDouble(words, value) && std::isfinite(value) && value >= low && value <= high;
}

std::string excerpt(const std::string& text)
{
    constexpr size_t kLongest = 32;
    std::string shown;
    for (size_t i = 0; i < text.size() && i < kLongest; ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        shown.push_back(c >= 0x20 && c < 0x7f ? static_cast<char>(c) : '?');
    }
    if (text.size() > kLongest) shown += "...";
    return shown;
}

int keyCodeFromName(const std::string& name)
{
    auto it = keyTable().find(upper(name));
    return it == keyTable().end() ? -1 : it->second;
}

std::string keyName(int key)
{
    for (const auto& [name, code] : keyTable())
        if (code == key) return name;
    return "KEY" + std::to_string(key);
}

namespace {

std::string formatLimit(double value)
{
    std::ostringstream out;
    out << value;
    return out.str();
}

const std::string kLookNeeds = "look needs dx dy, each within " + formatLimit(kMaxLook) + " pixels";
const std::string kCountNeeds = "needs a frame count up to " + std::to_string(kMaxScriptFrames);
const std::string kTooLong = "the script is longer than " + std::to_string(kMaxScriptFrames) + " frames";
constexpr double kMaxWindowSide = 16384.0;

} // namespace

bool parseInputScript(std::istream& in, std::vector<FrameInput>& frames, std::string& error)
{
    double dt = 1.0 / 60.0;
    bool focused = true;
    PadState pad;
    std::string pendingShot;
    std::pair<int, int> pendingResize{-1, -1};
    std::string line;
    int lineNumber = 0;

    auto fail = [&](const std::string& what) {
        error = "line " + std::to_string(lineNumber) + ": " + what;
        return false;
    };
    auto readLook = [](std::istream& words, FrameInput& frame) {
        return readNumber(words, frame.cursorDx, -kMaxLook, kMaxLook) &&
               readNumber(words, frame.cursorDy, -kMaxLook, kMaxLook);
    };
    auto push = [&](FrameInput frame) {
        frame.dt = dt;
        frame.focused = focused;
        frame.pad = pad;
        if (!pendingShot.empty()) {
            frame.screenshot = pendingShot;
            pendingShot.clear();
        }
        frame.resizeWidth = pendingResize.first;
        frame.resizeHeight = pendingResize.second;
        pendingResize = {-1, -1};
        frames.push_back(std::move(frame));
    };

    while (std::getline(in, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        auto hash = line.find('#');
        if (hash != std::string::npos) line.erase(hash);
        std::istringstream words(line);
        std::string command;
        if (!(words >> command)) continue;

        if (command == "dt") {
            if (!readNumber(words, dt, kMinFrameTime, kMaxFrameTime))
                return fail("dt needs a frame time from " + formatLimit(kMinFrameTime) + " to " +
                            formatLimit(kMaxFrameTime) + " seconds");
        } else if (command == "focus") {
            std::string value;
            words >> value;
            if (value == "on") focused = true;
            else if (value == "off") focused = false;
            else return fail("focus takes on or off");
        } else if (command == "pad") {
            if (!readPad(words, pad)) return fail("pad takes four stick axes and the buttons held (A START BACK RT)");
        } else if (command == "memory") {
            if (frames.empty()) return fail("memory needs a frame before it");
            frames.back().reportMemory = true;
        } else if (command == "shot") {
            std::string path;
            if (!(words >> path)) return fail("shot needs a path");
            // The picture of the frame scripted last; before any frame, of the first.
            if (frames.empty()) pendingShot = path;
            else frames.back().screenshot = path;
        } else if (command == "wait" || command == "hold" || command == "look") {
            FrameInput frame;
            long count = 1;
            if (command == "look") {
                if (!readLook(words, frame)) return fail(kLookNeeds);
                std::string rest;
                if (words >> std::ws && !words.eof() && !readCount(words, count))
                    return fail("look " + kCountNeeds);
                if (words >> rest) return fail("look takes dx dy and a frame count");
            } else {
                if (!readCount(words, count)) return fail(command + " " + kCountNeeds);
                std::string word;
                while (words >> word) {
                    if (word == "look") {
                        if (!readLook(words, frame)) return fail(kLookNeeds);
                        continue;
                    }
                    if (command == "wait") return fail("wait takes no keys");
                    int key = keyCodeFromName(word);
                    if (key < 0) return fail("unknown key " + excerpt(word));
                    frame.keys.push_back(key);
                }
            }
            if (count > kMaxScriptFrames - static_cast<long>(frames.size())) return fail(kTooLong);
            for (long i = 0; i < count; ++i) push(frame);
        } else if (command == "tap") {
            FrameInput frame;
            std::string word;
            while (words >> word) {
                int key = keyCodeFromName(word);
                if (key < 0) return fail("unknown key " + excerpt(word));
                frame.keys.push_back(key);
            }
            if (frame.keys.empty()) return fail("tap needs a key");
            if (frames.size() + 2 > static_cast<size_t>(kMaxScriptFrames)) return fail(kTooLong);
            push(frame);
            push(FrameInput{});
        } else if (command == "resize") {
            double width = 0.0, height = 0.0;
            if (!readNumber(words, width, 0.0, kMaxWindowSide) || !readNumber(words, height, 0.0, kMaxWindowSide))
                return fail("resize needs a width and a height up to " + formatLimit(kMaxWindowSide) + " pixels");
            pendingResize = {static_cast<int>(width), static_cast<int>(height)};
        } else {
            return fail("unknown command " + excerpt(command));
        }
    }
    return true;
}

bool parseScriptFile(const std::string& path, std::string& error, const std::function<bool(std::istream&)>& parse)
{
    std::string text, reason;
    if (!readWholeFile(path, text, &reason)) {
        error = "cannot open " + path + ": " + reason;
        return false;
    }
    std::istringstream in(text);
    if (parse(in)) return true;
    error = path + ": " + error;
    return false;
}

bool loadInputScript(const std::string& path, std::vector<FrameInput>& frames, std::string& error)
{
    return parseScriptFile(path, error, [&](std::istream& in) {
        std::string text(std::istreambuf_iterator<char>(in), {});
        if (text.compare(0, std::string(kJournalHeader).size(), kJournalHeader) == 0 && !text.empty() &&
            text.back() != '\n') {
            size_t end = text.rfind('\n');
            text.erase(end == std::string::npos ? 0 : end + 1);
            long wholeLines = std::count(text.begin(), text.end(), '\n');
            std::cerr << path << ": line " << wholeLines + 1 << " is cut off; the journal plays up to line "
                      << wholeLines << std::endl;
        }
        std::istringstream lines(text);
        return parseInputScript(lines, frames, error);
    });
}

void writeFrame(std::ostream& out, const FrameInput& frame, const FrameInput& previous)
{
    if (frame.dt != previous.dt) out << "dt " << frame.dt << '\n';
    if (frame.focused != previous.focused) out << "focus " << (frame.focused ? "on" : "off") << '\n';
    if (frame.pad != previous.pad) {
        const PadState& pad = frame.pad;
        out << "pad " << double(pad.leftX) << ' ' << double(pad.leftY) << ' ' << double(pad.rightX) << ' '
            << double(pad.rightY);
        for (const auto& [name, button] : kPadButtonNames)
            if (pad.held(button)) out << ' ' << name;
        out << '\n';
    }
    out << "hold 1";
    for (int key : frame.keys) out << ' ' << keyName(key);
    if (frame.cursorDx != 0.0 || frame.cursorDy != 0.0)
        out << " look " << frame.cursorDx << ' ' << frame.cursorDy;
    out << '\n';
}

} // namespace ruma
