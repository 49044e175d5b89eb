#include "mesh.h"

#include <glm/gtc/matrix_inverse.hpp>

#include <cmath>
#include <cstdio>

namespace assetgen {

using glm::vec2;
using glm::vec3;

void Mesh::append(const Mesh& other)
{
    auto base = static_cast<uint32_t>(vertices.size());
    vertices.insert(vertices.end(), other.vertices.begin(), other.vertices.end());
    for (uint32_t i : other.indices) indices.push_back(base + i);
}

void Mesh::transform(const glm::mat4& matrix)
{
    glm::mat3 normalMatrix = glm::inverseTranspose(glm::mat3(matrix));
    for (Vertex& v : vertices) {
        v.position = vec3(matrix * glm::vec4(v.position, 1.0f));
        v.normal = glm::normalize(normalMatrix * v.normal);
    }
}

void Mesh::mapUv(const std::function<vec2(vec3)>& projection)
{
    for (Vertex& v : vertices) v.uv = projection(v.position);
}

vec3 Mesh::minimum() const
{
    vec3 m(1e30f);
    for (const Vertex& v : vertices) m = glm::min(m, v.position);
    return m;
}

vec3 Mesh::maximum() const
{
    vec3 m(-1e30f);
    for (const Vertex& v : vertices) m = glm::max(m, v.position);
    return m;
}

vec3 Frame::right() const { return glm::cross(axis, front); }

Frame frameBetween(vec3 a, vec3 b, vec3 front)
{
    Frame f;
    f.origin = a;
    f.axis = glm::normalize(b - a);
    vec3 ahead = front - f.axis * glm::dot(front, f.axis);
    if (glm::length(ahead) < 1e-4f) ahead = glm::cross(f.axis, vec3(1, 0, 0));
    f.front = glm::normalize(ahead);
    return f;
}

void orientTriangles(Mesh& mesh)
{
    for (size_t i = 0; i + 2 < mesh.indices.size(); i += 3) {
        const Vertex& a = mesh.vertices[mesh.indices[i]];
        const Vertex& b = mesh.vertices[mesh.indices[i + 1]];
        const Vertex& c = mesh.vertices[mesh.indices[i + 2]];
        vec3 faceNormal = glm::cross(b.position - a.position, c.position - a.position);
        if (glm::dot(faceNormal, a.normal + b.normal + c.normal) < 0.0f)
            std::swap(mesh.indices[i + 1], mesh.indices[i + 2]);
    }
}

Mesh revolve(const Revolve& solid, const std::vector<Band>& bands)
{
    Mesh mesh;
    const Frame& f = solid.frame;
    vec3 right = f.right();
    for (const Band& band : bands) {
        auto base = static_cast<uint32_t>(mesh.vertices.size());
        for (int r = 0; r <= band.rows; ++r) {
            float t = static_cast<float>(r) / band.rows;
            vec2 p = band.profile(t);
            const float e = 1e-3f;
            vec2 d = band.profile(std::min(t + e, 1.0f)) - band.profile(std::max(t - e, 0.0f));
            vec2 n2 = glm::length(d) > 1e-9f ? glm::normalize(vec2(d.y, -d.x)) : vec2(0.0f, t < 0.5f ? -1.0f : 1.0f);
            for (int k = 0; k <= solid.slices; ++k) {
                float s = static_cast<float>(k) / solid.slices;
                float phi = solid.angle0 + (solid.angle1 - solid.angle0) * s;
                float c = std::cos(phi), sn = std::sin(phi);
                Vertex v;
                v.position = f.origin + f.front * (solid.radiusScale.x * p.x * c) +
                             right * (solid.radiusScale.y * p.x * sn) + f.axis * p.y;
                vec3 n = f.front * (n2.x * c / solid.radiusScale.x) + right * (n2.x * sn / solid.radiusScale.y) +
                         f.axis * n2.y;
                v.normal = glm::normalize(n);
                v.uv = solid.rect.at(s, band.t0 + (band.t1 - band.t0) * t);
                mesh.vertices.push_back(v);
            }
        }
        auto row = static_cast<uint32_t>(solid.slices + 1);
        for (int r = 0; r < band.rows; ++r)
            for (int k = 0; k < solid.slices; ++k) {
                uint32_t a = base + r * row + k, b = a + 1, c = a + row + 1, d = a + row;
                const uint32_t quads[2][3] = {{a, b, c}, {a, c, d}};
                for (const auto& q : quads) {
                    vec3 e1 = mesh.vertices[q[1]].position - mesh.vertices[q[0]].position;
                    vec3 e2 = mesh.vertices[q[2]].position - mesh.vertices[q[0]].position;
                    if (glm::length(glm::cross(e1, e2)) < 1e-10f) continue;   // collapsed at a pole
                    mesh.indices.insert(mesh.indices.end(), {q[0], q[1], q[2]});
                }
            }
    }
    orientTriangles(mesh);
    return mesh;
}

Mesh ellipsoid(const Frame& frame, vec3 radii, int slices, int stacks, UvRect rect, float angle0, float angle1)
{
    Revolve solid{frame, {radii.x, radii.z}, slices, angle0, angle1, rect};
    float up = radii.y;
    Band band{[up](float t) {
                  float theta = -1.5707963f + 3.14159265f * t;
                  return vec2(std::cos(theta), up * std::sin(theta));
              },
              stacks, 0.0f, 1.0f};
    return revolve(solid, {band});
}

Mesh cylinder(const Frame& frame, float length, float radius0, float radius1, int slices, UvRect rect, float capT)
{
    Revolve solid{frame, {1.0f, 1.0f}, slices, -3.14159265f, 3.14159265f, rect};
    std::vector<Band> bands = {
        {[=](float t) { return vec2(radius0 * t, 0.0f); }, 1, 0.0f, capT},
        {[=](float t) { return vec2(radius0 + (radius1 - radius0) * t, length * t); }, 2, capT, 1.0f - capT},
        {[=](float t) { return vec2(radius1 * (1.0f - t), length); }, 1, 1.0f - capT, 1.0f},
    };
    return revolve(solid, bands);
}

Mesh box(vec3 lo, vec3 hi, UvRect rect)
{
    Mesh mesh;
    // Each face: normal, and two edge directions spanning it from a corner.
    const vec3 normals[6] = {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
    vec3 size = hi - lo;
    for (const vec3& n : normals) {
        vec3 u = std::fabs(n.y) > 0.5f ? vec3(1, 0, 0) : glm::normalize(glm::cross(vec3(0, 1, 0), n));
        vec3 w = glm::cross(n, u);
        vec3 centre = (lo + hi) * 0.5f + n * glm::abs(glm::dot(size, n)) * 0.5f;
        float hu = std::fabs(glm::dot(size, u)) * 0.5f, hw = std::fabs(glm::dot(size, w)) * 0.5f;
        auto base = static_cast<uint32_t>(mesh.vertices.size());
        const vec2 corners[4] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
        for (const vec2& c : corners) {
            Vertex v;
            v.position = centre + u * (hu * (2 * c.x - 1)) + w * (hw * (2 * c.y - 1));
            v.normal = n;
            v.uv = rect.at(c.x, c.y);
            mesh.vertices.push_back(v);
        }
        mesh.indices.insert(mesh.indices.end(), {base, base + 1, base + 2, base, base + 2, base + 3});
    }
    orientTriangles(mesh);
    return mesh;
}

namespace {

void appendNumbers(std::string& out, const char* tag, std::initializer_list<float> values)
{
    out += tag;
    char buffer[32];
    for (float value : values) {
        if (std::fabs(value) < 5e-6f) value = 0.0f;   // no "-0.00000"
        std::snprintf(buffer, sizeof buffer, " %.5f", value);
        out += buffer;
    }
    out += '\n';
}

} // namespace

std::string toObj(const std::vector<Mesh>& meshes, const std::string& comment)
{
    std::string out = "# " + comment + "\n";
    size_t base = 1;
    for (const Mesh& mesh : meshes) {
        out += "o " + mesh.name + "\n";
        for (const Vertex& v : mesh.vertices) appendNumbers(out, "v", {v.position.x, v.position.y, v.position.z});
        for (const Vertex& v : mesh.vertices) appendNumbers(out, "vt", {v.uv.x, v.uv.y});
        for (const Vertex& v : mesh.vertices) appendNumbers(out, "vn", {v.normal.x, v.normal.y, v.normal.z});
        for (size_t i = 0; i + 2 < mesh.indices.size(); i += 3) {
            out += "f";
            for (int k = 0; k < 3; ++k) {
                std::string n = std::to_string(base + mesh.indices[i + k]);
                out += " " + n + "/" + n + "/" + n;
            }
            out += '\n';
        }
        base += mesh.vertices.size();
    }
    return out;
}

} // namespace assetgen
