#include "platform/input_script.h"

#include "platform/platform.h"

#include <cctype>
#include <fstream>
#include <map>
#include <sstream>

namespace ruma {

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

bool readCount(std::istringstream& words, long& count)
{
    if (!(words >> count) || count < 0) return false;
    return true;
}

} // namespace

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

bool parseInputScript(std::istream& in, std::vector<FrameInput>& frames, std::string& error)
{
    double dt = 1.0 / 60.0;
    bool focused = true;
    std::string pendingShot;
    std::string line;
    int lineNumber = 0;

    auto fail = [&](const std::string& what) {
        error = "line " + std::to_string(lineNumber) + ": " + what;
        return false;
    };
    auto push = [&](FrameInput frame) {
        frame.dt = dt;
        frame.focused = focused;
        if (!pendingShot.empty()) {
            frame.screenshot = pendingShot;
            pendingShot.clear();
        }
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
            if (!(words >> dt) || dt < 0.0) return fail("dt needs a time in seconds");
        } else if (command == "focus") {
            std::string value;
            words >> value;
            if (value == "on") focused = true;
            else if (value == "off") focused = false;
            else return fail("focus takes on or off");
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
                if (!(words >> frame.cursorDx >> frame.cursorDy)) return fail("look needs dx dy");
                long n;
                if (words >> n) count = n;
            } else {
                if (!readCount(words, count)) return fail(command + " needs a frame count");
                std::string word;
                while (words >> word) {
                    if (word == "look") {
                        if (!(words >> frame.cursorDx >> frame.cursorDy)) return fail("look needs dx dy");
                        continue;
                    }
                    if (command == "wait") return fail("wait takes no keys");
                    int key = keyCodeFromName(word);
                    if (key < 0) return fail("unknown key " + word);
                    frame.keys.push_back(key);
                }
            }
            for (long i = 0; i < count; ++i) push(frame);
        } else if (command == "tap") {
            FrameInput frame;
            std::string word;
            while (words >> word) {
                int key = keyCodeFromName(word);
                if (key < 0) return fail("unknown key " + word);
                frame.keys.push_back(key);
            }
            if (frame.keys.empty()) return fail("tap needs a key");
            push(frame);
            push(FrameInput{});
        } else {
            return fail("unknown command " + command);
        }
    }
    return true;
}

bool parseScriptFile(const std::string& path, std::string& error, const std::function<bool(std::istream&)>& parse)
{
    std::ifstream in(path);
    if (!in) {
        error = "cannot open " + path;
        return false;
    }
    return parse(in);
}

bool loadInputScript(const std::string& path, std::vector<FrameInput>& frames, std::string& error)
{
    return parseScriptFile(path, error, [&](std::istream& in) { return parseInputScript(in, frames, error); });
}

void writeFrame(std::ostream& out, const FrameInput& frame, double previousDt, bool previousFocus)
{
    if (frame.dt != previousDt) out << "dt " << frame.dt << '\n';
    if (frame.focused != previousFocus) out << "focus " << (frame.focused ? "on" : "off") << '\n';
    out << "hold 1";
    for (int key : frame.keys) out << ' ' << keyName(key);
    if (frame.cursorDx != 0.0 || frame.cursorDy != 0.0)
        out << " look " << frame.cursorDx << ' ' << frame.cursorDy;
    out << '\n';
}

} // namespace ruma
