// The floor of the game's frame on this machine: the passes a frame of play
// makes, drawn bare at the game's window size, each timed with glFinish.
//   clear      the off-screen colour and depth
//   layer      one full-window textured quad with depth test (one layer of scene)
//   blur       a full-window pass sampling depth once and colour ten times
//   overlay    one blended full-window picture
//   blur+overlay  the blur pass laying the overlay over its result (what the
//              game's frame does instead of the last two)
// Prints the median of each and the running sums; scripts/bench divides the
// game's own figures by them. A figure, never a test.
#define GLFW_INCLUDE_NONE
#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

const char* const kQuadVertex = R"(#version 330 core
layout(location = 0) in vec2 corner;
uniform float depth;
out vec2 texCoord;
void main() { gl_Position = vec4(corner, depth, 1.0); texCoord = corner * 0.5 + 0.5; }
)";

const char* const kTextureFragment = R"(#version 330 core
in vec2 texCoord;
uniform sampler2D colorTexture;
out vec4 fragColor;
void main() { fragColor = texture(colorTexture, texCoord * 4.0); }
)";

// The blur's work without its looks: rebuild the position from depth, project
// it with another matrix, average ten samples along the difference. Built with
// CARRY_OVERLAY it lays a full-window overlay over its result in 8-bit steps,
// as the game's blur carries the HUD's overlay.
const char* const kBlurFragment = R"(#version 330 core
in vec2 texCoord;
uniform sampler2D frameTexture;
uniform sampler2D depthTexture;
uniform sampler2D overlayTexture;
uniform mat4 inverseViewProjMat;
uniform mat4 prevViewProj;
uniform float velocityScale;
out vec4 fragColor;
vec3 mulNorm(vec3 x, vec3 y) { vec3 p = x * y; return floor((p + floor(p / 256.0) + 128.0) / 256.0); }
void main()
{
    float depth = texture(depthTexture, texCoord).r;
    vec4 world = inverseViewProjMat * vec4(texCoord * 2.0 - 1.0, depth * 2.0 - 1.0, 1.0);
    world /= world.w;
    vec4 previous = prevViewProj * world;
    vec2 velocity = (texCoord - (previous.xy / previous.w * 0.5 + 0.5)) * velocityScale;
    vec3 sum = vec3(0.0);
    for (int i = 0; i < 10; ++i) sum += texture(frameTexture, texCoord + velocity * (float(i) / 9.0 - 0.5)).rgb;
    fragColor = vec4(sum / 10.0, 1.0);
#ifdef CARRY_OVERLAY
    vec3 below = roundEven(sum / 10.0 * 255.0);
    vec4 over = floor(texture(overlayTexture, texCoord) * 255.0 + 0.5);
    fragColor = vec4(min(mulNorm(over.rgb, vec3(over.a)) + mulNorm(below, vec3(255.0 - over.a)), 255.0) / 255.0, 1.0);
#endif
}
)";

// define, when given, goes right after the source's first (#version) line.
GLuint compile(GLenum type, const char* source, const char* define = nullptr)
{
    GLuint shader = glCreateShader(type);
    const std::string text(source);
    const size_t bodyStart = text.find('\n') + 1;
    const std::string full =
        define ? text.substr(0, bodyStart) + "#define " + define + "\n" + text.substr(bodyStart) : text;
    const char* pointer = full.c_str();
    glShaderSource(shader, 1, &pointer, nullptr);
    glCompileShader(shader);
    GLint ok = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        char log[2048];
        glGetShaderInfoLog(shader, sizeof log, nullptr, log);
        std::fprintf(stderr, "floor: shader: %s\n", log);
        std::exit(1);
    }
    return shader;
}

GLuint program(const char* fragment, const char* define = nullptr)
{
    GLuint p = glCreateProgram();
    glAttachShader(p, compile(GL_VERTEX_SHADER, kQuadVertex));
    glAttachShader(p, compile(GL_FRAGMENT_SHADER, fragment, define));
    glBindFragDataLocation(p, 0, "fragColor");
    glLinkProgram(p);
    return p;
}

// A patterned texture, so sampling is real work.
GLuint patternTexture(int size, bool alpha)
{
    std::vector<unsigned char> pixels(static_cast<size_t>(size) * size * 4);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            unsigned char* p = &pixels[(static_cast<size_t>(y) * size + x) * 4];
            p[0] = static_cast<unsigned char>(x * 7 ^ y * 3);
            p[1] = static_cast<unsigned char>(x + y);
            p[2] = static_cast<unsigned char>(x * y);
            p[3] = alpha ? static_cast<unsigned char>((x / 16 + y / 16) % 2 ? 40 : 200) : 255;
        }
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, alpha ? GL_RGBA : GL_RGB, size, size, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 pixels.data());
    glGenerateMipmap(GL_TEXTURE_2D);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, alpha ? GL_LINEAR : GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    return texture;
}

GLuint attachment(bool depth, int width, int height)
{
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    if (depth)
        glTexImage2D(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT24, width, height, 0, GL_DEPTH_COMPONENT, GL_FLOAT,
                     nullptr);
    else
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, width, height, 0, GL_RGB, GL_UNSIGNED_BYTE, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    return texture;
}

float median(std::vector<float> values)
{
    std::nth_element(values.begin(), values.begin() + static_cast<long>(values.size() / 2), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    const int width = argc > 1 ? std::atoi(argv[1]) : 1280;
    const int height = argc > 2 ? std::atoi(argv[2]) : 720;
    const int frames = argc > 3 ? std::atoi(argv[3]) : 200;
    if (!glfwInit()) return 1;
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 3);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 3);
    glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
    GLFWwindow* window = glfwCreateWindow(width, height, "floor", nullptr, nullptr);
    if (!window) return 1;
    glfwMakeContextCurrent(window);
    glewExperimental = GL_TRUE;
    glewInit();
    while (glGetError() != GL_NO_ERROR) {
    }

    const float quad[12] = {-1, -1, 1, -1, -1, 1, -1, 1, 1, -1, 1, 1};
    GLuint vertexArray = 0, buffer = 0;
    glGenVertexArrays(1, &vertexArray);
    glBindVertexArray(vertexArray);
    glGenBuffers(1, &buffer);
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glBufferData(GL_ARRAY_BUFFER, sizeof quad, quad, GL_STATIC_DRAW);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, 0, nullptr);

    const GLuint textured = program(kTextureFragment);
    const GLuint blur = program(kBlurFragment);
    const GLuint sceneTexture = patternTexture(1024, false);
    const GLuint overlayTexture = patternTexture(256, true);
    const GLuint colour = attachment(false, width, height);
    const GLuint depth = attachment(true, width, height);
    GLuint framebuffer = 0;
    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glFramebufferTexture(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, colour, 0);
    glFramebufferTexture(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, depth, 0);

    const float identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    const float shifted[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0.01f, 0, 0, 1};
    const GLuint blurOverlay = program(kBlurFragment, "CARRY_OVERLAY");
    for (GLuint pass : {blur, blurOverlay}) {
        glUseProgram(pass);
        glUniformMatrix4fv(glGetUniformLocation(pass, "inverseViewProjMat"), 1, GL_FALSE, identity);
        glUniformMatrix4fv(glGetUniformLocation(pass, "prevViewProj"), 1, GL_FALSE, shifted);
        glUniform1f(glGetUniformLocation(pass, "velocityScale"), 1.0f);
        glUniform1i(glGetUniformLocation(pass, "frameTexture"), 0);
        glUniform1i(glGetUniformLocation(pass, "depthTexture"), 1);
        glUniform1i(glGetUniformLocation(pass, "overlayTexture"), 2);
    }
    glUseProgram(textured);
    glUniform1i(glGetUniformLocation(textured, "colorTexture"), 0);
    const GLint depthLocation = glGetUniformLocation(textured, "depth");
    glEnable(GL_DEPTH_TEST);
    glViewport(0, 0, width, height);

    using Clock = std::chrono::steady_clock;
    std::vector<float> times[5];
    Clock::time_point last;
    auto lap = [&](int pass, bool keep) {
        glFinish();
        Clock::time_point now = Clock::now();
        if (keep) times[pass].push_back(std::chrono::duration<float, std::milli>(now - last).count());
        last = now;
    };
    const int warmUp = 10;
    for (int frame = 0; frame < frames + warmUp; ++frame) {
        const bool keep = frame >= warmUp;
        glFinish();
        last = Clock::now();
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        lap(0, keep);

        glUseProgram(textured);
        glUniform1f(depthLocation, 0.5f);
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, sceneTexture);
        glDrawArrays(GL_TRIANGLES, 0, 6);
        lap(1, keep);

        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glUseProgram(blur);
        glActiveTexture(GL_TEXTURE1);
        glBindTexture(GL_TEXTURE_2D, depth);
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, colour);
        glDrawArrays(GL_TRIANGLES, 0, 6);
        lap(2, keep);

        glDisable(GL_DEPTH_TEST);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glUseProgram(textured);
        glUniform1f(depthLocation, 0.0f);
        glBindTexture(GL_TEXTURE_2D, overlayTexture);
        glDrawArrays(GL_TRIANGLES, 0, 6);
        glDisable(GL_BLEND);
        glEnable(GL_DEPTH_TEST);
        lap(3, keep);

        glDisable(GL_DEPTH_TEST);
        glUseProgram(blurOverlay);
        glActiveTexture(GL_TEXTURE2);
        glBindTexture(GL_TEXTURE_2D, overlayTexture);
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, colour);
        glDrawArrays(GL_TRIANGLES, 0, 6);
        glEnable(GL_DEPTH_TEST);
        lap(4, keep);
        glfwSwapBuffers(window);
    }

    const float clear = median(times[0]), layer = median(times[1]), pass = median(times[2]),
                overlay = median(times[3]), carried = median(times[4]);
    std::printf("floor: %dx%d, %d frames, medians: clear %.2f ms, layer %.2f ms, blur %.2f ms, overlay %.2f ms "
                "(in all %.2f ms); blur carrying the overlay %.2f ms (clear, layer and it: %.2f ms)\n",
                width, height, frames, clear, layer, pass, overlay, clear + layer + pass + overlay, carried,
                clear + layer + carried);
    std::printf("floor-data: clear=%.3f layer=%.3f blur=%.3f overlay=%.3f total=%.3f carried=%.3f "
                "total_carried=%.3f\n",
                clear, layer, pass, overlay, clear + layer + pass + overlay, carried, clear + layer + carried);
    glfwTerminate();
    return 0;
}
