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
// Lit models get a plain toon light from above and the front; the board and
// the course-like floor are drawn unlit, as in the game. Run under Xvfb.
#include "scene/animation.h"
#include "scene/cat.h"
#include "palette.h"
#include "render/gl.h"
#include "render/screenshot.h"
#include "render/texture.h"
#include "skateboard.h"

#include <GLFW/glfw3.h>
#include <assimp/Importer.hpp>
#include <assimp/scene.h>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

using namespace assetgen;
using glm::mat4;
using glm::vec3;

namespace {

constexpr unsigned kImportFlags = 0x884A;   // as the game reads its models

[[noreturn]] void fail(const std::string& message)
{
    std::fprintf(stderr, "assetpreview: %s\n", message.c_str());
    std::exit(1);
}

// ---------------------------------------------------------------- GL set-up

struct Target {
    int width = 0, height = 0;
    GLuint framebuffer = 0;
};

Target openGl(int width, int height)
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
    Target target{width, height, 0};
    GLuint color, depth;
    glGenFramebuffers(1, &target.framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
    glGenRenderbuffers(1, &color);
    glBindRenderbuffer(GL_RENDERBUFFER, color);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, color);
    glGenRenderbuffers(1, &depth);
    glBindRenderbuffer(GL_RENDERBUFFER, depth);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, width, height);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth);
    glViewport(0, 0, width, height);
    return target;
}

std::vector<unsigned char> grab(const Target& target)
{
    std::vector<unsigned char> rgb(static_cast<size_t>(target.width) * target.height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, target.width, target.height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    return rgb;
}

GLuint compile(const char* vertex, const char* fragment)
{
    auto stage = [](GLenum type, const char* text) {
        GLuint s = glCreateShader(type);
        glShaderSource(s, 1, &text, nullptr);
        glCompileShader(s);
        GLint ok = 0;
        glGetShaderiv(s, GL_COMPILE_STATUS, &ok);
        if (!ok) fail("shader does not compile");
        return s;
    };
    GLuint program = glCreateProgram();
    glAttachShader(program, stage(GL_VERTEX_SHADER, vertex));
    glAttachShader(program, stage(GL_FRAGMENT_SHADER, fragment));
    glBindAttribLocation(program, 0, "position");
    glBindAttribLocation(program, 1, "normal");
    glBindAttribLocation(program, 2, "uv");
    glLinkProgram(program);
    return program;
}

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
out vec4 color;
void main() {
    vec4 texel = texture(colorTexture, texCoord);
    float light = 1.0;
    if (lit == 1) {
        float d = max(dot(normalize(worldNormal), normalize(vec3(0.5, 1.0, 0.7))), 0.0);
        light = d > 0.6 ? 1.0 : (d > 0.25 ? 0.78 : 0.55);
    }
    color = vec4(texel.rgb * light, texel.a);
})";

// ---------------------------------------------------------------- models

struct GpuMesh {
    GLuint vao = 0, positions = 0;
    GLsizei indexCount = 0;
    std::vector<vec3> base;
};

struct Model {
    std::vector<GpuMesh> meshes;
    std::vector<ruma::scene::AnimationChannel> channels;   // read and played as the game does
    vec3 lo{1e9f}, hi{-1e9f};
};

Model loadModel(const std::string& path)
{
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(path, kImportFlags);
    if (!scene) fail("cannot read " + path);
    Model model;
    for (unsigned m = 0; m < scene->mNumMeshes; ++m) {
        const aiMesh* mesh = scene->mMeshes[m];
        GpuMesh gpu;
        std::vector<float> normals, uvs;
        std::vector<unsigned> indices;
        for (unsigned i = 0; i < mesh->mNumVertices; ++i) {
            vec3 p(mesh->mVertices[i].x, mesh->mVertices[i].y, mesh->mVertices[i].z);
            gpu.base.push_back(p);
            model.lo = glm::min(model.lo, p);
            model.hi = glm::max(model.hi, p);
            normals.insert(normals.end(), {mesh->mNormals[i].x, mesh->mNormals[i].y, mesh->mNormals[i].z});
            uvs.insert(uvs.end(), {mesh->mTextureCoords[0][i].x, mesh->mTextureCoords[0][i].y});
        }
        for (unsigned f = 0; f < mesh->mNumFaces; ++f)
            indices.insert(indices.end(), mesh->mFaces[f].mIndices, mesh->mFaces[f].mIndices + 3);
        glGenVertexArrays(1, &gpu.vao);
        glBindVertexArray(gpu.vao);
        GLuint buffers[4];
        glGenBuffers(4, buffers);
        auto attribute = [&](GLuint buffer, GLuint index, int size, const void* data, size_t bytes) {
            glBindBuffer(GL_ARRAY_BUFFER, buffer);
            glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(bytes), data, GL_DYNAMIC_DRAW);
            glEnableVertexAttribArray(index);
            glVertexAttribPointer(index, size, GL_FLOAT, GL_FALSE, 0, nullptr);
        };
        gpu.positions = buffers[0];
        attribute(buffers[0], 0, 3, gpu.base.data(), gpu.base.size() * 12);
        attribute(buffers[1], 1, 3, normals.data(), normals.size() * 4);
        attribute(buffers[2], 2, 2, uvs.data(), uvs.size() * 4);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffers[3]);
        glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(indices.size() * 4), indices.data(), GL_STATIC_DRAW);
        gpu.indexCount = static_cast<GLsizei>(indices.size());
        model.meshes.push_back(gpu);
    }
    glBindVertexArray(0);
    model.channels = ruma::scene::readChannels(*scene);
    return model;
}

void animate(Model& model, double animationTime)
{
    for (const ruma::scene::AnimationChannel& channel : model.channels) {
        GpuMesh& mesh = model.meshes[static_cast<size_t>(channel.meshIndex)];
        ruma::scene::ChannelPose pose =
            ruma::scene::evaluateChannel(channel, ruma::scene::channelTime(animationTime, channel.duration));
        std::vector<vec3> moved(mesh.base.size());
        ruma::scene::poseVertices(&mesh.base[0].x, static_cast<unsigned>(mesh.base.size()), pose, &moved[0].x);
        glBindBuffer(GL_ARRAY_BUFFER, mesh.positions);
        glBufferSubData(GL_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(moved.size() * 12), moved.data());
    }
}

void draw(const Model& model, GLuint program, GLuint texture, const mat4& matrix, const mat4& viewProjection, bool lit)
{
    glUseProgram(program);
    glUniformMatrix4fv(glGetUniformLocation(program, "model"), 1, GL_FALSE, glm::value_ptr(matrix));
    glUniformMatrix4fv(glGetUniformLocation(program, "viewProjection"), 1, GL_FALSE, glm::value_ptr(viewProjection));
    glUniform1i(glGetUniformLocation(program, "lit"), lit ? 1 : 0);
    glUniform1i(glGetUniformLocation(program, "colorTexture"), 0);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, texture);
    for (const GpuMesh& mesh : model.meshes) {
        glBindVertexArray(mesh.vao);
        glDrawElements(GL_TRIANGLES, mesh.indexCount, GL_UNSIGNED_INT, nullptr);
    }
    glBindVertexArray(0);
}

// ---------------------------------------------------------------- textures

GLuint imageTexture(const std::string& path)
{
    ruma::Texture* texture = new ruma::Texture(path);   // the game's own loader
    GLuint handle = texture->handle;
    delete texture;   // the GL name stays: the preview lives only for one picture
    return handle;
}

// Frame k of the video, stretched to width x height (the game uses 256 x 256), bottom row first.
std::vector<unsigned char> decodeFrame(const std::string& path, int frameNumber, int width, int height)
{
    AVFormatContext* format = nullptr;
    if (avformat_open_input(&format, path.c_str(), nullptr, nullptr) < 0) fail("cannot open " + path);
    avformat_find_stream_info(format, nullptr);
    int stream = av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    const AVCodec* codec = avcodec_find_decoder(format->streams[stream]->codecpar->codec_id);
    AVCodecContext* decoder = avcodec_alloc_context3(codec);
    avcodec_parameters_to_context(decoder, format->streams[stream]->codecpar);
    avcodec_open2(decoder, codec, nullptr);
    AVPacket* packet = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    std::vector<unsigned char> rgb(static_cast<size_t>(width) * height * 3);
    int seen = 0;
    bool done = false;
    while (!done && av_read_frame(format, packet) >= 0) {
        if (packet->stream_index == stream && avcodec_send_packet(decoder, packet) >= 0)
            while (!done && avcodec_receive_frame(decoder, frame) >= 0) {
                if (seen++ < frameNumber) continue;
                SwsContext* scaler = sws_getContext(frame->width, frame->height, static_cast<AVPixelFormat>(frame->format),
                                                    width, height, AV_PIX_FMT_RGB24, SWS_BILINEAR, nullptr, nullptr, nullptr);
                uint8_t* planes[1] = {rgb.data() + static_cast<size_t>(height - 1) * width * 3};   // bottom row first
                int strides[1] = {-width * 3};
                sws_scale(scaler, frame->data, frame->linesize, 0, frame->height, planes, strides);
                sws_freeContext(scaler);
                done = true;
            }
        av_packet_unref(packet);
    }
    av_frame_free(&frame);
    av_packet_free(&packet);
    avcodec_free_context(&decoder);
    avformat_close_input(&format);
    if (!done) fail("the video has no frame " + std::to_string(frameNumber));
    return rgb;
}

GLuint videoTexture(const std::string& path, int frameNumber)
{
    std::vector<unsigned char> rgb = decodeFrame(path, frameNumber, 256, 256);
    GLuint handle;
    glGenTextures(1, &handle);
    glBindTexture(GL_TEXTURE_2D, handle);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 256, 256, 0, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    return handle;
}

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

// ---------------------------------------------------------------- pictures

// Pastes views side by side (columns x rows) into one image, bottom row first.
struct Sheet {
    int columns, rows, width, height;
    std::vector<unsigned char> rgb;
    Sheet(int c, int r, int w, int h) : columns(c), rows(r), width(w), height(h), rgb(static_cast<size_t>(c * w) * r * h * 3) {}
    void paste(int index, const std::vector<unsigned char>& view)
    {
        int cx = index % columns, cy = rows - 1 - index / columns;
        for (int y = 0; y < height; ++y)
            std::memcpy(&rgb[(static_cast<size_t>(cy * height + y) * columns * width + cx * width) * 3],
                        &view[static_cast<size_t>(y) * width * 3], static_cast<size_t>(width) * 3);
    }
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
    return glm::perspective(glm::radians(35.0f), 1.0f, distance * 0.05f, distance * 10.0f) *
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
    const aiScene* scene = importer.ReadFile(path, kImportFlags);
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
    Target target = openGl(size, size);
    GLuint program = compile(kVertex, kFragment);
    Model model = loadModel(modelPath);
    bool video = texturePath.size() > 4 && texturePath.compare(texturePath.size() - 4, 4, ".avi") == 0;
    GLuint texture = video ? videoTexture(texturePath, static_cast<int>(option(argc, argv, "--frame", 0)))
                           : imageTexture(texturePath);
    vec3 centre = (model.lo + model.hi) * 0.5f;
    float radius = glm::length(model.hi - model.lo) * 0.5f;
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    Sheet sheet(views, 1, size, size);
    for (int v = 0; v < views; ++v) {
        clear(0.62f, 0.7f, 0.78f);
        draw(model, program, texture, mat4(1.0f), orbit(centre, radius * 3.2f, 360.0f * v / views, elevation),
             !flag(argc, argv, "--unlit"));
        sheet.paste(v, grab(target));
    }
    sheet.save(out);
    return 0;
}

// The cat riding its board, as the game places it, through one cycle of the
// board's animation; a floor 0.25 under the cat's paws, where the course has it.
int previewBoard(int argc, char** argv)
{
    std::string root = argv[2], out = argv[3];
    int frames = static_cast<int>(option(argc, argv, "--frames", 8));
    const int size = 360;
    Target target = openGl(size, size);
    GLuint program = compile(kVertex, kFragment);
    Model cat = loadModel(root + "/Models/cat.obj");
    Model board = loadModel(root + "/Models/skateboard.dae");
    GLuint catTexture = imageTexture(root + "/Textures/cat.tga");
    GLuint boardTexture = imageTexture(root + "/Textures/skateboard2.png");
    GLuint floorTexture = flatTexture(120, 130, 150);
    // The floor: a flattened box from the board file's deck would do, but one quad is clearer.
    Model floor;
    {
        GpuMesh quad;
        const float p[] = {-2, -0.25f, -2, 2, -0.25f, -2, 2, -0.25f, 2, -2, -0.25f, 2};
        const float n[] = {0, 1, 0, 0, 1, 0, 0, 1, 0, 0, 1, 0};
        const float t[] = {0, 0, 1, 0, 1, 1, 0, 1};
        const unsigned idx[] = {0, 2, 1, 0, 3, 2};
        glGenVertexArrays(1, &quad.vao);
        glBindVertexArray(quad.vao);
        GLuint b[4];
        glGenBuffers(4, b);
        const void* data[3] = {p, n, t};
        const size_t bytes[3] = {sizeof p, sizeof n, sizeof t};
        for (GLuint i = 0; i < 3; ++i) {
            glBindBuffer(GL_ARRAY_BUFFER, b[i]);
            glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(bytes[i]), data[i], GL_STATIC_DRAW);
            glEnableVertexAttribArray(i);
            glVertexAttribPointer(i, i == 2 ? 2 : 3, GL_FLOAT, GL_FALSE, 0, nullptr);
        }
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, b[3]);
        glBufferData(GL_ELEMENT_ARRAY_BUFFER, sizeof idx, idx, GL_STATIC_DRAW);
        quad.indexCount = 6;
        floor.meshes.push_back(quad);
    }
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    float yaw = option(argc, argv, "--yaw", 60), elevation = option(argc, argv, "--elevation", 12);
    int columns = std::min(frames, 4);
    Sheet sheet(columns, (frames + columns - 1) / columns, size, size);
    for (int f = 0; f < frames; ++f) {
        double seconds = 2.0 * f / frames;            // one cycle of play time
        animate(board, 2.0 * seconds);               // the game's clock: twice the seconds
        clear(0.62f, 0.7f, 0.78f);
        mat4 viewProjection = orbit({0, 0.15f, 0}, 2.0f, yaw, elevation);
        draw(floor, program, floorTexture, mat4(1.0f), viewProjection, false);
        draw(cat, program, catTexture, mat4(1.0f), viewProjection, true);
        draw(board, program, boardTexture, ruma::scene::boardUnderCat(mat4(1.0f)), viewProjection, false);
        sheet.paste(f, grab(target));
    }
    sheet.save(out);
    return 0;
}

// Textured quads in window pixels (0, 0 at the lower left), blended as the
// game's HUD blends them, and text drawn cell by cell as the game draws it.
struct Flat2d {
    GLuint program = 0, vao = 0, buffers[2] = {0, 0};

    Flat2d(int width, int height)
    {
        const char* vertex = R"(#version 330 core
in vec2 position; in vec2 texCoord; uniform vec2 halfSize; out vec2 uv;
void main() { uv = texCoord; gl_Position = vec4(position / halfSize - 1.0, 0.0, 1.0); })";
        const char* fragment = R"(#version 330 core
in vec2 uv; uniform sampler2D colorTexture; out vec4 color;
void main() { color = texture(colorTexture, uv); })";
        program = compile(vertex, fragment);
        glBindAttribLocation(program, 0, "position");
        glBindAttribLocation(program, 1, "texCoord");
        glLinkProgram(program);
        glUseProgram(program);
        glUniform2f(glGetUniformLocation(program, "halfSize"), width / 2.0f, height / 2.0f);
        glGenVertexArrays(1, &vao);
        glBindVertexArray(vao);
        glGenBuffers(2, buffers);
    }

    void quads(const std::vector<float>& positions, const std::vector<float>& uvs, GLuint texture)
    {
        for (GLuint i = 0; i < 2; ++i) {
            const std::vector<float>& data = i == 0 ? positions : uvs;
            glBindBuffer(GL_ARRAY_BUFFER, buffers[i]);
            glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(data.size() * 4), data.data(), GL_STATIC_DRAW);
            glEnableVertexAttribArray(i);
            glVertexAttribPointer(i, 2, GL_FLOAT, GL_FALSE, 0, nullptr);
        }
        glBindTexture(GL_TEXTURE_2D, texture);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(positions.size() / 2));
    }

    // A rectangle showing the texture repeated `tiles` times across.
    void rect(float x0, float y0, float x1, float y1, GLuint texture, float tilesX = 1, float tilesY = 1)
    {
        quads({x0, y1, x0, y0, x1, y1, x1, y0, x1, y1, x0, y0},
              {0, tilesY, 0, 0, tilesX, tilesY, tilesX, 0, tilesX, tilesY, 0, 0}, texture);
    }

    // Every character on a size x size quad, its lower-left corner at (x, y).
    void text(const std::string& s, int x, int y, int size, GLuint font)
    {
        std::vector<float> p, t;
        for (size_t i = 0; i < s.size(); ++i) {
            float x0 = float(x + int(i) * size), x1 = float(x + int(i + 1) * size), y0 = float(y), y1 = float(y + size);
            int b = static_cast<unsigned char>(s[i]);
            float u0 = (b % 16) * 0.0625f, u1 = u0 + 0.0625f, v = (b / 16) * 0.0625f;
            p.insert(p.end(), {x0, y1, x0, y0, x1, y1, x1, y0, x1, y1, x0, y0});
            t.insert(t.end(), {u0, 1 - v, u0, 1 - v - 0.0625f, u1, 1 - v, u1, 1 - v - 0.0625f, u1, 1 - v, u0, 1 - v - 0.0625f});
        }
        quads(p, t, font);
    }
};

const char* kBandNames[3] = {"CLOSE", "NORMAL", "FAR"};
const char* kDarkFonts[3] = {"segeodarkclose", "segeodarknormal", "segeodarkfar"};

// The distance label where the HUD writes it on a width x height window.
void distanceLabel(Flat2d& flat, int band, int distance, int W, int H, GLuint font)
{
    std::string label = std::to_string(distance / 2) + "m";
    int len = static_cast<int>(label.size());
    if (band == 0) {
        flat.text(label, W - 35 * len - 20, H - 60, 35, font);
        flat.text("RUN!", W - 35 * len - 20, H - 75, 15, font);
    } else if (band == 1) {
        flat.text(label, W - 20 * len - 19, H - 45, 20, font);
    } else {
        flat.text(label, W - 15 * len - 10, H - 35, 15, font);
    }
}

// The distance overlay and label drawn as the HUD draws them, over the
// statistics lines the game writes first at the lower left. The ground is the
// win picture, or a course texture repeated as the floor seen from above.
int previewHud(int argc, char** argv)
{
    std::string root = argv[2], out = argv[4];
    int distance = std::atoi(argv[3]);
    const int W = 1280, H = 720;
    Target target = openGl(W, H);
    Flat2d flat(W, H);
    int band = distance < 10 ? 0 : (distance < 20 ? 1 : 2);
    std::string ground = "Images/win.jpg";
    for (int i = 5; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--ground") == 0) ground = argv[i + 1];
    bool course = ground.rfind("Textures/", 0) == 0;
    GLuint background = imageTexture(root + "/" + ground);
    GLuint overlay = imageTexture(root + "/Images/ui" + std::string(kBandNames[band]) + ".png");
    GLuint font = imageTexture(root + "/Fonts/" + std::string(kDarkFonts[band]) + ".png");
    GLuint plain = imageTexture(root + "/Fonts/segeo.png");
    clear(0, 0, 0);
    flat.rect(0, 0, W, H, background, course ? 4.0f : 1.0f, course ? 2.25f : 1.0f);
    flat.text("Objects drawn (Frustum Culling ON): 18", 20, 5, 15, plain);
    flat.text("FPS: 60", 20, 30, 15, plain);
    flat.text("Frametime: 16.67ms", 20, 55, 15, plain);
    flat.rect(0, 0, W, H, overlay);
    distanceLabel(flat, band, distance, W, H, font);
    std::vector<unsigned char> rgb = grab(target);
    if (!ruma::saveRGBImage(out, rgb, W, H)) fail("cannot write " + out);
    return 0;
}

// The fonts up close: the statistics lines at 15 px over bright and dark
// grounds (flat colours and the course's own textures), and every distance
// label on its band's panel colour, enlarged `zoom` times pixel for pixel.
int previewText(int argc, char** argv)
{
    std::string root = argv[2], out = argv[3];
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
    Target target = openGl(W, H);
    Flat2d flat(W, H);
    GLuint plain = imageTexture(root + "/Fonts/segeo.png");
    clear(0, 0, 0);
    for (int i = 0; i < groundCount; ++i) {
        int y = H - (i + 1) * rowHeight;
        GLuint texture = grounds[i].texture ? imageTexture(root + "/" + grounds[i].texture)
                                            : flatTexture(grounds[i].r, grounds[i].g, grounds[i].b);
        flat.rect(0, float(y), W, float(y + rowHeight), texture, grounds[i].texture ? 2.0f : 1.0f, 0.15f);
        flat.text("Frametime: 16.67ms FPS: 60 WireFrame-Mode ON", 8, y + 24, 15, plain);
        flat.text("Objects drawn (Frustum Culling ON): 18 {|}_@$%&", 8, y + 5, 15, plain);
    }
    for (int band = 0; band < 3; ++band) {
        const Color& panel = kBands[band].panel;
        auto byte = [](float v) { return static_cast<unsigned char>(std::lround(v * 255)); };
        int y = (2 - band) * panelHeight;
        GLuint font = imageTexture(root + "/Fonts/" + std::string(kDarkFonts[band]) + ".png");
        flat.rect(0, float(y), W, float(y + panelHeight), flatTexture(byte(panel.r), byte(panel.g), byte(panel.b)));
        // The label at its three sizes, then the one the game uses in its corner of a 600-wide window.
        flat.text("0123456789m RUN!", 8, y + 30, 35, font);
        flat.text("0123456789m", 8, y + 5, 20, font);
        flat.text("10m 100m RUN!", 240, y + 5, 15, font);
        distanceLabel(flat, band, band == 0 ? 6 : (band == 1 ? 14 : 250), W, y + panelHeight, font);
    }
    std::vector<unsigned char> rgb = grab(target), big(rgb.size() * zoom * zoom);
    for (int y = 0; y < H * zoom; ++y)
        for (int x = 0; x < W * zoom; ++x)
            std::memcpy(&big[(static_cast<size_t>(y) * W * zoom + x) * 3], &rgb[(static_cast<size_t>(y / zoom) * W + x / zoom) * 3], 3);
    if (!ruma::saveRGBImage(out, big, W * zoom, H * zoom)) fail("cannot write " + out);
    return 0;
}

// Frames of the video as it is stored, 320 x 240, every `step` frames.
int previewFrames(int argc, char** argv)
{
    int step = static_cast<int>(option(argc, argv, "--step", 10)), count = static_cast<int>(option(argc, argv, "--count", 8));
    Sheet sheet(4, (count + 3) / 4, 320, 240);
    for (int i = 0; i < count; ++i) sheet.paste(i, decodeFrame(argv[2], i * step, 320, 240));
    sheet.save(argv[3]);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    av_log_set_level(AV_LOG_ERROR);
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
