#include "render/picture_screen.h"

#include "platform/platform.h"
#include "platform/window.h"
#include "render/texture.h"

namespace ruma {

namespace {

// A picture fills the window edge to edge: sampling must not wrap round and
// bleed its bottom row into the top of the screen (or left into right).
Texture* loadPicture(const char* path)
{
    Texture* picture = new Texture(path);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    return picture;
}

} // namespace

ControlsScreen::ControlsScreen() : width(0), height(0), picture(nullptr)
{
    picture = loadPicture(kControlsPictureFile);
    quad.create();
}

void ControlsScreen::draw()
{
    // The real window, not the kept size: the picture follows a resize at once.
    platform().getWindowSize(width, height);
    quad.draw(picture, width, height);
}

void ControlsScreen::release()
{
    quad.release();
    deleteTexture(picture);
}

EndScreen::EndScreen() : winPicture(nullptr), caughtPicture(nullptr), holePicture(nullptr)
{
    winPicture = loadPicture(kEndPictureFiles[0]);
    caughtPicture = loadPicture(kEndPictureFiles[1]);
    holePicture = loadPicture(kEndPictureFiles[2]);
    quad.create();
}

void EndScreen::draw(const Texture* picture) { quad.draw(picture, windowWidth, windowHeight); }

void EndScreen::release()
{
    quad.release();
    deleteTexture(winPicture);
    deleteTexture(caughtPicture);
    deleteTexture(holePicture);
}

} // namespace ruma
