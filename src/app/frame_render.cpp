// One frame of pictures: an end picture, the controls picture, or the scene
// through the motion blur, with the HUD on top.
#include "app/bench.h"
#include "app/frame_loop.h"
#include "app/game_rules.h"
#include "platform/window.h"
#include "render/drawable.h"
#include "render/gl.h"
#include "render/gl_error.h"
#include "render/motion_blur.h"
#include "render/picture_screen.h"
#include "render/render_settings.h"
#include "render/renderer.h"
#include "render/texture.h"
#include "text/text_renderer.h"
#include "world/controls.h"
#include "world/world.h"

#include <cstdio>

namespace ruma {

namespace {

void prepareWindow()
{
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glViewport(0, 0, windowWidth, windowHeight);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void drawScene()
{
    renderer->camera = controls->cameraView();
    GLuint target = 0;
    if (wireframe) {
        glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    } else {
        motionBlur->resize(windowWidth, windowHeight);
        target = motionBlur->framebuffer;
    }
    glBindFramebuffer(GL_FRAMEBUFFER, target);
    glViewport(0, 0, windowWidth, windowHeight);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

    for (size_t index : renderer->drawingOrder(renderList)) {
        const RenderEntry& stored = renderList[index];
        if (!stored.hasVideo && (samplingChanged || mipmapChanged) && stored.texture) {
            glActiveTexture(GL_TEXTURE0);
            glBindTexture(GL_TEXTURE_2D, stored.texture->handle);
            applyTextureFilterSetting();
        }
        RenderEntry entry = stored;
        const DrawableKind kind = entry.object->kind;
        if (kind == DrawableKind::Player) entry.texture = controls->isFast() ? playerBoostTexture : playerTexture;
        // The cat wears its video only while it is far away.
        if (kind == DrawableKind::Cat) entry.hasVideo = catDistance > 7;
        renderer->drawEntry(entry);
    }
}

// While the controls picture shows, the lit objects are drawn one at a time
// into the blur's frame buffer, unseen, so that the driver has finished their
// programs for every light count before play meets it (Renderer::warmUpStep).
void warmUpBehindControls()
{
    motionBlur->resize(windowWidth, windowHeight);
    glBindFramebuffer(GL_FRAMEBUFFER, motionBlur->framebuffer);
    glViewport(0, 0, windowWidth, windowHeight);
    renderer->warmUpStep();
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

// Whether the frame shows a white HUD line, which the distance overlay lies over.
bool anyHudLine()
{
    return showStats || wireframe || !transparency || showSamplingLine || showMipmapLine;
}

void composeMotionBlur(double dt, bool overlayInBlur)
{
    if (wireframe) {
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
        return;
    }
    // The blur writes every pixel of the window: nothing there needs clearing,
    // and without the depth test the window's old depth cannot hide it.
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glViewport(0, 0, windowWidth, windowHeight);
    glDisable(GL_DEPTH_TEST);
    bool fast = controls->isFast();
    // The blur follows the camera's motion per second, whatever the frame rate.
    double base = fast ? 0.0033333334140479565 : 0.0016666667070239782;
    // The HUD's overlay rides on the blur's pass, one full-window pass less,
    // unless a white line must show through it.
    motionBlur->pass(fast, static_cast<float>(base / dt), controls->inverseViewProjection,
                     controls->previousViewProjection,
                     overlayInBlur ? textRenderer->overlayFor(catDistance)->handle : 0);
    glEnable(GL_DEPTH_TEST);
}

void drawHudLines(bool overlayDrawn, bool inPlay)
{
    glDisable(GL_DEPTH_TEST);
    auto line = [](const char* text, int y) {
        textRenderer->drawText(true, text, 20, y, 15, windowWidth, windowHeight);
    };
    // Lines are put together in place: a frame of play allocates nothing.
    char text[96];
    if (showStats) {
        std::snprintf(text, sizeof text, "Objects drawn (Frustum Culling %s%d", frustumCulling ? "ON): " : "OFF): ",
                      renderer->objectsDrawn);
        line(text, 5);
        line(fpsText.c_str(), 30);
        line(frameTimeText.c_str(), 55);
    }
    if (wireframe) line("WireFrame-Mode ON", 80);
    if (!transparency) line("Transparency OFF", 105);
    if (showSamplingLine) {
        std::snprintf(text, sizeof text, "Texture Sampling Quality: %s",
                      textureSampling == 0 ? "NearestNeighbor" : "Bilinear");
        line(text, 130);
    }
    if (showMipmapLine) {
        static const char* const modes[] = {"Off", "NearestNeighbor", "Linear"};
        if (mipmapQuality >= 0 && mipmapQuality <= 2) {
            std::snprintf(text, sizeof text, "Mip Mapping-Quality: %s", modes[mipmapQuality]);
            line(text, 155);
        }
    }
    if (inPlay) textRenderer->drawHud(catDistance, windowWidth, windowHeight, overlayDrawn);
    glEnable(GL_DEPTH_TEST);
}

} // namespace

void renderFrame(double dt, const RunPhase& shown)
{
    if (shown.phase == Phase::Ended) {
        prepareWindow();
        const Outcome outcome = shown.outcome;
        endScreen->draw(outcome == Outcome::Won ? endScreen->winPicture
                        : outcome == Outcome::CaughtByCat ? endScreen->caughtPicture
                                                          : endScreen->holePicture);
    } else {
        const bool inPlay = shown.phase == Phase::Play;
        // The overlay lies over the HUD's lines: with a line showing it is
        // drawn after them, not inside the blur.
        const bool overlayInBlur = inPlay && !anyHudLine();
        if (!inPlay) {
            prepareWindow();
            controlsScreen->draw();
            warmUpBehindControls();
            benchMark(BenchPhase::Scene);
        } else {
            drawScene();
            benchMark(BenchPhase::Scene);
            composeMotionBlur(dt, overlayInBlur);
            benchMark(BenchPhase::Blur);
        }
        drawHudLines(overlayInBlur, inPlay);
        benchMark(BenchPhase::Hud);
    }
    checkGlError(342);
}

} // namespace ruma
