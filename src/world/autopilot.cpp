#include "world/autopilot.h"

#include "places/slime_places.h"
#include "platform/input_script.h"
#include "platform/math_conventions.h"
#include "scene/cat.h"
#include "scene/slime.h"
#include "world/controls.h"
#include "world/game_clock.h"
#include "world/world.h"

#include <cmath>
#include <iostream>
#include <sstream>

namespace ruma {

namespace {

constexpr double kArrival = 0.5;       // close enough to a route point
constexpr double kTouch = 1.0;         // a slime this near is taken
constexpr double kJumpSeconds = 0.2;   // Space held at the start of a jumpto
constexpr double kWalkSeconds = 40.0;  // a walk that takes longer is stuck
constexpr double kFarthest = 1e5;       // a route point beyond this is a typing error
constexpr double kLongestWait = 3600.0;

double wrapAngle(double a)
{
    const double turn = 6.283185307179586;
    a = std::fmod(a, turn);
    if (a > turn / 2) a -= turn;
    if (a <= -turn / 2) a += turn;
    return a;
}

// The slime a route point stands for, if it is there to be taken: a resting
// slime within touch of the point, or a swaying one whose line passes it.
scene::Slime* slimeAt(double x, double z)
{
    for (scene::Slime* slime : slimeList) {
        if (!slime->available) continue;
        const glm::vec3 at = translationOf(slime->model);
        if (!slime->moving) {
            if (std::hypot(x - at.x, z - at.z) < kTouch) return slime;
            continue;
        }
        const double middle = at.x - kSlimeSway * slime->swayOffset;
        if (std::fabs(z - at.z) < kArrival && std::fabs(x - middle) < kSlimeSway + kArrival) return slime;
    }
    return nullptr;
}

} // namespace

bool parseRoute(std::istream& in, std::vector<AutopilotStep>& route, std::string& error)
{
    double dt = 1.0 / 60.0;
    std::string literal;   // input-script lines waiting to become frames
    int literalFirstLine = 0;
    int lineNumber = 0;

    auto flush = [&]() -> bool {
        if (literal.empty()) return true;
        std::istringstream block("dt " + std::to_string(dt) + "\n" + literal);
        AutopilotStep step;
        std::string blockError;
        if (!parseInputScript(block, step.frames, blockError)) {
            error = "in the script from line " + std::to_string(literalFirstLine) + ": " + blockError;
            return false;
        }
        route.push_back(std::move(step));
        literal.clear();
        return true;
    };

    std::string line;
    while (std::getline(in, line)) {
        ++lineNumber;
        std::string text = line.substr(0, line.find('#'));
        std::istringstream words(text);
        std::string command;
        if (!(words >> command)) continue;
        if (command == "walkto" || command == "jumpto" || command == "waitend") {
            if (!flush()) return false;
            AutopilotStep step;
            step.dt = dt;
            if (command == "waitend") {
                step.kind = AutopilotStep::Kind::WaitEnd;
                if (!(words >> std::ws).eof() && !readNumber(words, step.seconds, 0.0, kLongestWait)) {
                    error = "line " + std::to_string(lineNumber) + ": waitend takes seconds up to " +
                            std::to_string(int(kLongestWait));
                    return false;
                }
            } else {
                step.kind = AutopilotStep::Kind::WalkTo;
                step.jump = command == "jumpto";
                if (!readNumber(words, step.x, -kFarthest, kFarthest) ||
                    !readNumber(words, step.z, -kFarthest, kFarthest)) {
                    error = "line " + std::to_string(lineNumber) + ": " + command + " needs x z";
                    return false;
                }
            }
            route.push_back(step);
            continue;
        }
        if (command == "shot" && literal.empty()) {
            // After a walk or a wait the shot is of the frame that follows it.
            AutopilotStep step;
            step.kind = AutopilotStep::Kind::Shot;
            words >> step.path;
            route.push_back(step);
            continue;
        }
        if (command == "dt") {
            if (!flush()) return false;
            if (!readNumber(words, dt, kMinFrameTime, kMaxFrameTime)) {
                error = "line " + std::to_string(lineNumber) + ": dt needs a frame time in seconds";
                return false;
            }
            continue;
        }
        if (literal.empty()) literalFirstLine = lineNumber;
        literal += text + "\n";
    }
    return flush();
}

bool loadRoute(const std::string& path, std::vector<AutopilotStep>& route, std::string& error)
{
    return parseScriptFile(path, error, [&](std::istream& in) { return parseRoute(in, route, error); });
}

AutopilotPlatform::AutopilotPlatform(std::vector<AutopilotStep> route, Platform* window, const RunPhase& phase)
    : route_(std::move(route)), scripted_({}, window), phase_(phase)
{
}

FrameInput AutopilotPlatform::steer(const AutopilotStep& step, bool& arrived)
{
    FrameInput frame;
    frame.dt = step.dt;
    glm::vec3 at = controls->position;
    double dx = step.x - at.x, dz = step.z - at.z;
    if (frameInStep == 0) {
        chasedSlime_ = slimeAt(step.x, step.z);
        atPoint_ = false;
    }
    atPoint_ = atPoint_ || std::hypot(dx, dz) < kArrival;
    const bool slimeThere = chasedSlime_ && chasedSlime_->available;
    if (slimeThere && (chasedSlime_->moving || atPoint_)) {
        // A swaying slime is aimed at where it has swayed to, not at its place;
        // a resting one the point led to and did not reach is fetched from there.
        const glm::vec3 slime = translationOf(chasedSlime_->model);
        dx = slime.x - at.x;
        dz = slime.z - at.z;
        arrived = false;
    } else {
        // A swaying slime that was taken ends the walk where it was taken.
        arrived = atPoint_ || (chasedSlime_ && chasedSlime_->moving && !slimeThere);
    }
    if (arrived) return frame;
    // The look direction is (sin h, ., cos h); the mouse turns h by
    // mouseSpeed per pixel, leftwards positive.
    double wanted = std::atan2(dx, dz);
    double turn = wrapAngle(wanted - controls->horizontalAngle);
    double mouseSpeed = controls->isFast() ? 0.001 : 0.003;
    frame.cursorDx = -turn / mouseSpeed;
    // It keeps the camera level, as play starts: looking down shortens every
    // step (a window resized on the controls picture tilts it at the resume).
    frame.cursorDy = controls->verticalAngle / mouseSpeed;
    frame.keys.push_back(GLFW_KEY_W);
    if (step.jump && double(frameInStep) * step.dt < kJumpSeconds) frame.keys.push_back(GLFW_KEY_SPACE);
    return frame;
}

bool AutopilotPlatform::nextFrame(FrameInput& frame)
{
    while (step_ < route_.size()) {
        AutopilotStep& step = route_[step_];
        bool done = false;
        switch (step.kind) {
        case AutopilotStep::Kind::Frames:
            if (frameInStep < step.frames.size()) {
                frame = step.frames[frameInStep];
            } else {
                done = true;
            }
            break;
        case AutopilotStep::Kind::WalkTo:
            // A run that ended on the way ends the walk too.
            if (phase_.phase == Phase::Ended) {
                done = true;
                break;
            }
            frame = steer(step, done);
            if (!done && scripted_.time() - stepStartTime_ > kWalkSeconds) {
                std::cerr << "autopilot: stuck on the way to " << step.x << " " << step.z << " at "
                          << controls->position.x << " " << controls->position.y << " " << controls->position.z
                          << std::endl;
                return false;
            }
            break;
        case AutopilotStep::Kind::WaitEnd:
            done = phase_.phase == Phase::Ended || scripted_.time() - stepStartTime_ > step.seconds;
            frame = FrameInput{};
            frame.dt = step.dt;
            break;
        case AutopilotStep::Kind::Shot:
            pendingShot_ = step.path;
            done = true;
            break;
        }
        if (!done) {
            ++frameInStep;
            if (!pendingShot_.empty()) {
                frame.screenshot = pendingShot_;
                pendingShot_.clear();
            }
            return true;
        }
        ++step_;
        frameInStep = 0;
        stepStartTime_ = scripted_.time();
        if (step_ < route_.size() && route_[step_].kind != AutopilotStep::Kind::Frames)
            std::cerr << "autopilot: step " << step_ << " at " << scripted_.time() << " s, player at "
                      << controls->position.x << " " << controls->position.y << " " << controls->position.z
                      << ", cat " << glm::distance(cat->position, controls->position) << " away" << std::endl;
    }
    return false;
}

AutopilotPlatform::~AutopilotPlatform()
{
    std::cerr << "autopilot: took " << slimesTaken_ << " slimes, ";
    if (endedAt_ >= 0.0) std::cerr << "the run ended at " << endedAt_ << " s: " << endedHow_ << std::endl;
    else std::cerr << "the run went on" << std::endl;
    if (closestCat_ >= 0.0)
        std::cerr << "autopilot: the cat came closest, " << closestCat_ << " away, at " << closestCatAt_
                  << " s of play" << std::endl;
}

void AutopilotPlatform::pollEvents()
{
    // How close the chase came once a catch counts, by the catch rule's own
    // clock (play time), for whoever tunes the course.
    const double playTime = gameClock ? gameClock->gameTime(scripted_.time()) : 0.0;
    if (cat && controls && playTime > kCatchGraceSeconds) {
        double d = glm::distance(cat->position, controls->position);
        if (closestCat_ < 0.0 || d < closestCat_) {
            closestCat_ = d;
            closestCatAt_ = playTime;
        }
    }
    // What a player would tell of the run: slimes taken, and how long it lasted.
    slimeAway_.resize(slimeList.size(), false);
    for (size_t i = 0; i < slimeList.size(); ++i) {
        if (!slimeList[i]->available && !slimeAway_[i]) ++slimesTaken_;
        slimeAway_[i] = !slimeList[i]->available;
    }
    if (endedAt_ < 0.0 && phase_.phase == Phase::Ended) {
        endedAt_ = scripted_.time();
        endedHow_ = phase_.outcome == Outcome::Won           ? "won"
                    : phase_.outcome == Outcome::CaughtByCat ? "caught by the cat"
                                                             : "fell into a hole";
    }
    FrameInput frame;
    if (!nextFrame(frame)) {
        finished_ = true;
        scripted_.pollEvents();
        return;
    }
    scripted_.appendFrames({frame});
    scripted_.pollEvents();
}

} // namespace ruma
