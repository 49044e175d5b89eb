// Full-window pictures in place of the scene: the controls picture (the start
// and pause screen) and the three pictures that end a run. They hold no state
// of the run: the frame composition tells them what to show.
#pragma once

#include "render/window_quads.h"

namespace ruma {

struct Texture;

constexpr const char* kControlsPictureFile = "Resources/Images/controls.jpg";
// The end pictures: won, caught by the cat, fallen into a hole.
constexpr const char* kEndPictureFiles[3] = {"Resources/Images/win.jpg", "Resources/Images/gameovercat.jpg",
                                             "Resources/Images/gameoverloch.jpg"};

class ControlsScreen {
public:
    ControlsScreen();

    int width;      // the window's real size, read at each draw
    int height;

    void draw();
    void release();

    Texture* picture;   // "Resources/Images/controls.jpg"
    PictureQuad quad;
};

class EndScreen {
public:
    EndScreen();

    // One of the three pictures below.
    void draw(const Texture* picture);
    void release();

    Texture* winPicture;      // "Resources/Images/win.jpg"
    Texture* caughtPicture;   // "Resources/Images/gameovercat.jpg"
    Texture* holePicture;     // "Resources/Images/gameoverloch.jpg"
    PictureQuad quad;
};

} // namespace ruma
