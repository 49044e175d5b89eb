#include "world/world.h"

#include "world/start_answers.h"
#include "places/slime_places.h"
#include "places/start_places.h"
#include "platform/load_ahead.h"
#include "platform/math_conventions.h"
#include "platform/platform.h"
#include "render/gl_error.h"
#include "render/motion_blur.h"
#include "render/picture_screen.h"
#include "render/renderer.h"
#include "render/shader.h"
#include "render/texture.h"
#include "render/video_texture.h"
#include "scene/animated_object.h"
#include "scene/cat.h"
#include "scene/model_import.h"
#include "scene/slime.h"
#include "scene/tovik.h"
#include "sound/sound_engine.h"
#include "sound/sound_player.h"
#include "text/text_renderer.h"
#include "world/controls.h"
#include "world/game_clock.h"
#include "world/physics.h"

#include <iterator>

namespace ruma {

std::vector<RenderEntry> renderList;
std::vector<scene::Slime*> slimeList;
Texture* playerTexture = nullptr;
Texture* playerBoostTexture = nullptr;
scene::Tovik* player = nullptr;
btRigidBody* playerBody = nullptr;
scene::AnimatedObject* skateboard = nullptr;
scene::Cat* cat = nullptr;
Controls* controls = nullptr;
Renderer* renderer = nullptr;
ControlsScreen* controlsScreen = nullptr;
TextRenderer* textRenderer = nullptr;
MotionBlur* motionBlur = nullptr;
SoundPlayer* sound = nullptr;
GameClock* gameClock = nullptr;
EndScreen* endScreen = nullptr;
std::vector<Shader*> sceneShaders;

namespace {

const char* const kBasicVertex = "Resources/Shader/basic.vert";
const char* const kToonFragment = "Resources/Shader/toon.frag";
const char* const kUnlitFragment = "Resources/Shader/basicnolight.frag";
const char* const kPlayerTextureFile = "Resources/Textures/tovkTex.png";
const char* const kPlayerBoostTextureFile = "Resources/Textures/tovkTexG.png";
const char* const kBoardTextureFile = "Resources/Textures/skateboard2.png";
const char* const kCatTextureFile = "Resources/Textures/cat.tga";
const char* const kSlimeTextureFile = "Resources/Textures/slime.png";

} // namespace

std::string sectionFile(int section, bool highResolution, const char* folder, const char* extension)
{
    // "Resources/Models/e1.obj", or "e1b.obj" for the low resolution.
    return std::string("Resources/") + folder + "/e" + std::to_string(section) + (highResolution ? "" : "b") +
           extension;
}

bool isUnreadResource(const std::string& relative)
{
    for (int section = 1; section <= 4; ++section)
        if ("Resources/" + relative == sectionFile(section, !highResTextures, "Models", ".obj") ||
            "Resources/" + relative == sectionFile(section, !highResTextures, "Textures", ".jpg"))
            return true;
    return false;
}

void addCourseCollision(const scene::ImportedObject& section)
{
    for (const MeshRecord& mesh : section.meshes) {
        btVector3 half((mesh.maxX - mesh.minX) * 0.5f, (mesh.maxY - mesh.minY) * 0.5f,
                       (mesh.maxZ - mesh.minZ) * 0.5f);
        btVector3 centre(mesh.minX + (mesh.maxX - mesh.minX) * 0.5f, mesh.minY + (mesh.maxY - mesh.minY) * 0.5f,
                         mesh.minZ + (mesh.maxZ - mesh.minZ) * 0.5f);
        auto* shape = new btBoxShape(half);
        auto* motionState =
            new btDefaultMotionState(btTransform(btQuaternion(0, 0, 0, 1), centre), btTransform::getIdentity());
        btRigidBody::btRigidBodyConstructionInfo info(0.0f, motionState, shape, btVector3(0, 0, 0));
        addOwnedBody(info);
    }
}

RenderEntry makeSlime(bool moving, const glm::vec3& position, Shader* shader, Texture* texture)
{
    auto* slime = new scene::Slime(glm::translate(identityMatrix(), position), shader, moving);
    slimeList.push_back(slime);
    RenderEntry entry;
    entry.object = slime;
    entry.texture = texture;
    entry.shininess = 80.0f;
    entry.specularColor = glm::vec3(1.0f);
    return entry;
}

void createPlayer(Shader* shader)
{
    glm::mat4 model = glm::translate(identityMatrix(), kPlayerStart);
    model = glm::scale(model, glm::vec3(0.25f));
    model = rotateDegrees(model, -90.0f, glm::vec3(0.0f, 1.0f, 0.0f));
    player = new scene::Tovik(model, shader);

    btRigidBody::btRigidBodyConstructionInfo info = player->genPhysics(1.0f);
    // Friction would hold an airborne player against any wall it walks into
    // (a faller would hang on the far wall of a gap): the player slides instead.
    info.m_friction = 0.0f;
    playerBody = addOwnedBody(info);
    playerBody->forceActivationState(DISABLE_DEACTIVATION);
}

scene::ImportedObject* loadSection(int section, Texture** texture, Shader*& shader)
{
    *texture = new Texture(sectionFile(section, highResTextures, "Textures", ".jpg"));
    if (!shader) shader = new Shader(kBasicVertex, kUnlitFragment);
    auto* level =
        new scene::ImportedObject(identityMatrix(), shader, sectionFile(section, highResTextures, "Models", ".obj"));
    level->setName("Level");
    level->kind = DrawableKind::CourseSection;
    return level;
}

void startLoadingAhead()
{
    if (loadAhead) return;
    loadAhead = new LoadAhead();
    // In loadGameObjects' own order: the loading thread keeps ahead of it.
    auto image = [](const std::string& path) { loadAhead->queue(path, readImageAhead); };
    auto model = [](const std::string& path) { loadAhead->queue(path, scene::readModelAhead); };
    image(kPlayerTextureFile);
    image(kPlayerBoostTextureFile);
    model(scene::kTovikModelFile);
    for (int section = 1; section <= 4; ++section) {
        image(sectionFile(section, highResTextures, "Textures", ".jpg"));
        model(sectionFile(section, highResTextures, "Models", ".obj"));
    }
    image(kBoardTextureFile);
    model(scene::kBoardModelFile);
    image(kCatTextureFile);
    model(scene::kCatModelFile);
    image(kSlimeTextureFile);
    for (size_t slime = 0; slime < std::size(kSlimePlaces); ++slime) model(scene::kSlimeModelFile);
    image(kControlsPictureFile);
    for (const char* font : kDarkFontFiles) image(font);
    image(kPlainFontFile);
    for (const char* overlay : kOverlayFiles) image(overlay);
    for (const char* picture : kEndPictureFiles) image(picture);
    for (const char* file : kSoundFiles) loadAhead->queue(file, readSoundAhead);
    loadAhead->start();
}

std::vector<std::string> finishLoadingAhead()
{
    if (!loadAhead) return {};
    loadAhead->stop();
    std::vector<std::string> outOfStep;
    for (const std::string& key : loadAhead->unclaimedKeys()) outOfStep.push_back("read ahead, never used: " + key);
    for (const std::string& key : loadAhead->missedKeys()) outOfStep.push_back("not read ahead: " + key);
    delete loadAhead;
    loadAhead = nullptr;
    return outOfStep;
}

void loadGameObjects()
{
    platform().setWindowTitle("Tovik3D - Loading Game Objects...");

    playerTexture = new Texture(kPlayerTextureFile);
    playerBoostTexture = new Texture(kPlayerBoostTextureFile);
    // One program per pair of shader files, shared by every object drawn with
    // it: each draw sets every uniform it reads, so the pictures are those of
    // programs of their own, for one compile and one set of driver state. Each
    // is made where its first object is, so a load error is met in the same
    // order as the objects are built.
    auto* litShader = new Shader(kBasicVertex, kToonFragment);
    createPlayer(litShader);
    RenderEntry playerEntry{player, playerTexture, 45.0f, glm::vec3(1.0f), false, nullptr};

    std::vector<scene::ImportedObject*> sections;
    Shader* unlitShader = nullptr;
    for (int section = 1; section <= 4; ++section) {
        Texture* texture = nullptr;
        sections.push_back(loadSection(section, &texture, unlitShader));
        renderList.push_back({sections.back(), texture, 2.0f, glm::vec3(1.0f), false, nullptr});
    }

    sceneShaders = {litShader, unlitShader};

    auto* boardTexture = new Texture(kBoardTextureFile);
    glm::mat4 boardModel = glm::translate(identityMatrix(), glm::vec3(1.5f, -0.5f, 1.0f));
    boardModel = rotateDegrees(boardModel, 90.0f, glm::vec3(1.0f, 0.0f, 0.0f));
    boardModel = rotateDegrees(boardModel, 90.0f, glm::vec3(0.0f, 0.0f, 1.0f));
    boardModel = glm::scale(boardModel, glm::vec3(0.25f));
    skateboard = new scene::AnimatedObject(boardModel, unlitShader);
    renderList.push_back({skateboard, boardTexture, 2.0f, glm::vec3(1.0f), false, nullptr});

    for (scene::ImportedObject* section : sections) addCourseCollision(*section);

    auto* catTexture = new Texture(kCatTextureFile);
    cat = new scene::Cat(identityMatrix(), litShader);
    auto* video = new VideoTexture();
    renderList.push_back({cat, catTexture, 0.0f, glm::vec3(1.0f), true, video});
    // The board waits under the waiting cat, not somewhere in the start corridor.
    skateboard->model = scene::boardUnderCat(cat->model);

    renderList.push_back(playerEntry);

    // The slimes look alike: one texture for all of them.
    auto* slimeTexture = new Texture(kSlimeTextureFile);
    for (const SlimePlace& place : kSlimePlaces)
        renderList.push_back(makeSlime(place.moving, place.position, litShader, slimeTexture));

    renderer = new Renderer();
    renderer->useLightVariants(litShader, kBasicVertex, kToonFragment);
    controls = new Controls();
    // The first frame of play is drawn before its update runs: it needs the camera already.
    settleCamera(*controls, *player, *playerBody);
    renderer->frustum->updateFromCamera(controls->cameraPosition, controls->position, controls->up);
    controlsScreen = new ControlsScreen();
    textRenderer = new TextRenderer();
    motionBlur = new MotionBlur();
    sound = new SoundPlayer();
    gameClock = new GameClock();
    endScreen = new EndScreen();
    // Every program is built: a shader file is not read again.
    forgetShaderSources();

    checkGlError(542);
}

} // namespace ruma
