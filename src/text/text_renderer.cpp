#include "text/text_renderer.h"

#include "render/texture.h"
#include "text/text_layout.h"


namespace ruma {

TextRenderer::TextRenderer()
{
    darkFontTextures[kBandClose] = new Texture("Resources/Fonts/segeodarkclose.png");
    darkFontTextures[kBandNormal] = new Texture("Resources/Fonts/segeodarknormal.png");
    darkFontTextures[kBandFar] = new Texture("Resources/Fonts/segeodarkfar.png");
    plainFontTexture = new Texture("Resources/Fonts/segeo.png");
    overlayTextures[kBandClose] = new Texture("Resources/Images/uiCLOSE.png", false);
    overlayTextures[kBandNormal] = new Texture("Resources/Images/uiNORMAL.png", false);
    overlayTextures[kBandFar] = new Texture("Resources/Images/uiFAR.png", false);

    glyphQuads.create("Resources/Shader/text.vert");
    overlayQuad.create();
    distanceBand = kBandClose;
}

void TextRenderer::drawText(bool plainFont, const char* text, int x, int y, int size, int screenWidth,
                            int screenHeight)
{
    positions.clear();
    texCoords.clear();
    buildTextVertices(text, x, y, size, positions, texCoords);

    const Texture* font = nullptr;
    if (plainFont)
        font = plainFontTexture;
    else if (distanceBand >= kBandClose && distanceBand <= kBandFar)
        font = darkFontTextures[distanceBand];
    glyphQuads.draw(font, positions.data(), texCoords.data(), static_cast<GLsizei>(positions.size() / 2),
                    screenWidth, screenHeight);
}

const Texture* TextRenderer::overlayFor(int distance) const
{
    return overlayTextures[distanceBandFor(distance)];
}

void TextRenderer::drawHud(int catDistance, int width, int height, bool overlayDrawn)
{
    const HudLayout layout = layoutHud(catDistance, width, height);
    distanceBand = layout.band;

    if (!overlayDrawn) overlayQuad.draw(overlayTextures[layout.band], width, height);

    drawText(false, layout.label.c_str(), layout.labelX, layout.labelY, layout.labelSize, width, height);
    if (layout.showRun) drawText(false, "RUN!", layout.runX, layout.runY, kRunSize, width, height);
}

void TextRenderer::release()
{
    glyphQuads.release();
    overlayQuad.release();
    for (Texture*& font : darkFontTextures) deleteTexture(font);
    deleteTexture(plainFontTexture);
    for (Texture*& overlay : overlayTextures) deleteTexture(overlay);
}

} // namespace ruma
