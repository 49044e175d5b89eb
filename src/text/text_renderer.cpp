#include "text/text_renderer.h"

#include "render/shader.h"
#include "render/texture.h"
#include "text/text_layout.h"

#include <vector>

namespace ruma {

namespace {

void fillBuffer(GLuint buffer, const std::vector<float>& data)
{
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(data.size() * sizeof(float)), data.data(),
                 GL_STATIC_DRAW);
}

void bindAttribute(GLuint index, GLuint buffer)
{
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glVertexAttribPointer(index, 2, GL_FLOAT, GL_FALSE, 0, nullptr);
    glEnableVertexAttribArray(index);
}

} // namespace

TextRenderer::TextRenderer()
{
    darkFontTextures[kBandClose] = new Texture("Resources/Fonts/segeodarkclose.png");
    darkFontTextures[kBandNormal] = new Texture("Resources/Fonts/segeodarknormal.png");
    darkFontTextures[kBandFar] = new Texture("Resources/Fonts/segeodarkfar.png");
    plainFontTexture = new Texture("Resources/Fonts/segeo.png");
    overlayTextures[kBandClose] = new Texture("Resources/Images/uiCLOSE.png");
    overlayTextures[kBandNormal] = new Texture("Resources/Images/uiNORMAL.png");
    overlayTextures[kBandFar] = new Texture("Resources/Images/uiFAR.png");

    textProgram = new Shader("Resources/Shader/text.vert", "Resources/Shader/ui.frag");
    overlayProgram = new Shader("Resources/Shader/ui.vert", "Resources/Shader/ui.frag");

    glGenBuffers(1, &positionBuffer);
    glGenBuffers(1, &texCoordBuffer);
    glGenVertexArrays(1, &vertexArray);
    distanceBand = kBandClose;
    textUniforms_ = lookUpUniforms(*textProgram);
    overlayUniforms_ = lookUpUniforms(*overlayProgram);
}

TextRenderer::Uniforms TextRenderer::lookUpUniforms(const Shader& shader)
{
    Uniforms uniforms;
    uniforms.h = glGetUniformLocation(shader.program, "h");
    uniforms.w = glGetUniformLocation(shader.program, "w");
    uniforms.colorTexture = glGetUniformLocation(shader.program, "colorTexture");
    return uniforms;
}

void TextRenderer::drawQuads(const Shader& program, const Uniforms& uniforms, const Texture* texture,
                             const std::vector<float>& positions, const std::vector<float>& secondAttribute,
                             int screenWidth, int screenHeight)
{
    glBindVertexArray(vertexArray);
    fillBuffer(positionBuffer, positions);
    fillBuffer(texCoordBuffer, secondAttribute);
    glUseProgram(program.program);

    glActiveTexture(GL_TEXTURE0);
    if (texture) glBindTexture(GL_TEXTURE_2D, texture->handle);
    glUniform1i(uniforms.colorTexture, 0);
    glUniform1i(uniforms.w, screenWidth / 2);
    glUniform1i(uniforms.h, screenHeight / 2);

    bindAttribute(0, positionBuffer);
    bindAttribute(1, texCoordBuffer);

    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(positions.size() / 2));
    glDisable(GL_BLEND);

    glDisableVertexAttribArray(0);
    glDisableVertexAttribArray(1);
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glUseProgram(0);
}

void TextRenderer::drawText(bool plainFont, const char* text, int x, int y, int size, int screenWidth,
                            int screenHeight)
{
    std::vector<float> positions;
    std::vector<float> texCoords;
    buildTextVertices(text, x, y, size, positions, texCoords);

    const Texture* font = nullptr;
    if (plainFont)
        font = plainFontTexture;
    else if (distanceBand >= kBandClose && distanceBand <= kBandFar)
        font = darkFontTextures[distanceBand];
    drawQuads(*textProgram, textUniforms_, font, positions, texCoords, screenWidth, screenHeight);
}

void TextRenderer::drawHud(int catDistance, int width, int height)
{
    const HudLayout layout = layoutHud(catDistance, width, height);
    distanceBand = layout.band;

    std::vector<float> positions;
    std::vector<float> corners;
    appendQuad(positions, 0.0f, 0.0f, static_cast<float>(width), static_cast<float>(height));
    appendQuad(corners, -1.0f, -1.0f, 1.0f, 1.0f);
    drawQuads(*overlayProgram, overlayUniforms_, overlayTextures[layout.band], positions, corners, width, height);

    drawText(false, layout.label.c_str(), layout.labelX, layout.labelY, layout.labelSize, width, height);
    if (layout.showRun) drawText(false, "RUN!", layout.runX, layout.runY, kRunSize, width, height);
}

void TextRenderer::release()
{
    if (positionBuffer) glDeleteBuffers(1, &positionBuffer);
    if (texCoordBuffer) glDeleteBuffers(1, &texCoordBuffer);
    if (vertexArray) glDeleteVertexArrays(1, &vertexArray);
    positionBuffer = texCoordBuffer = vertexArray = 0;
    for (Texture*& font : darkFontTextures) deleteTexture(font);
    deleteTexture(plainFontTexture);
    for (Texture*& overlay : overlayTextures) deleteTexture(overlay);
    deleteShader(overlayProgram);
    deleteShader(textProgram);
}

} // namespace ruma
