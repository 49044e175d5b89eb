// The game world: every object the game shows or simulates, made once before
// the first frame and freed at shutdown.
#pragma once

#include "render/render_entry.h"

#include <glm/vec3.hpp>

#include <string>
#include <vector>

class btRigidBody;

namespace ruma {

namespace scene {
class Tovik;
class Cat;
class Slime;
class AnimatedObject;
class ImportedObject;
} // namespace scene

struct Texture;
class Controls;
class Renderer;
class ControlsScreen;
class EndScreen;
class TextRenderer;
class MotionBlur;
class SoundPlayer;
class GameClock;
struct Shader;

// Drawn and updated in this order: sections 1-4, skateboard, cat, player, slimes 1-11.
extern std::vector<RenderEntry> renderList;
extern std::vector<scene::Slime*> slimeList;

extern Texture* playerTexture;        // "Resources/Textures/tovkTex.png"
extern Texture* playerBoostTexture;   // "Resources/Textures/tovkTexG.png", while boosted
extern scene::Tovik* player;
extern btRigidBody* playerBody;
extern scene::AnimatedObject* skateboard;
extern scene::Cat* cat;
extern Controls* controls;
extern Renderer* renderer;
extern ControlsScreen* controlsScreen;
extern TextRenderer* textRenderer;
extern MotionBlur* motionBlur;
extern SoundPlayer* sound;
extern GameClock* gameClock;
extern EndScreen* endScreen;
// The programs the scene objects are drawn with, each shared by every object
// that uses its pair of files; freed at shutdown after the objects.
extern std::vector<Shader*> sceneShaders;

// Starts reading the image and model files loadGameObjects will load, on a
// thread of its own, once the resolution answer is known (before the window).
void startLoadingAhead();
// Ends that thread after loadGameObjects; returns a line for each file read
// ahead and never used, and each one loaded without being read ahead.
std::vector<std::string> finishLoadingAhead();
// Builds the whole world (needs the window and GL context, and initPhysics).
void loadGameObjects();
// The player object, drawn with shader, and its capsule body (player, playerBody).
void createPlayer(Shader* shader);
// Course section 1..4 for the current resolution answer, named "Level", drawn
// with shader, with its texture. A null shader is made (after the texture, as
// the first section's step makes it) and kept there for the next sections.
scene::ImportedObject* loadSection(int section, Texture** texture, Shader*& shader);
// One slime at position, kept in slimeList; its entry is returned for the render list.
RenderEntry makeSlime(bool moving, const glm::vec3& position, Shader* shader, Texture* texture);
// One static, axis-aligned box per mesh of a course section.
void addCourseCollision(const scene::ImportedObject& section);

// A course section's file (section 1..4) in folder for the high- or low-resolution answer.
std::string sectionFile(int section, bool highResolution, const char* folder, const char* extension);

// True for a file under Resources/ (path relative to it) that this run does
// not read: the course of the resolution not chosen.
bool isUnreadResource(const std::string& relative);

} // namespace ruma
