#include "preview.h"

#include "course_layout.h"
#include "fixed_places.h"
#include "platform/math_conventions.h"
#include "platform/window.h"
#include "render/gl.h"
#include "render/screenshot.h"
#include "render/texture.h"
#include "scene/mesh_extents.h"

#include <assimp/Importer.hpp>
#include <assimp/scene.h>

#include <cctype>
#include <cmath>
#include <cstdio>
#include <vector>

namespace ruma::course {

namespace {

constexpr int kWidth = 1280, kHeight = 720;

const char* kVertexShader = R"(#version 330 core
in vec3 position;
in vec2 uv;
uniform mat4 MVP;
out vec2 texCoord;
void main() { texCoord = uv; gl_Position = MVP * vec4(position, 1.0); }
)";

// Like the game's unlit shader: the texture at the mesh's coordinates.
const char* kFragmentShader = R"(#version 330 core
in vec2 texCoord;
uniform sampler2D colorTexture;
uniform vec4 solid;
out vec4 fragColor;
void main() { fragColor = solid.a > 0.5 ? vec4(solid.rgb, 1.0) : texture(colorTexture, texCoord); }
)";

struct DrawMesh {
    GLuint vao = 0;
    GLsizei indices = 0;
    MeshRecord box;
};

struct Section {
    std::vector<DrawMesh> meshes;
    Texture* texture = nullptr;
};

GLuint compile(GLenum type, const char* source)
{
    GLuint shader = glCreateShader(type);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    return shader;
}

GLuint buffer(GLenum target, const void* data, size_t bytes)
{
    GLuint name;
    glGenBuffers(1, &name);
    glBindBuffer(target, name);
    glBufferData(target, static_cast<GLsizeiptr>(bytes), data, GL_STATIC_DRAW);
    return name;
}

// Loads a section as the game does: Assimp with the game's flags, one vertex
// array and one box per mesh.
bool loadSection(const std::string& path, GLuint program, Section& section)
{
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(path, scene::kModelImportFlags);
    if (!scene) return false;
    for (unsigned m = 0; m < scene->mNumMeshes; ++m) {
        const aiMesh* mesh = scene->mMeshes[m];
        DrawMesh draw;
        std::vector<unsigned> indices;
        for (unsigned f = 0; f < mesh->mNumFaces; ++f)
            for (unsigned k = 0; k < 3 && k < mesh->mFaces[f].mNumIndices; ++k) indices.push_back(mesh->mFaces[f].mIndices[k]);
        std::vector<float> uvs;
        for (unsigned v = 0; v < mesh->mNumVertices; ++v) {
            uvs.push_back(mesh->mTextureCoords[0][v].x);
            uvs.push_back(mesh->mTextureCoords[0][v].y);
        }
        scene::computeExtents(&mesh->mVertices[0].x, mesh->mNumVertices, glm::vec3(0.0f), draw.box);
        glGenVertexArrays(1, &draw.vao);
        glBindVertexArray(draw.vao);
        buffer(GL_ELEMENT_ARRAY_BUFFER, indices.data(), indices.size() * sizeof(unsigned));
        buffer(GL_ARRAY_BUFFER, mesh->mVertices, mesh->mNumVertices * sizeof(aiVector3D));
        GLint position = glGetAttribLocation(program, "position");
        glEnableVertexAttribArray(position);
        glVertexAttribPointer(position, 3, GL_FLOAT, GL_FALSE, 0, nullptr);
        buffer(GL_ARRAY_BUFFER, uvs.data(), uvs.size() * sizeof(float));
        GLint uv = glGetAttribLocation(program, "uv");
        glEnableVertexAttribArray(uv);
        glVertexAttribPointer(uv, 2, GL_FLOAT, GL_FALSE, 0, nullptr);
        draw.indices = static_cast<GLsizei>(indices.size());
        section.meshes.push_back(draw);
    }
    return true;
}

// The game's frustum test: planes built from the camera (60 degrees, 16:9,
// near 0.1, far 100); a box fails only when all its corners lie outside one plane.
struct Frustum {
    glm::vec4 planes[6];

    Frustum(glm::vec3 p, glm::vec3 l, glm::vec3 u)
    {
        float t = static_cast<float>(std::tan(60 * 0.017453292519943295 * 0.5));
        float nh = t * 0.1f, nw = nh * 16 / 9;
        glm::vec3 f = glm::normalize(l - p), X = glm::normalize(glm::cross(u, f)), Y = glm::cross(f, X);
        glm::vec3 nc = p + f * 0.1f, fc = p + f * 100.0f;
        auto plane = [](glm::vec3 n, glm::vec3 q) { return glm::vec4(n, -glm::dot(n, q)); };
        glm::vec3 q[4] = {nc + Y * nh, nc - Y * nh, nc - X * nw, nc + X * nw};
        planes[0] = plane(glm::normalize(glm::cross(glm::normalize(q[0] - p), X)), q[0]);
        planes[1] = plane(glm::normalize(glm::cross(X, glm::normalize(q[1] - p))), q[1]);
        planes[2] = plane(glm::normalize(glm::cross(glm::normalize(q[2] - p), Y)), q[2]);
        planes[3] = plane(glm::normalize(glm::cross(Y, glm::normalize(q[3] - p))), q[3]);
        planes[4] = plane(-f, nc);
        planes[5] = plane(f, fc);
    }

    bool touches(const MeshRecord& b) const
    {
        for (const glm::vec4& pl : planes) {
            int inside = 0;
            for (int c = 0; c < 8; ++c) {
                glm::vec3 k(c & 1 ? b.maxX : b.minX, c & 2 ? b.maxY : b.minY, c & 4 ? b.maxZ : b.minZ);
                if (glm::dot(glm::vec3(pl), k) + pl.w <= 0) ++inside;
            }
            if (inside == 0) return false;
        }
        return true;
    }
};

struct View {
    std::string name;
    glm::vec3 position;   // the controls' position: floor + 1.125
    float heading;        // radians, 0 = +z
};

std::vector<View> viewsAlongPath()
{
    std::vector<View> views;
    const auto& path = course().path;
    for (size_t i = 0; i + 1 < path.size(); ++i) {
        const PathPoint& a = path[i];
        const PathPoint& b = path[i + 1];
        if (a.name == b.name || std::hypot(b.x - a.x, b.z - a.z) < 1.0) continue;
        float heading = static_cast<float>(std::atan2(b.x - a.x, b.z - a.z));
        glm::vec3 p(static_cast<float>(a.x), static_cast<float>(a.floor + kStandingPositionAboveFloor),
                    static_cast<float>(a.z));
        views.push_back({a.name + " fwd", p, heading});
        views.push_back({a.name + " back", p, heading + 3.14159265f});
    }
    return views;
}

void drawBox(GLuint program, GLuint vao, const glm::mat4& viewProjection, glm::vec3 centre, glm::vec3 size,
             glm::vec3 colour)
{
    glm::mat4 model = glm::scale(glm::translate(identityMatrix(), centre), size);
    glm::mat4 mvp = viewProjection * model;
    glUniformMatrix4fv(glGetUniformLocation(program, "MVP"), 1, GL_FALSE, &mvp[0][0]);
    glUniform4f(glGetUniformLocation(program, "solid"), colour.r, colour.g, colour.b, 1.0f);
    glBindVertexArray(vao);
    glDrawArrays(GL_TRIANGLES, 0, 36);
}

GLuint unitCube()
{
    static const float corners[8][3] = {{-.5f, -.5f, -.5f}, {.5f, -.5f, -.5f}, {.5f, .5f, -.5f}, {-.5f, .5f, -.5f},
                                        {-.5f, -.5f, .5f},  {.5f, -.5f, .5f},  {.5f, .5f, .5f},  {-.5f, .5f, .5f}};
    static const int tris[36] = {0, 2, 1, 0, 3, 2, 4, 5, 6, 4, 6, 7, 0, 1, 5, 0, 5, 4,
                                 3, 7, 6, 3, 6, 2, 0, 4, 7, 0, 7, 3, 1, 2, 6, 1, 6, 5};
    std::vector<float> data;
    for (int i : tris) data.insert(data.end(), corners[i], corners[i] + 3);
    GLuint vao;
    glGenVertexArrays(1, &vao);
    glBindVertexArray(vao);
    buffer(GL_ARRAY_BUFFER, data.data(), data.size() * sizeof(float));
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, 0, nullptr);
    return vao;
}

} // namespace

int runPreview(const std::string& root, const std::string& outDir, bool lowVariant)
{
    if (!glfwInit()) {
        std::fprintf(stderr, "coursegen: no display\n");
        return 1;
    }
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 3);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 3);
    glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    window = glfwCreateWindow(kWidth, kHeight, "coursegen preview", nullptr, nullptr);
    if (!window) {
        std::fprintf(stderr, "coursegen: no GL 3.3 window\n");
        return 1;
    }
    glfwMakeContextCurrent(window);
    glewExperimental = GL_TRUE;
    glewInit();
    while (glGetError() != GL_NO_ERROR) {
    }
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);

    GLuint program = glCreateProgram();
    glAttachShader(program, compile(GL_VERTEX_SHADER, kVertexShader));
    glAttachShader(program, compile(GL_FRAGMENT_SHADER, kFragmentShader));
    glBindAttribLocation(program, 0, "position");
    glLinkProgram(program);
    glUseProgram(program);

    Section sections[kSectionCount];
    for (int s = 0; s < kSectionCount; ++s) {
        std::string stem = std::string(sectionFileStem(s)) + (lowVariant ? "b" : "");
        if (!loadSection(root + "/Resources/Models/" + stem + ".obj", program, sections[s])) {
            std::fprintf(stderr, "coursegen: cannot read %s.obj\n", stem.c_str());
            return 1;
        }
        sections[s].texture = new Texture(root + "/Resources/Textures/" + stem + ".jpg");
    }
    GLuint cube = unitCube();
    glm::mat4 projection = perspectiveDegrees(60.0f, 16.0f / 9.0f, 0.1f, 100.0f);
    const float pitch = -0.25f;

    std::vector<View> views = viewsAlongPath();
    for (size_t i = 0; i < views.size(); ++i) {
        const View& view = views[i];
        glm::vec3 direction(std::cos(pitch) * std::sin(view.heading), std::sin(pitch),
                            std::cos(pitch) * std::cos(view.heading));
        glm::vec3 right(std::sin(view.heading - 1.57f), 0.0f, std::cos(view.heading - 1.57f));
        glm::vec3 up = glm::normalize(glm::cross(right, direction));
        glm::vec3 camera = view.position - direction * 2.0f;
        glm::mat4 viewProjection = projection * glm::lookAt(camera, view.position, up);
        Frustum frustum(camera, view.position, up);

        glClearColor(0.55f, 0.68f, 0.80f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        std::string drawn;
        for (int s = 0; s < kSectionCount; ++s) {
            const Section& section = sections[s];
            int visible = 0;
            for (const DrawMesh& m : section.meshes) visible += frustum.touches(m.box) ? 1 : 0;
            bool draw = static_cast<float>(visible) >= static_cast<float>(section.meshes.size()) / 3.0f;
            drawn += std::string(" ") + sectionFileStem(s) + (draw ? "" : "(culled)");
            if (!draw) continue;
            glUniformMatrix4fv(glGetUniformLocation(program, "MVP"), 1, GL_FALSE, &viewProjection[0][0]);
            glUniform4f(glGetUniformLocation(program, "solid"), 0, 0, 0, 0);
            glActiveTexture(GL_TEXTURE0);
            glBindTexture(GL_TEXTURE_2D, section.texture->handle);
            glUniform1i(glGetUniformLocation(program, "colorTexture"), 0);
            for (const DrawMesh& m : section.meshes) {
                glBindVertexArray(m.vao);
                glDrawElements(GL_TRIANGLES, m.indices, GL_UNSIGNED_INT, nullptr);
            }
        }
        // The player (a post as high as his body) and the slimes, as plain blocks.
        drawBox(program, cube, viewProjection, view.position - glm::vec3(0, 0.375f, 0), glm::vec3(0.2f, 1.5f, 0.2f),
                glm::vec3(0.85f, 0.2f, 0.6f));
        for (const SlimePlace& s : kSlimePlaces)
            drawBox(program, cube, viewProjection, s.position + glm::vec3(0.0f, 0.25f, 0.0f), glm::vec3(0.5f),
                    glm::vec3(0.3f, 0.9f, 0.3f));

        char file[512];
        std::string name = view.name;
        for (char& c : name)
            if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
        std::snprintf(file, sizeof file, "%s/preview_%02zu_%s.png", outDir.c_str(), i, name.c_str());
        saveScreenshot(file, kWidth, kHeight);
        std::printf("%s:%s\n", file, drawn.c_str());
    }
    return 0;
}

} // namespace ruma::course
