#include "render_fixtures.h"

#include "support/process.h"

#include <glm/gtc/constants.hpp>

#include <cmath>

namespace ruma::test {

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

TestMesh upload(GLuint program, const std::vector<float>& positions, const std::vector<float>& normals,
                const std::vector<float>& uvs, const std::vector<unsigned>& indices)
{
    TestMesh mesh;
    glGenVertexArrays(1, &mesh.vao);
    glBindVertexArray(mesh.vao);
    glGenBuffers(4, mesh.buffers);
    const std::vector<float>* data[3] = {&positions, &normals, &uvs};
    const char* names[3] = {"position", "normal", "uv"};
    for (int i = 0; i < 3; ++i) {
        glBindBuffer(GL_ARRAY_BUFFER, mesh.buffers[i]);
        glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(data[i]->size() * sizeof(float)), data[i]->data(), GL_STATIC_DRAW);
        const GLint location = glGetAttribLocation(program, names[i]);
        if (location < 0) continue;
        glEnableVertexAttribArray(GLuint(location));
        glVertexAttribPointer(GLuint(location), i == 2 ? 2 : 3, GL_FLOAT, GL_FALSE, 0, nullptr);
    }
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, mesh.buffers[3]);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(indices.size() * sizeof(unsigned)), indices.data(),
                 GL_STATIC_DRAW);
    mesh.indexCount = GLsizei(indices.size());
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    return mesh;
}

} // namespace

TestMesh makeSphere(GLuint program, float radius)
{
    const unsigned rings = 24, segments = 32;
    std::vector<float> positions, normals, uvs;
    std::vector<unsigned> indices;
    for (unsigned r = 0; r <= rings; ++r)
        for (unsigned s = 0; s <= segments; ++s) {
            const float v = float(r) / rings, u = float(s) / segments;
            const float theta = v * glm::pi<float>(), phi = u * 2.0f * glm::pi<float>();
            const glm::vec3 n(std::sin(theta) * std::cos(phi), std::cos(theta), std::sin(theta) * std::sin(phi));
            positions.insert(positions.end(), {n.x * radius, n.y * radius, n.z * radius});
            normals.insert(normals.end(), {n.x, n.y, n.z});
            uvs.insert(uvs.end(), {u, 1.0f - v});
            if (r < rings && s < segments) {
                const unsigned a = r * (segments + 1) + s, b = a + segments + 1;
                indices.insert(indices.end(), {a, a + 1, b, b, a + 1, b + 1});
            }
        }
    return upload(program, positions, normals, uvs, indices);
}

TestMesh makeRectangle(GLuint program, const glm::vec3& corner, const glm::vec3& edgeU, const glm::vec3& edgeV)
{
    const glm::vec3 n = glm::normalize(glm::cross(edgeU, edgeV));
    std::vector<float> positions, normals;
    for (glm::vec3 p : {corner, corner + edgeU, corner + edgeU + edgeV, corner + edgeV}) {
        positions.insert(positions.end(), {p.x, p.y, p.z});
        normals.insert(normals.end(), {n.x, n.y, n.z});
    }
    return upload(program, positions, normals, {0, 0, 1, 0, 1, 1, 0, 1}, {0, 1, 2, 0, 2, 3});
}

void FakeDrawable::draw()
{
    ++drawCalls;
    if (mesh) mesh->draw();
}

Shader* makeShader(const std::string& vertexFile, const std::string& fragmentFile)
{
    const std::string dir = sourceDir() + "/Resources/Shader/";
    return new Shader(dir + vertexFile, dir + fragmentFile);
}

} // namespace ruma::test
