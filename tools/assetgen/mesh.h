// Triangle meshes built from a few solids of revolution and boxes, each part
// mapped to its own rectangle of a texture atlas, and written as OBJ.
#pragma once

#include <glm/glm.hpp>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace assetgen {

struct Vertex {
    glm::vec3 position{0.0f};
    glm::vec3 normal{0.0f, 1.0f, 0.0f};
    glm::vec2 uv{0.0f};
};

struct Mesh {
    std::string name;
    std::vector<Vertex> vertices;
    std::vector<uint32_t> indices;   // three per triangle, counter-clockwise from outside

    void append(const Mesh& other);
    void transform(const glm::mat4& matrix);
    // Gives every vertex a new texture coordinate from its position.
    void mapUv(const std::function<glm::vec2(glm::vec3)>& projection);
    glm::vec3 minimum() const;
    glm::vec3 maximum() const;
};

// A rectangle of the texture atlas; (s, t) in [0, 1] run across it, t upwards.
struct UvRect {
    float u0 = 0, v0 = 0, u1 = 1, v1 = 1;
    glm::vec2 at(float s, float t) const { return {u0 + (u1 - u0) * s, v0 + (v1 - v0) * t}; }
};

// A rectangle of a square atlas of `size` texels, pulled in by 1.5 texels on
// every side so that filtering at its edges never reaches the next rectangle.
inline UvRect atlasRect(float u0, float v0, float u1, float v1, int size = 512)
{
    float e = 1.5f / static_cast<float>(size);
    return {u0 + e, v0 + e, u1 - e, v1 - e};
}

// Where a part stands and which way its front faces. Texture s grows towards
// `right` (the right of someone looking at the front), so pictures painted
// upright in the atlas read unmirrored on the model.
struct Frame {
    glm::vec3 origin{0.0f};
    glm::vec3 axis{0.0f, 1.0f, 0.0f};    // the part's own "up", along which t runs
    glm::vec3 front{0.0f, 0.0f, 1.0f};   // where s = 0.5 lies
    glm::vec3 right() const;
};

// One ring-to-ring band of a solid of revolution: p(t) = (radius, height)
// for t in [0, 1]. Each band gets its own rows of vertices, so the solid
// has a crease where two bands meet (the rim of a cylinder's cap).
struct Band {
    std::function<glm::vec2(float)> profile;
    int rows = 4;
    float t0 = 0.0f, t1 = 1.0f;   // texture t range of the band inside the rectangle
};

struct Revolve {
    Frame frame;
    glm::vec2 radiusScale{1.0f, 1.0f};   // stretch towards front and towards right
    int slices = 16;
    float angle0 = -3.14159265f, angle1 = 3.14159265f;   // 0 is the front
    UvRect rect;
};

Mesh revolve(const Revolve& solid, const std::vector<Band>& bands);

// Convenience solids.
Mesh ellipsoid(const Frame& frame, glm::vec3 radii /* front, up, right */, int slices, int stacks, UvRect rect,
               float angle0 = -3.14159265f, float angle1 = 3.14159265f);
// A closed cylinder (or cone frustum) from `frame.origin` along the axis.
Mesh cylinder(const Frame& frame, float length, float radius0, float radius1, int slices, UvRect rect,
              float capT = 0.1f);
// An axis-aligned box; every face maps to the whole rectangle.
Mesh box(glm::vec3 lo, glm::vec3 hi, UvRect rect);

// Frame pointing from a to b, with the front as close as possible to `front`.
Frame frameBetween(glm::vec3 a, glm::vec3 b, glm::vec3 front);

// Turns every triangle to face the way its vertex normals point.
void orientTriangles(Mesh& mesh);

// OBJ with one "o" per mesh, positions, texture coordinates and normals.
std::string toObj(const std::vector<Mesh>& meshes, const std::string& comment);

} // namespace assetgen
