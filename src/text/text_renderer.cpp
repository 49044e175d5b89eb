#include "text/text_renderer.h"

#include "render/texture.h"
#include "text/text_layout.h"


namespace ruma {

TextRenderer::TextRenderer()
{
    for (int band : {kBandClose, kBandNormal, kBandFar}) darkFontTextures[band] = new Texture(kDarkFontFiles[band]);
    plainFontTexture = new Texture(kPlainFontFile);
    for (int band : {kBandClose, kBandNormal, kBandFar}) overlayTextures[band] = new Texture(kOverlayFiles[band]);

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
    if (!overlayDrawn) overlayQuad.draw(overlayTextures[layout.band], width, height);
    drawDistance(layout, width, height);
}

void TextRenderer::drawDistance(const HudLayout& layout, int width, int height)
{
    distanceBand = layout.band;
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
