#include "render/shader.h"

#include "platform/fatal.h"
#include "platform/file_read.h"
#include "render/draw_stats.h"

#include <iostream>
#include <utility>
#include <vector>

namespace ruma {

bool readTextFile(const std::string& path, std::string& text)
{
    std::string raw;
    if (!readWholeFile(path, raw)) return false;
    text.clear();
    text.reserve(raw.size());
    for (size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n') continue;
        text.push_back(raw[i]);
    }
    return true;
}

namespace {

// The sources read so far, by path: the game builds many programs from the
// same few files (basic.vert for every scene program and each of its light
// variants), and each file is read once, while the game loads.
std::vector<std::pair<std::string, std::string>> sourcesRead;

bool readShaderSource(const std::string& path, std::string& source)
{
    for (const auto& [known, text] : sourcesRead)
        if (known == path) {
            source = text;
            return true;
        }
    if (!readTextFile(path, source)) return false;
    sourcesRead.emplace_back(path, source);
    return true;
}

// A shader that does not compile or a program that does not link: the message,
// then GL's log of it, then the wait and the exit of a fatal error.
[[noreturn]] void failWithLog(const char* message, GLuint object, PFNGLGETSHADERIVPROC getParameter,
                              PFNGLGETSHADERINFOLOGPROC getInfoLog)
{
    GLint length = 0;
    getParameter(object, GL_INFO_LOG_LENGTH, &length);
    std::vector<char> log(static_cast<size_t>(length > 0 ? length : 1), '\0');
    getInfoLog(object, length, nullptr, log.data());
    std::cout << message << std::endl;
    std::cout << log.data() << std::endl;
    pauseAndExit();
}

// The file is read before any shader object exists, so a missing file costs
// nothing but the message.
std::string readSource(const std::string& path)
{
    std::string source;
    if (!readShaderSource(path, source)) fatalError("failed to open file: " + path);
    return source;
}

void compileSource(std::string source, GLenum type, GLuint& target, const std::string& defines)
{
    if (!defines.empty()) {
        size_t lineEnd = source.find('\n');
        source.insert(lineEnd == std::string::npos ? source.size() : lineEnd + 1, defines);
    }

    target = glCreateShader(type);
    if (target == 0) fatalError("didint get valid shader handle: ");

    const char* text = source.c_str();
    glShaderSource(target, 1, &text, nullptr);
    glCompileShader(target);

    GLint status = 0;
    glGetShaderiv(target, GL_COMPILE_STATUS, &status);
    if (status != 0 && glIsShader(target)) return;
    failWithLog("Failed to compile shader", target, glGetShaderiv, glGetShaderInfoLog);
}

GLuint createProgram()
{
    ++programBuildCount;
    GLuint program = glCreateProgram();
    if (program == 0) fatalError("Didnt get a valid program handle");
    return program;
}

void link(const Shader& shader)
{
    glAttachShader(shader.program, shader.vertexShader);
    glAttachShader(shader.program, shader.fragmentShader);
    glBindFragDataLocation(shader.program, 0, "fragColor");
    glLinkProgram(shader.program);

    GLint status = 0;
    glGetProgramiv(shader.program, GL_LINK_STATUS, &status);
    if (status != 0) return;
    failWithLog("Failed to link shader program", shader.program, glGetProgramiv, glGetProgramInfoLog);
}

} // namespace

Shader::Shader(const std::string& vertexPath, const std::string& fragmentPath) : Shader(vertexPath, fragmentPath, "")
{
}

Shader::Shader(const std::string& vertexPath, const std::string& fragmentPath, const std::string& defines)
    : program(createProgram())
{
    compileSource(readSource(vertexPath), GL_VERTEX_SHADER, vertexShader, defines);
    compileSource(readSource(fragmentPath), GL_FRAGMENT_SHADER, fragmentShader, defines);
    link(*this);
}

Shader* Shader::fromSources(const std::string& vertexSource, const std::string& fragmentSource)
{
    Shader* shader = new Shader;
    shader->program = createProgram();
    compileSource(vertexSource, GL_VERTEX_SHADER, shader->vertexShader, "");
    compileSource(fragmentSource, GL_FRAGMENT_SHADER, shader->fragmentShader, "");
    link(*shader);
    return shader;
}

void forgetShaderSources()
{
    sourcesRead.clear();
    sourcesRead.shrink_to_fit();
}

void deleteShader(Shader*& shader)
{
    if (!shader) return;
    glDeleteProgram(shader->program);
    glDeleteShader(shader->vertexShader);
    glDeleteShader(shader->fragmentShader);
    delete shader;
    shader = nullptr;
}

} // namespace ruma
