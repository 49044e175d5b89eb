// Full-window pictures in place of the scene: the controls picture (the start
// and pause screen) and the three pictures that end a run.
#pragma once

#include "render/gl.h"

namespace ruma {

struct Shader;
struct Texture;

// A window-sized quad drawn with the ui program, rebuilt in pixels at every draw.
struct PictureQuad {
    Shader* shader = nullptr;
    GLuint vertexArray = 0;
    GLuint positionBuffer = 0;   // attribute 0: window position in pixels
    GLuint cornerBuffer = 0;     // attribute 1: corner in -1..1
    GLint hLocation = -1;
    GLint wLocation = -1;
    GLint colorTextureLocation = -1;

    // The ui program, both buffers (no data yet), the vertex array and the locations.
    void create();
    // Covers a width x height window with the picture, blended over what is there.
    void draw(const Texture* picture, int width, int height);
    void release();
};

class ControlsScreen {
public:
    ControlsScreen();

    bool showing;   // starts true: the game opens on this picture
    int width;      // the window's real size, read at each draw
    int height;

    void draw();
    void release();

    Texture* picture;   // "Resources/Images/controls.jpg"
    PictureQuad quad;
};

class EndScreen {
public:
    explicit EndScreen(bool godMode);

    bool showing;
    bool won;
    bool caughtByCat;
    bool godMode;   // the start-up answer, kept for the rules

    // Win before caught, caught before the hole picture.
    void draw();
    void release();
    // The picture draw() shows for the current flags.
    const Texture* currentPicture() const;

    Texture* winPicture;      // "Resources/Images/win.jpg"
    Texture* caughtPicture;   // "Resources/Images/gameovercat.jpg"
    Texture* holePicture;     // "Resources/Images/gameoverloch.jpg"
    PictureQuad quad;
};

} // namespace ruma
