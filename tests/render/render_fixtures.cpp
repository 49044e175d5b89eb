#include "render_fixtures.h"

#include "render/screenshot.h"
#include "support/process.h"

#include <glm/gtc/constants.hpp>

#include <cmath>
#include <filesystem>

namespace ruma::test {

OffscreenTarget::OffscreenTarget(int width_, int height_) : width(width_), height(height_)
{
    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glGenTextures(1, &colour);
    glBindTexture(GL_TEXTURE_2D, colour);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glFramebufferTexture(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, colour, 0);
    glGenRenderbuffers(1, &depth);
    glBindRenderbuffer(GL_RENDERBUFFER, depth);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, width, height);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth);
    glBindTexture(GL_TEXTURE_2D, 0);
}

OffscreenTarget::~OffscreenTarget()
{
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDeleteFramebuffers(1, &framebuffer);
    glDeleteTextures(1, &colour);
    glDeleteRenderbuffers(1, &depth);
}

void OffscreenTarget::bindAndClear(const glm::vec3& clearColour)
{
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glViewport(0, 0, width, height);
    glClearColor(clearColour.r, clearColour.g, clearColour.b, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
}

std::vector<unsigned char> readFramebuffer(GLuint framebuffer, int width, int height)
{
    std::vector<unsigned char> rgb(static_cast<size_t>(width) * height * 3);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    return rgb;
}

std::vector<unsigned char> OffscreenTarget::read() const { return readFramebuffer(framebuffer, width, height); }

Rgb OffscreenTarget::at(int x, int y) const
{
    unsigned char p[4] = {0, 0, 0, 0};
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    return {p[0], p[1], p[2]};
}

bool OffscreenTarget::save(const std::string& path) const
{
    return saveRGBImage(path, read(), width, height);
}

void TestMesh::draw() const
{
    glBindVertexArray(vao);
    glDrawElements(GL_TRIANGLES, indexCount, GL_UNSIGNED_INT, nullptr);
    glBindVertexArray(0);
}

void TestMesh::release()
{
    glDeleteBuffers(4, buffers);
    glDeleteVertexArrays(1, &vao);
    vao = 0;
}

namespace {

void attach(GLuint program, const char* name, GLuint buffer, const std::vector<float>& data, int size)
{
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(data.size() * sizeof(float)), data.data(),
                 GL_STATIC_DRAW);
    GLint location = glGetAttribLocation(program, name);
    if (location < 0) return;
    glEnableVertexAttribArray(static_cast<GLuint>(location));
    glVertexAttribPointer(static_cast<GLuint>(location), size, GL_FLOAT, GL_FALSE, 0, nullptr);
}

TestMesh upload(GLuint program, const std::vector<float>& positions, const std::vector<float>& normals,
                const std::vector<float>& uvs, const std::vector<unsigned>& indices)
{
    TestMesh mesh;
    glGenVertexArrays(1, &mesh.vao);
    glBindVertexArray(mesh.vao);
    glGenBuffers(4, mesh.buffers);
    attach(program, "position", mesh.buffers[0], positions, 3);
    attach(program, "normal", mesh.buffers[1], normals, 3);
    attach(program, "uv", mesh.buffers[2], uvs, 2);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, mesh.buffers[3]);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(indices.size() * sizeof(unsigned)),
                 indices.data(), GL_STATIC_DRAW);
    mesh.indexCount = static_cast<GLsizei>(indices.size());
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    return mesh;
}

} // namespace

TestMesh makeSphere(GLuint program, float radius, int rings, int segments)
{
    std::vector<float> positions, normals, uvs;
    std::vector<unsigned> indices;
    for (int r = 0; r <= rings; ++r) {
        float v = static_cast<float>(r) / rings;
        float theta = v * glm::pi<float>();
        for (int s = 0; s <= segments; ++s) {
            float u = static_cast<float>(s) / segments;
            float phi = u * 2.0f * glm::pi<float>();
            glm::vec3 n(std::sin(theta) * std::cos(phi), std::cos(theta), std::sin(theta) * std::sin(phi));
            positions.insert(positions.end(), {n.x * radius, n.y * radius, n.z * radius});
            normals.insert(normals.end(), {n.x, n.y, n.z});
            uvs.insert(uvs.end(), {u, 1.0f - v});
        }
    }
    const unsigned stride = static_cast<unsigned>(segments + 1);
    for (unsigned r = 0; r < static_cast<unsigned>(rings); ++r) {
        for (unsigned s = 0; s < static_cast<unsigned>(segments); ++s) {
            unsigned a = r * stride + s, b = a + stride;
            indices.insert(indices.end(), {a, a + 1, b, b, a + 1, b + 1});
        }
    }
    return upload(program, positions, normals, uvs, indices);
}

TestMesh makeRectangle(GLuint program, const glm::vec3& corner, const glm::vec3& edgeU,
                       const glm::vec3& edgeV)
{
    glm::vec3 n = glm::normalize(glm::cross(edgeU, edgeV));
    std::vector<float> positions, normals;
    for (glm::vec3 p : {corner, corner + edgeU, corner + edgeU + edgeV, corner + edgeV}) {
        positions.insert(positions.end(), {p.x, p.y, p.z});
        normals.insert(normals.end(), {n.x, n.y, n.z});
    }
    return upload(program, positions, normals, {0, 0, 1, 0, 1, 1, 0, 1}, {0, 1, 2, 0, 2, 3});
}

FakeDrawable::FakeDrawable(std::string name_, Shader* shader_, const TestMesh* mesh_)
    : name(std::move(name_)), shader(shader_), mesh(mesh_)
{
}

void FakeDrawable::draw()
{
    ++drawCalls;
    blendDuringDraw = glIsEnabled(GL_BLEND) == GL_TRUE;
    glGetIntegerv(GL_CURRENT_PROGRAM, &programDuringDraw);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &textureDuringDraw);
    if (mesh) mesh->draw();
}

MeshRecord boxRecord(const glm::vec3& a, const glm::vec3& b)
{
    MeshRecord record;
    record.minX = a.x;
    record.minY = a.y;
    record.minZ = a.z;
    record.maxX = b.x;
    record.maxY = b.y;
    record.maxZ = b.z;
    return record;
}

void writeImage(const std::string& path, int width, int height,
                const std::function<Rgb(int, int)>& pixel)
{
    std::vector<unsigned char> rgb;
    rgb.reserve(static_cast<size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            Rgb p = pixel(x, y);
            rgb.insert(rgb.end(), {static_cast<unsigned char>(p.r), static_cast<unsigned char>(p.g),
                                   static_cast<unsigned char>(p.b)});
        }
    }
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    saveRGBImage(path, rgb, width, height);
}

std::string pictureDir()
{
    std::string dir = buildDir() + "/test-pictures/render";
    std::filesystem::create_directories(dir);
    return dir;
}

std::string shaderPath(const std::string& file) { return sourceDir() + "/Resources/Shader/" + file; }

Shader* makeShader(const std::string& vertexFile, const std::string& fragmentFile)
{
    return new Shader(shaderPath(vertexFile), shaderPath(fragmentFile));
}

std::vector<float> uniformFloats(GLuint program, const char* name, int count)
{
    float values[16] = {};
    glGetUniformfv(program, glGetUniformLocation(program, name), values);
    return std::vector<float>(values, values + count);
}

int uniformInt(GLuint program, const char* name)
{
    GLint value = -12345;
    glGetUniformiv(program, glGetUniformLocation(program, name), &value);
    return value;
}

} // namespace ruma::test
