#include "app/startup.h"

#include "app/bench.h"
#include "app/command_line.h"
#include "app/final_state.h"
#include "app/frame_loop.h"
#include "app/function_keys.h"
#include "app/game_data.h"
#include "app/game_rules.h"
#include "app/game_start.h"
#include "app/resource_check.h"
#include "app/window_icon.h"
#include "platform/fatal.h"
#include "platform/glfw_platform.h"
#include "platform/recording_platform.h"
#include "platform/resident_memory.h"
#include "platform/scripted_platform.h"
#include "platform/window.h"
#include "render/drawable.h"
#include "render/gl.h"
#include "render/motion_blur.h"
#include "render/render_settings.h"
#include "render/renderer.h"
#include "world/autopilot.h"
#include "world/physics.h"
#include "world/start_answers.h"
#include "world/world.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>

namespace ruma {

bool running = true;

bool askYesNo(std::istream& in, std::ostream& out, const char* question, std::string& answer)
{
    out << question << std::endl;
    in >> answer;
    return answer == "y";
}

namespace {

// A question answered on the command line is not asked; its answer is kept as "y" or "n".
bool answer(std::istream& in, std::ostream& out, const char* question, const std::optional<bool>& given,
            std::string& kept)
{
    if (!given) return askYesNo(in, out, question, kept);
    kept = *given ? "y" : "n";
    return *given;
}

} // namespace

bool askStartupQuestions(std::istream& in, std::ostream& out, StartupAnswers& answers, const GivenAnswers& given)
{
    bool fullScreen = answer(in, out, "Do you want to start in FullScreen? (y/n)", given.fullScreen, answers.fullScreen);
    highResTextures = answer(in, out, "Do you want to use High-Res Textures? (y/n)", given.highRes, answers.highRes);
    godMode = answer(in, out, "Do you want to play in GODMODE? (y/n)", given.godMode, answers.godMode);
    return fullScreen;
}

void initWindow(bool fullScreen)
{
    // Without a display, GLFW's reason ("X11: The DISPLAY environment variable
    // is missing") tells the player what to do; once the window is open its
    // errors are none of the player's business.
    reportGlfwErrors(true);
    if (!glfwInit()) fatalError("GLFW failed");

    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 3);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 3);
    glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
    glfwWindowHint(GLFW_RESIZABLE, GLFW_FALSE);
    glfwWindowHint(GLFW_REFRESH_RATE, 60);
    // Taskbars match the window to the menu entry (StartupWMClass) by its class,
    // which GLFW would otherwise take from the loading title.
    glfwWindowHintString(GLFW_X11_CLASS_NAME, "tovik3d");
    glfwWindowHintString(GLFW_X11_INSTANCE_NAME, "tovik3d");

    window = glfwCreateWindow(windowWidth, windowHeight, "Tovik3D - Loading...",
                              fullScreen ? glfwGetPrimaryMonitor() : nullptr, nullptr);
    if (!window) {
        glfwTerminate();
        fatalError("No window...");
    }
    reportGlfwErrors(false);
    setWindowIcon(window);
    loadGamepadMappings();
    glfwMakeContextCurrent(window);

    glewExperimental = GL_TRUE;
    GLenum glewStatus = glewInit();
    // GLEW 2.2 answers GLEW_ERROR_NO_GLX_DISPLAY for a context that does not
    // come from GLX although every entry point loaded.
    if (glewStatus != GLEW_OK && glewStatus != GLEW_ERROR_NO_GLX_DISPLAY) fatalError("GLEW BUG");
    // Some drivers leave an INVALID_ENUM behind glewInit on core contexts.
    while (glGetError() != GL_NO_ERROR) {
    }

    std::cout << "Welcome!" << std::endl;
    std::cout << "OpenGL version: " << glGetString(GL_VERSION) << std::endl;
    std::cout << "GLSL version: " << glGetString(GL_SHADING_LANGUAGE_VERSION) << std::endl;
    std::cout << "Renderer: " << glGetString(GL_RENDERER) << std::endl;
    std::cout << "---------------------------" << std::endl;

    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glfwSetInputMode(window, GLFW_CURSOR, GLFW_CURSOR_HIDDEN);
    glClearColor(0.05f, 0.05f, 0.05f, 0.0f);
    glViewport(0, 0, windowWidth, windowHeight);
    clearKeyLatches();
}

namespace {

// Start-up is measured from the process's start as the system records it: the
// loading of the libraries, before any of the game's own code runs, counts.
const FrameBench::Clock::time_point kProcessStart =
    FrameBench::Clock::now() - std::chrono::duration_cast<FrameBench::Clock::duration>(
                                   std::chrono::duration<double>(secondsSinceProcessStart()));

// Keys worth journaling when a live run is recorded.
std::vector<int> journaledKeys()
{
    std::vector<int> keys = {GLFW_KEY_W,     GLFW_KEY_A,     GLFW_KEY_S,          GLFW_KEY_D,
                             GLFW_KEY_SPACE, GLFW_KEY_C,     GLFW_KEY_LEFT_SHIFT, GLFW_KEY_ESCAPE,
                             GLFW_KEY_ENTER};
    for (int key = GLFW_KEY_F1; key <= GLFW_KEY_F9; ++key) keys.push_back(key);
    keys.push_back(GLFW_KEY_F12);
    return keys;
}

// The first frame of play, drawn right after the controls picture is first
// shown and never seen itself (the back buffer is cleared before the next
// frame is drawn in it), so the picture comes as soon as the game has loaded.
// A driver finishes a program for the state it is drawn in at its first draw:
// on a software renderer that is a large part of a second for the scene, which
// F1 would otherwise wait for. Every section, the cat close by (as it starts),
// the blur with its overlay and the HUD are drawn here; the lit objects with
// the other light counts, textures and blendings follow behind the controls
// picture.
void drawFirstPlayFrameUnseen()
{
    // F1 in the very first frame: play has begun, and pays for its first frame.
    if (runPhase().phase != Phase::Controls) return;
    const bool culling = frustumCulling;
    frustumCulling = false;
    // While benchmarking, the scene is drawn counting its fragments: the
    // driver's programs for that state are the ones play needs.
    benchMark(BenchPhase::Update);
    renderFrame(1.0 / 60.0, RunPhase{Phase::Play});
    frustumCulling = culling;
    renderer->objectsDrawn = 0;
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

    // One entry for each texture and blending a lit object is drawn with.
    std::vector<RenderEntry> kinds;
    auto add = [&](RenderEntry entry) {
        for (const RenderEntry& known : kinds)
            if (known.texture == entry.texture && known.hasVideo == entry.hasVideo &&
                known.object->isTransparent() == entry.object->isTransparent())
                return;
        kinds.push_back(entry);
    };
    for (const RenderEntry& entry : renderList) {
        if (entry.object->isUnlit()) continue;
        add(entry);
        if (entry.texture == playerTexture) add({entry.object, playerBoostTexture, entry.shininess,
                                                 entry.specularColor, false, nullptr});
        if (entry.hasVideo) add({entry.object, entry.texture, entry.shininess, entry.specularColor, false, nullptr});
    }
    renderer->prepareWarmUp(kinds);
}

std::string absolute(const std::string& path)
{
    return path.empty() ? path : std::filesystem::absolute(path).string();
}

void keepPlayerPaths(CommandLine& options, std::vector<FrameInput>& script, std::vector<AutopilotStep>& route)
{
    options.recordPath = absolute(options.recordPath);
    for (FrameInput& frame : script) frame.screenshot = absolute(frame.screenshot);
    for (AutopilotStep& step : route) {
        step.path = absolute(step.path);
        for (FrameInput& frame : step.frames) frame.screenshot = absolute(frame.screenshot);
    }
}

} // namespace

int runGame(int argc, char** argv)
{
    CommandLine options = parseCommandLine(argc, argv);
    if (options.version && options.error.empty()) {
        std::cout << versionLine() << std::endl;
        return 0;
    }
    if (!options.error.empty()) {
        std::cerr << "tovik3d: " << options.error << "\n" << commandLineUsage();
        return 2;
    }
    if (options.help) {
        std::cout << commandLineUsage();
        return 0;
    }
    std::vector<FrameInput> script;
    std::vector<AutopilotStep> route;
    std::string error;
    if ((!options.scriptPath.empty() && !loadInputScript(options.scriptPath, script, error)) ||
        (!options.autopilotPath.empty() && !loadRoute(options.autopilotPath, route, error))) {
        std::cerr << "tovik3d: " << error << "\n";
        return 2;
    }
    // A journal that cannot be written is refused before the window opens.
    bool recording = !options.recordPath.empty();
    std::ofstream journal;
    if (recording && !RecordingPlatform::openJournal(options.recordPath, journal, error)) {
        std::cerr << "tovik3d: " << error << "\n";
        return 2;
    }
    // The player's own files stay where they were named, even when the game
    // moves into its data folder.
    keepPlayerPaths(options, script, route);
    enterGameDataFolder();
    returnBigBuffersWhenFreed();

    initPhysics();

    StartupAnswers answers;
    bool fullScreen = askStartupQuestions(std::cin, std::cout, answers, options.answers);
    // The files to load are known from the answers: reading them starts now,
    // beside opening the window and while the GL side of loading runs.
    startLoadingAhead();

    // The real platform answers until the window exists; a script or a journal
    // wraps it from then on.
    GlfwPlatform glfwPlatform(nullptr);
    setPlatform(&glfwPlatform);
    initWindow(fullScreen);
    glfwPlatform.setWindow(window);
    std::unique_ptr<Platform> wrapper;
    RecordingPlatform* recorder = nullptr;
    if (!options.autopilotPath.empty())
        wrapper = std::make_unique<AutopilotPlatform>(std::move(route), &glfwPlatform, runPhase());
    else if (!options.scriptPath.empty())
        wrapper = std::make_unique<ScriptedPlatform>(std::move(script), &glfwPlatform);
    else if (recording)
        wrapper.reset(recorder = new RecordingPlatform(glfwPlatform, std::move(journal), options.recordPath,
                                                       journaledKeys()));
    if (wrapper) setPlatform(wrapper.get());

    double checkSeconds = warnAboutDamagedResources(std::cout);
    if (options.bench) std::cerr << "bench: resource check " << 1000.0 * checkSeconds << " ms" << std::endl;
    std::unique_ptr<FrameBench> bench;
    if (options.bench) bench = std::make_unique<FrameBench>(kProcessStart);
    loadGameObjects();
    finishLoadingAhead();
    frameBench = bench.get();
    platform().setWindowTitle("Tovik3D");
    openRun();
    long frames = runFrameLoop(drawFirstPlayFrameUnseen);
    // Where the run ended, to the last bit: for replays and measured runs, not for players.
    if (!options.scriptPath.empty() || !options.recordPath.empty() || !options.autopilotPath.empty() || options.bench)
        std::cout << finalStateLine(frames) << std::endl;
    if (bench) {
        bench->report(std::cerr);
        bench->release();
    }
    frameBench = nullptr;

    shutdown();
    setPlatform(nullptr);
    // A journal cut short (a full disk) is not a journal: say so, and fail.
    std::string lost = recorder ? recorder->close() : std::string();
    if (!lost.empty()) {
        std::cerr << "tovik3d: " << lost << std::endl;
        return 1;
    }
    return 0;
}

} // namespace ruma
