#include "preview.h"

#include "course_layout.h"
#include "fixed_places.h"
#include "platform/math_conventions.h"
#include "platform/window.h"
#include "render/frustum.h"
#include "render/gl.h"
#include "render/render_entry.h"
#include "render/renderer.h"
#include "render/screenshot.h"
#include "render/shader.h"
#include "render/texture.h"
#include "scene/imported_object.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <vector>

namespace ruma::course {

namespace {

constexpr int kWidth = 1280, kHeight = 720;

// Plain blocks marking the player and the slimes.
const char* kMarkerVertexShader = R"(#version 330 core
in vec3 position;
uniform mat4 MVP;
void main() { gl_Position = MVP * vec4(position, 1.0); }
)";

const char* kMarkerFragmentShader = R"(#version 330 core
uniform vec3 solid;
out vec4 fragColor;
void main() { fragColor = vec4(solid, 1.0); }
)";

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
    glUniform3f(glGetUniformLocation(program, "solid"), colour.r, colour.g, colour.b);
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

    GLuint markers = glCreateProgram();
    glAttachShader(markers, compile(GL_VERTEX_SHADER, kMarkerVertexShader));
    glAttachShader(markers, compile(GL_FRAGMENT_SHADER, kMarkerFragmentShader));
    glBindAttribLocation(markers, 0, "position");
    glLinkProgram(markers);

    // The sections as the game loads and draws them: its own objects, unlit
    // program, draw pass and culling.
    const std::string shaders = root + "/Resources/Shader/";
    std::vector<RenderEntry> sections;
    for (int s = 0; s < kSectionCount; ++s) {
        std::string stem = std::string(sectionFileStem(s)) + (lowVariant ? "b" : "");
        auto* shader = new Shader(shaders + "basic.vert", shaders + "basicnolight.frag");
        auto* section = new scene::ImportedObject(identityMatrix(), shader, root + "/Resources/Models/" + stem + ".obj");
        if (section->meshes.empty()) {
            std::fprintf(stderr, "coursegen: cannot read %s.obj\n", stem.c_str());
            return 1;
        }
        section->setName("Level");
        RenderEntry entry;
        entry.object = section;
        entry.texture = new Texture(root + "/Resources/Textures/" + stem + ".jpg");
        sections.push_back(entry);
    }
    Renderer renderer;
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
        renderer.camera.projection = projection;
        renderer.camera.view = glm::lookAt(camera, view.position, up);
        renderer.camera.cameraPosition = camera;
        renderer.camera.lookAt = view.position;
        renderer.frustum->updateFromCamera(camera, view.position, up);

        glClearColor(0.55f, 0.68f, 0.80f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        std::string drawn;
        for (int s = 0; s < kSectionCount; ++s) {
            bool inView = renderer.frustum->sectionInView(sections[s].object->meshRecords());
            drawn += std::string(" ") + sectionFileStem(s) + (inView ? "" : "(culled)");
            renderer.drawEntry(sections[s]);
        }
        // The player (a post as high as his body) and the slimes, as plain blocks.
        glUseProgram(markers);
        glm::mat4 viewProjection = projection * renderer.camera.view;
        drawBox(markers, cube, viewProjection, view.position - glm::vec3(0, 0.375f, 0), glm::vec3(0.2f, 1.5f, 0.2f),
                glm::vec3(0.85f, 0.2f, 0.6f));
        for (const SlimePlace& s : kSlimePlaces)
            drawBox(markers, cube, viewProjection, s.position + glm::vec3(0.0f, 0.25f, 0.0f), glm::vec3(0.5f),
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
