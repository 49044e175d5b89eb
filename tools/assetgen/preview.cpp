// assetpreview: renders the generated models, the board under the cat and the
// HUD to PNG files, so they can be looked at without the game.
//
//   assetpreview info  <model>
//   assetpreview model <model> <texture or cat.avi> <out.png> [--views N] [--elevation DEG] [--unlit] [--frame K]
//   assetpreview board <Resources> <out.png> [--frames N]
//   assetpreview hud   <Resources> <catDistance> <out.png> [--ground Images/win.jpg | Textures/e1.jpg ...]
//   assetpreview text  <Resources> <out.png> [--zoom N]
//   assetpreview frames <cat.avi> <out.png> [--step K] [--count N]
//
// Everything the game draws is drawn by the game's own code: its model import,
// animation, textures, video frames, text, HUD layout and picture quads. The
// preview adds the camera around a model, a plain toon light from above and
// the front for lit models (the board and the course-like floor are unlit, as
// in the game), the grounds under the HUD and the sheets of views. Run under Xvfb.
#include "scene/animated_object.h"
#include "scene/cat.h"
#include "scene/imported_object.h"
#include "scene/mesh_extents.h"
#include "palette.h"
#include "platform/math_conventions.h"
#include "render/gl.h"
#include "render/screenshot.h"
#include "render/shader.h"
#include "render/texture.h"
#include "render/video_texture.h"
#include "text/text_layout.h"
#include "text/text_renderer.h"

#include <GLFW/glfw3.h>
#include <assimp/Importer.hpp>
#include <assimp/scene.h>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

using namespace assetgen;
using glm::mat4;
using glm::vec3;

namespace {

[[noreturn]] void fail(const std::string& message)
{
    std::fprintf(stderr, "assetpreview: %s\n", message.c_str());
    std::exit(1);
}

// A GL context on an unseen window; pictures are drawn into a frame buffer
// of their own size and read back from it.
void openGl(int width, int height)
{
    if (!glfwInit()) fail("no display (run under xvfb-run)");
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 3);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 3);
    glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    GLFWwindow* window = glfwCreateWindow(64, 64, "assetpreview", nullptr, nullptr);
    if (!window) fail("no OpenGL 3.3 context");
    glfwMakeContextCurrent(window);
    glewExperimental = GL_TRUE;
    glewInit();
    glGetError();
    GLuint framebuffer, buffers[2];
    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glGenRenderbuffers(2, buffers);
    const GLenum formats[2] = {GL_RGBA8, GL_DEPTH_COMPONENT24}, attachments[2] = {GL_COLOR_ATTACHMENT0, GL_DEPTH_ATTACHMENT};
    for (int i = 0; i < 2; ++i) {
        glBindRenderbuffer(GL_RENDERBUFFER, buffers[i]);
        glRenderbufferStorage(GL_RENDERBUFFER, formats[i], width, height);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, attachments[i], GL_RENDERBUFFER, buffers[i]);
    }
    glViewport(0, 0, width, height);
}

std::vector<unsigned char> grab(int width, int height)
{
    std::vector<unsigned char> rgb(static_cast<size_t>(width) * height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    return rgb;
}

// The game reads its files relative to the folder that holds Resources/;
// the preview goes there (out paths are made absolute first).
void enterDataFolder(const std::string& resources)
{
    std::filesystem::path folder = std::filesystem::absolute(resources).lexically_normal();
    if (folder.filename().empty()) folder = folder.parent_path();
    if (folder.filename() != "Resources") fail(resources + " is not a folder called Resources, as the game reads it");
    std::filesystem::current_path(folder.parent_path());
}

std::string absolute(const std::string& path) { return std::filesystem::absolute(path).string(); }

const char* kVertex = R"(#version 330 core
in vec3 position; in vec3 normal; in vec2 uv;
uniform mat4 model; uniform mat4 viewProjection;
out vec3 worldNormal; out vec2 texCoord;
void main() {
    worldNormal = mat3(transpose(inverse(model))) * normal;
    texCoord = uv;
    gl_Position = viewProjection * model * vec4(position, 1.0);
})";

const char* kFragment = R"(#version 330 core
in vec3 worldNormal; in vec2 texCoord;
uniform sampler2D colorTexture; uniform int lit;
out vec4 fragColor;
void main() {
    vec4 texel = texture(colorTexture, texCoord);
    float light = 1.0;
    if (lit == 1) {
        float d = max(dot(normalize(worldNormal), normalize(vec3(0.5, 1.0, 0.7))), 0.0);
        light = d > 0.6 ? 1.0 : (d > 0.25 ? 0.78 : 0.55);
    }
    fragColor = vec4(texel.rgb * light, texel.a);
})";

// Draws the object's meshes (or, with no object, the bound vertex array's first six vertices).
void draw(ruma::scene::SceneObject* object, GLuint program, GLuint texture, const mat4& viewProjection, bool lit)
{
    glUseProgram(program);
    glUniformMatrix4fv(glGetUniformLocation(program, "model"), 1, GL_FALSE,
                       glm::value_ptr(object ? object->model : mat4(1.0f)));
    glUniformMatrix4fv(glGetUniformLocation(program, "viewProjection"), 1, GL_FALSE, glm::value_ptr(viewProjection));
    glUniform1i(glGetUniformLocation(program, "lit"), lit ? 1 : 0);
    glUniform1i(glGetUniformLocation(program, "colorTexture"), 0);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, texture);
    if (object) object->draw();
    else glDrawArrays(GL_TRIANGLES, 0, 6);
}

GLuint imageTexture(const std::string& path) { return (new ruma::Texture(path))->handle; }

GLuint flatTexture(unsigned char r, unsigned char g, unsigned char b)
{
    const unsigned char texel[3] = {r, g, b};
    GLuint handle;
    glGenTextures(1, &handle);
    glBindTexture(GL_TEXTURE_2D, handle);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 1, 1, 0, GL_RGB, GL_UNSIGNED_BYTE, texel);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    return handle;
}

// A rectangle of window pixels filled with one colour.
void fill(int x0, int y0, int x1, int y1, unsigned char r, unsigned char g, unsigned char b)
{
    glEnable(GL_SCISSOR_TEST);
    glScissor(x0, y0, x1 - x0, y1 - y0);
    glClearColor(r / 255.0f, g / 255.0f, b / 255.0f, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
}

// Pastes views side by side (columns x rows) into one image, bottom row first.
struct Sheet {
    int columns, rows, width, height;
    std::vector<unsigned char> rgb;
    Sheet(int c, int r, int w, int h) : columns(c), rows(r), width(w), height(h), rgb(static_cast<size_t>(c * w) * r * h * 3) {}
    void paste(int index, const unsigned char* view)
    {
        int cx = index % columns, cy = rows - 1 - index / columns;
        for (int y = 0; y < height; ++y)
            std::memcpy(&rgb[(static_cast<size_t>(cy * height + y) * columns * width + cx * width) * 3],
                        &view[static_cast<size_t>(y) * width * 3], static_cast<size_t>(width) * 3);
    }
    void pasteView(int index) { paste(index, grab(width, height).data()); }
    void save(const std::string& path) const
    {
        if (!ruma::saveRGBImage(path, rgb, columns * width, rows * height)) fail("cannot write " + path);
    }
};

mat4 orbit(vec3 centre, float distance, float yawDegrees, float elevationDegrees)
{
    float yaw = glm::radians(yawDegrees), elevation = glm::radians(elevationDegrees);
    vec3 eye = centre + distance * vec3(std::cos(elevation) * std::sin(yaw), std::sin(elevation),
                                        std::cos(elevation) * std::cos(yaw));
    return ruma::perspectiveDegrees(35.0f, 1.0f, distance * 0.05f, distance * 10.0f) *
           glm::lookAt(eye, centre, vec3(0, 1, 0));
}

void clear(float r, float g, float b)
{
    glClearColor(r, g, b, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

float option(int argc, char** argv, const char* name, float fallback)
{
    for (int i = 0; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], name) == 0) return std::strtof(argv[i + 1], nullptr);
    return fallback;
}

bool flag(int argc, char** argv, const char* name)
{
    for (int i = 0; i < argc; ++i)
        if (std::strcmp(argv[i], name) == 0) return true;
    return false;
}

int info(const std::string& path)
{
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(path, ruma::scene::kModelImportFlags);
    if (!scene) fail("cannot read " + path);
    for (unsigned m = 0; m < scene->mNumMeshes; ++m) {
        const aiMesh* mesh = scene->mMeshes[m];
        aiVector3D lo(1e9f), hi(-1e9f);
        for (unsigned i = 0; i < mesh->mNumVertices; ++i) {
            lo.x = std::min(lo.x, mesh->mVertices[i].x), lo.y = std::min(lo.y, mesh->mVertices[i].y), lo.z = std::min(lo.z, mesh->mVertices[i].z);
            hi.x = std::max(hi.x, mesh->mVertices[i].x), hi.y = std::max(hi.y, mesh->mVertices[i].y), hi.z = std::max(hi.z, mesh->mVertices[i].z);
        }
        std::printf("mesh %u %s: %u vertices, %u faces, normals %d, uv %d, x %.3f..%.3f y %.3f..%.3f z %.3f..%.3f\n", m,
                    mesh->mName.C_Str(), mesh->mNumVertices, mesh->mNumFaces, mesh->HasNormals(), mesh->HasTextureCoords(0),
                    lo.x, hi.x, lo.y, hi.y, lo.z, hi.z);
    }
    for (unsigned a = 0; a < scene->mNumAnimations; ++a) {
        const aiAnimation* animation = scene->mAnimations[a];
        std::printf("animation %u: duration %.4f, %.0f ticks/s, %u channels\n", a, animation->mDuration,
                    animation->mTicksPerSecond, animation->mNumChannels);
        for (unsigned c = 0; c < animation->mNumChannels; ++c) {
            const aiNodeAnim* ch = animation->mChannels[c];
            std::printf("  %s: %u position, %u rotation keys; key 1 at %.4f rot (%.5f %.5f %.5f %.5f)\n", ch->mNodeName.C_Str(),
                        ch->mNumPositionKeys, ch->mNumRotationKeys, ch->mRotationKeys[1].mTime, ch->mRotationKeys[1].mValue.w,
                        ch->mRotationKeys[1].mValue.x, ch->mRotationKeys[1].mValue.y, ch->mRotationKeys[1].mValue.z);
        }
    }
    return 0;
}

int previewModel(int argc, char** argv)
{
    std::string modelPath = argv[2], texturePath = argv[3], out = argv[4];
    int views = static_cast<int>(option(argc, argv, "--views", 4));
    float elevation = option(argc, argv, "--elevation", 15);
    const int size = 400;
    openGl(size, size);
    ruma::Shader* shader = ruma::Shader::fromSources(kVertex, kFragment);
    auto* model = new ruma::scene::ImportedObject(mat4(1.0f), shader, modelPath);
    if (model->meshes.empty()) fail("cannot read " + modelPath);
    GLuint texture = 0;
    if (texturePath.size() > 4 && texturePath.compare(texturePath.size() - 4, 4, ".avi") == 0) {
        auto* video = new ruma::VideoTexture(texturePath);
        video->frame = static_cast<int>(option(argc, argv, "--frame", 0));
        if (!video->decodeFrame(video->frame)) fail("the video has no frame " + std::to_string(video->frame));
        video->upload();   // into its texture, bound since it was made
        texture = video->handle;
    } else {
        texture = imageTexture(texturePath);
    }
    vec3 lo(1e9f), hi(-1e9f);
    for (const ruma::MeshRecord& mesh : model->meshes) {
        lo = glm::min(lo, vec3(mesh.minX, mesh.minY, mesh.minZ));
        hi = glm::max(hi, vec3(mesh.maxX, mesh.maxY, mesh.maxZ));
    }
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    Sheet sheet(views, 1, size, size);
    for (int v = 0; v < views; ++v) {
        clear(0.62f, 0.7f, 0.78f);
        draw(model, shader->program, texture, orbit((lo + hi) * 0.5f, glm::length(hi - lo) * 1.6f, 360.0f * v / views, elevation),
             !flag(argc, argv, "--unlit"));
        sheet.pasteView(v);
    }
    sheet.save(out);
    return 0;
}

// The cat riding its board, as the game places and animates it, through one
// cycle of the board's animation; a floor 0.25 under the cat's paws, where the
// course has it.
int previewBoard(int argc, char** argv)
{
    std::string out = absolute(argv[3]);
    int frames = static_cast<int>(option(argc, argv, "--frames", 8));
    const int size = 360;
    openGl(size, size);
    enterDataFolder(argv[2]);
    ruma::Shader* shader = ruma::Shader::fromSources(kVertex, kFragment);
    auto* cat = new ruma::scene::ImportedObject(mat4(1.0f), shader, "Resources/Models/cat.obj");
    auto* board = new ruma::scene::AnimatedObject(ruma::scene::boardUnderCat(mat4(1.0f)), shader);
    GLuint catTexture = imageTexture("Resources/Textures/cat.tga");
    GLuint boardTexture = imageTexture("Resources/Textures/skateboard2.png");
    GLuint floorTexture = flatTexture(120, 130, 150);
    // The floor: one quad, facing up.
    const float corners[] = {-2, -0.25f, -2, 2, -0.25f, 2, 2, -0.25f, -2, -2, -0.25f, -2, -2, -0.25f, 2, 2, -0.25f, 2};
    GLuint floor, floorBuffer;
    glGenVertexArrays(1, &floor);
    glBindVertexArray(floor);
    glGenBuffers(1, &floorBuffer);
    glBindBuffer(GL_ARRAY_BUFFER, floorBuffer);
    glBufferData(GL_ARRAY_BUFFER, sizeof corners, corners, GL_STATIC_DRAW);
    const GLuint position = static_cast<GLuint>(glGetAttribLocation(shader->program, "position"));
    glEnableVertexAttribArray(position);
    glVertexAttribPointer(position, 3, GL_FLOAT, GL_FALSE, 0, nullptr);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    float yaw = option(argc, argv, "--yaw", 60), elevation = option(argc, argv, "--elevation", 12);
    int columns = std::min(frames, 4);
    Sheet sheet(columns, (frames + columns - 1) / columns, size, size);
    for (int f = 0; f < frames; ++f) {
        board->animationTime = 0.0;
        board->update(2.0 * f / frames);   // one cycle of play time
        clear(0.62f, 0.7f, 0.78f);
        mat4 viewProjection = orbit({0, 0.15f, 0}, 2.0f, yaw, elevation);
        glBindVertexArray(floor);
        draw(nullptr, shader->program, floorTexture, viewProjection, false);
        draw(cat, shader->program, catTexture, viewProjection, true);
        draw(board, shader->program, boardTexture, viewProjection, false);
        sheet.pasteView(f);
    }
    sheet.save(out);
    return 0;
}

// A texture repeated over a rectangle of window pixels, drawn as the game draws text.
void ground(ruma::TextRenderer& text, const ruma::Texture* texture, float x0, float y0, float x1, float y1,
            float tilesX, float tilesY, int width, int height)
{
    std::vector<float> positions, uvs;
    ruma::appendQuad(positions, x0, y0, x1, y1);
    ruma::appendQuad(uvs, 0, 0, tilesX, tilesY);
    text.glyphQuads.draw(texture, positions.data(), uvs.data(), 6, width, height);
}

void saveWindow(const std::string& path, int width, int height, int zoom = 1)
{
    std::vector<unsigned char> rgb = grab(width, height), big(rgb.size() * zoom * zoom);
    for (int y = 0; y < height * zoom; ++y)
        for (int x = 0; x < width * zoom; ++x)
            std::memcpy(&big[(static_cast<size_t>(y) * width * zoom + x) * 3],
                        &rgb[(static_cast<size_t>(y / zoom) * width + x / zoom) * 3], 3);
    if (!ruma::saveRGBImage(path, big, width * zoom, height * zoom)) fail("cannot write " + path);
}

// The HUD of a frame of play with the statistics lines on, drawn by the
// game's text renderer over a ground: the win picture, or a course texture
// repeated as the floor seen from above.
int previewHud(int argc, char** argv)
{
    std::string out = absolute(argv[4]);
    int distance = std::atoi(argv[3]);
    const int W = 1280, H = 720;
    openGl(W, H);
    enterDataFolder(argv[2]);
    ruma::TextRenderer text;
    std::string groundFile = "Images/win.jpg";
    for (int i = 5; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--ground") == 0) groundFile = argv[i + 1];
    auto* background = new ruma::Texture("Resources/" + groundFile);
    clear(0, 0, 0);
    if (groundFile.rfind("Textures/", 0) == 0) ground(text, background, 0, 0, W, H, 4.0f, 2.25f, W, H);
    else text.overlayQuad.draw(background, W, H);
    text.drawText(true, "Objects drawn (Frustum Culling ON): 18", 20, 5, 15, W, H);
    text.drawText(true, "FPS: 60", 20, 30, 15, W, H);
    text.drawText(true, "Frametime: 16.67ms", 20, 55, 15, W, H);
    text.drawHud(distance, W, H);
    saveWindow(out, W, H);
    return 0;
}

// The fonts up close: the statistics lines at 15 px over bright and dark
// grounds (flat colours and the course's own textures), and every distance
// label on its band's panel colour, enlarged `zoom` times pixel for pixel.
int previewText(int argc, char** argv)
{
    std::string out = absolute(argv[3]);
    int zoom = std::max(1, static_cast<int>(option(argc, argv, "--zoom", 2)));
    const int W = 600, rowHeight = 44;
    struct Ground {
        const char* texture;   // or a flat colour
        unsigned char r, g, b;
    };
    const Ground grounds[] = {{nullptr, 255, 255, 255}, {nullptr, 225, 228, 232}, {"Textures/e1.jpg", 0, 0, 0},
                              {"Textures/e2.jpg", 0, 0, 0}, {"Textures/e3.jpg", 0, 0, 0}, {"Textures/e4.jpg", 0, 0, 0},
                              {nullptr, 158, 178, 199}, {nullptr, 120, 120, 120}, {nullptr, 20, 22, 30}};
    const int groundCount = static_cast<int>(sizeof grounds / sizeof grounds[0]);
    const int panelHeight = 70, H = groundCount * rowHeight + 3 * panelHeight;
    openGl(W, H);
    enterDataFolder(argv[2]);
    ruma::TextRenderer text;
    clear(0, 0, 0);
    for (int i = 0; i < groundCount; ++i) {
        int y = H - (i + 1) * rowHeight;
        if (grounds[i].texture)
            ground(text, new ruma::Texture(std::string("Resources/") + grounds[i].texture), 0, float(y), W,
                   float(y + rowHeight), 2.0f, 0.15f, W, H);
        else
            fill(0, y, W, y + rowHeight, grounds[i].r, grounds[i].g, grounds[i].b);
        text.drawText(true, "Frametime: 16.67ms FPS: 60 WireFrame-Mode ON", 8, y + 24, 15, W, H);
        text.drawText(true, "Objects drawn (Frustum Culling ON): 18 {|}_@$%&", 8, y + 5, 15, W, H);
    }
    for (int band : {ruma::kBandClose, ruma::kBandNormal, ruma::kBandFar}) {
        auto byte = [](float v) { return static_cast<unsigned char>(std::lround(v * 255)); };
        const Color& panel = kBands[band].panel;
        int y = (2 - band) * panelHeight;
        fill(0, y, W, y + panelHeight, byte(panel.r), byte(panel.g), byte(panel.b));
        // The label at its three sizes, then the one the game writes in the corner of a 600-wide window.
        text.distanceBand = band;
        text.drawText(false, "0123456789m RUN!", 8, y + 30, 35, W, H);
        text.drawText(false, "0123456789m", 8, y + 5, 20, W, H);
        text.drawText(false, "10m 100m RUN!", 240, y + 5, 15, W, H);
        text.drawDistance(ruma::layoutHud(band == 0 ? 6 : (band == 1 ? 14 : 250), W, y + panelHeight), W, H);
    }
    saveWindow(out, W, H, zoom);
    return 0;
}

// Frames of the video as the cat's texture shows them (256 x 256), every `step` frames.
int previewFrames(int argc, char** argv)
{
    int step = static_cast<int>(option(argc, argv, "--step", 10)), count = static_cast<int>(option(argc, argv, "--count", 8));
    openGl(64, 64);
    ruma::VideoTexture video(argv[2]);
    Sheet sheet(4, (count + 3) / 4, ruma::kVideoTextureSize, ruma::kVideoTextureSize);
    for (int i = 0; i < count; ++i) {
        if (!video.decodeFrame(i * step)) fail("the video has no frame " + std::to_string(i * step));
        sheet.paste(i, video.pixels());
    }
    sheet.save(argv[3]);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "info" && argc >= 3) return info(argv[2]);
    if (mode == "model" && argc >= 5) return previewModel(argc, argv);
    if (mode == "board" && argc >= 4) return previewBoard(argc, argv);
    if (mode == "hud" && argc >= 5) return previewHud(argc, argv);
    if (mode == "text" && argc >= 4) return previewText(argc, argv);
    if (mode == "frames" && argc >= 4) return previewFrames(argc, argv);
    std::fprintf(stderr, "usage: assetpreview info|model|board|hud|text|frames ... (see preview.cpp)\n");
    return 2;
}
