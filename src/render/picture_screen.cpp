#include "render/picture_screen.h"

#include "platform/platform.h"
#include "platform/window.h"
#include "render/shader.h"
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

void PictureQuad::create()
{
    shader = new Shader("Resources/Shader/ui.vert", "Resources/Shader/ui.frag");
    glGenBuffers(1, &positionBuffer);
    glGenBuffers(1, &cornerBuffer);
    glGenVertexArrays(1, &vertexArray);
    hLocation = glGetUniformLocation(shader->program, "h");
    wLocation = glGetUniformLocation(shader->program, "w");
    colorTextureLocation = glGetUniformLocation(shader->program, "colorTexture");
}

void PictureQuad::draw(const Texture* picture, int width, int height)
{
    const float w = static_cast<float>(width);
    const float h = static_cast<float>(height);
    const GLfloat positions[12] = {0, h, 0, 0, w, h, w, 0, w, h, 0, 0};
    const GLfloat corners[12] = {-1, 1, -1, -1, 1, 1, 1, -1, 1, 1, -1, -1};

    glBindVertexArray(vertexArray);
    glBindBuffer(GL_ARRAY_BUFFER, positionBuffer);
    glBufferData(GL_ARRAY_BUFFER, sizeof positions, positions, GL_STATIC_DRAW);
    glBindBuffer(GL_ARRAY_BUFFER, cornerBuffer);
    glBufferData(GL_ARRAY_BUFFER, sizeof corners, corners, GL_STATIC_DRAW);
    glUseProgram(shader->program);

    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, picture ? picture->handle : 0);
    glUniform1i(colorTextureLocation, 0);
    glUniform1i(wLocation, width / 2);
    glUniform1i(hLocation, height / 2);

    glEnableVertexAttribArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, positionBuffer);
    glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, 0, nullptr);
    glEnableVertexAttribArray(1);
    glBindBuffer(GL_ARRAY_BUFFER, cornerBuffer);
    glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, 0, nullptr);

    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDrawArrays(GL_TRIANGLES, 0, 6);
    glDisable(GL_BLEND);

    glDisableVertexAttribArray(0);
    glDisableVertexAttribArray(1);
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glUseProgram(0);
}

void PictureQuad::release()
{
    glDeleteBuffers(1, &positionBuffer);
    glDeleteBuffers(1, &cornerBuffer);
    glDeleteVertexArrays(1, &vertexArray);
    positionBuffer = cornerBuffer = vertexArray = 0;
}

ControlsScreen::ControlsScreen() : showing(true), width(0), height(0), picture(nullptr)
{
    picture = loadPicture("Resources/Images/controls.jpg");
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
    deleteShader(quad.shader);
}

EndScreen::EndScreen(bool godMode_)
    : showing(false), won(false), caughtByCat(false), godMode(godMode_), winPicture(nullptr),
      caughtPicture(nullptr), holePicture(nullptr)
{
    winPicture = loadPicture("Resources/Images/win.jpg");
    caughtPicture = loadPicture("Resources/Images/gameovercat.jpg");
    holePicture = loadPicture("Resources/Images/gameoverloch.jpg");
    quad.create();
}

const Texture* EndScreen::currentPicture() const
{
    if (won) return winPicture;
    if (caughtByCat) return caughtPicture;
    return holePicture;
}

void EndScreen::draw() { quad.draw(currentPicture(), windowWidth, windowHeight); }

void EndScreen::release()
{
    quad.release();
    deleteTexture(winPicture);
    deleteTexture(caughtPicture);
    deleteTexture(holePicture);
    deleteShader(quad.shader);
}

} // namespace ruma
