#include "render/window_quads.h"

#include "render/shader.h"
#include "render/texture.h"
#include "render/draw_stats.h"

namespace ruma {

namespace {

void fillBuffer(GLuint buffer, const GLfloat* data, GLsizei vertexCount)
{
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertexCount) * 2 * sizeof(GLfloat), data,
                 GL_STATIC_DRAW);
}

void bindAttribute(GLuint index, GLuint buffer)
{
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glVertexAttribPointer(index, 2, GL_FLOAT, GL_FALSE, 0, nullptr);
    glEnableVertexAttribArray(index);
}

} // namespace

void WindowQuads::create(const char* vertexShaderPath)
{
    shader = new Shader(vertexShaderPath, "Resources/Shader/ui.frag");
    glGenBuffers(1, &positionBuffer);
    glGenBuffers(1, &secondBuffer);
    glGenVertexArrays(1, &vertexArray);
    hLocation = glGetUniformLocation(shader->program, "h");
    wLocation = glGetUniformLocation(shader->program, "w");
    colorTextureLocation = glGetUniformLocation(shader->program, "colorTexture");
}

void WindowQuads::draw(const Texture* texture, const GLfloat* positions, const GLfloat* second,
                       GLsizei vertexCount, int width, int height)
{
    glBindVertexArray(vertexArray);
    fillBuffer(positionBuffer, positions, vertexCount);
    fillBuffer(secondBuffer, second, vertexCount);
    glUseProgram(shader->program);

    glActiveTexture(GL_TEXTURE0);
    if (texture) glBindTexture(GL_TEXTURE_2D, texture->handle);
    glUniform1i(colorTextureLocation, 0);
    glUniform1i(wLocation, width / 2);
    glUniform1i(hLocation, height / 2);

    bindAttribute(0, positionBuffer);
    bindAttribute(1, secondBuffer);

    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    ++drawCallCount;
    glDrawArrays(GL_TRIANGLES, 0, vertexCount);
    glDisable(GL_BLEND);

    glDisableVertexAttribArray(0);
    glDisableVertexAttribArray(1);
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glUseProgram(0);
}

void WindowQuads::release()
{
    if (positionBuffer) glDeleteBuffers(1, &positionBuffer);
    if (secondBuffer) glDeleteBuffers(1, &secondBuffer);
    if (vertexArray) glDeleteVertexArrays(1, &vertexArray);
    positionBuffer = secondBuffer = vertexArray = 0;
    deleteShader(shader);
}

void PictureQuad::create() { WindowQuads::create("Resources/Shader/ui.vert"); }

void PictureQuad::draw(const Texture* picture, int width, int height)
{
    const float w = static_cast<float>(width);
    const float h = static_cast<float>(height);
    const GLfloat positions[12] = {0, h, 0, 0, w, h, w, 0, w, h, 0, 0};
    const GLfloat corners[12] = {-1, 1, -1, -1, 1, 1, 1, -1, 1, 1, -1, -1};

    if (!picture) {
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, 0);
    }
    WindowQuads::draw(picture, positions, corners, 6, width, height);
}

} // namespace ruma
