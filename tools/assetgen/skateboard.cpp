// The skateboard the cat rides: a deck in the model's x-y plane (3.2 long on
// x, 1 wide on y, the top towards -z, which is up under the cat) and two
// trucks with their wheels towards +z, as three meshes of three animated
// nodes in a COLLADA file. The animation rocks and bobs the board.
#include "skateboard.h"

#include "assets.h"
#include "atlas.h"
#include "image_files.h"
#include "palette.h"

#include <cmath>
#include <cstdio>

namespace assetgen {

using glm::vec2;
using glm::vec3;

namespace {

namespace region {
const UvRect deckTop = atlasRect(0.0f, 0.5f, 1.0f, 0.75f);
const UvRect deckBottom = atlasRect(0.0f, 0.75f, 1.0f, 1.0f);
const UvRect deckEdge = atlasRect(0.0f, 0.44f, 1.0f, 0.5f);
const UvRect metal = atlasRect(0.0f, 0.0f, 0.25f, 0.25f);
const UvRect baseplate = atlasRect(0.25f, 0.0f, 0.5f, 0.25f);
const UvRect wheel = atlasRect(0.5f, 0.0f, 0.75f, 0.25f);
const UvRect bushing = atlasRect(0.75f, 0.0f, 1.0f, 0.25f);
} // namespace region

constexpr float kHalfLength = 1.6f, kHalfWidth = 0.5f;
constexpr float kFlat = 1.1f;          // the kicktails start here
constexpr float kTop = -0.36f;         // deck top over the trucks: the cat's paws
constexpr float kThickness = 0.1f;
constexpr float kTruckX = 1.02f;
constexpr float kAxleZ = 0.36f, kWheelRadius = 0.24f;   // wheels touch z = 0.6, the floor under the cat

float halfWidth(float x)
{
    float over = (std::fabs(x) - kFlat) / (kHalfLength - kFlat);
    return over <= 0 ? kHalfWidth : kHalfWidth * std::sqrt(std::max(0.0f, 1.0f - over * over));
}

float topZ(float x)
{
    float over = std::max(0.0f, (std::fabs(x) - kFlat) / (kHalfLength - kFlat));
    return kTop - 0.2f * over * over;
}

Mesh deckMesh()
{
    Mesh mesh;
    const int nx = 48, ny = 6;
    auto xAt = [&](int i) { return -kHalfLength + 2 * kHalfLength * i / nx; };
    auto slope = [&](float x) { return (topZ(x + 1e-3f) - topZ(x - 1e-3f)) / 2e-3f; };
    // Top and bottom faces: planar maps of the deck outline.
    for (int face = 0; face < 2; ++face) {
        auto base = static_cast<uint32_t>(mesh.vertices.size());
        float sign = face == 0 ? -1.0f : 1.0f;   // top faces -z
        for (int i = 0; i <= nx; ++i)
            for (int j = 0; j <= ny; ++j) {
                float x = xAt(i), y = halfWidth(x) * (-1 + 2.0f * j / ny);
                Vertex v;
                v.position = {x, y, topZ(x) + (face == 0 ? 0.0f : kThickness)};
                v.normal = glm::normalize(vec3(-sign * slope(x), 0, sign));
                const UvRect& rect = face == 0 ? region::deckTop : region::deckBottom;
                v.uv = rect.at((x + kHalfLength) / (2 * kHalfLength), (y + kHalfWidth) / (2 * kHalfWidth));
                mesh.vertices.push_back(v);
            }
        for (int i = 0; i < nx; ++i)
            for (int j = 0; j < ny; ++j) {
                uint32_t a = base + i * (ny + 1) + j, b = a + ny + 1;
                for (uint32_t tri : {a, b, b + 1, a, b + 1, a + 1}) mesh.indices.push_back(tri);
            }
    }
    // The rim: a band round the outline, wood plies showing.
    for (float side : {-1.0f, 1.0f}) {
        auto base = static_cast<uint32_t>(mesh.vertices.size());
        for (int i = 0; i <= nx; ++i) {
            float x = xAt(i);
            float dw = (halfWidth(x + 1e-3f) - halfWidth(x - 1e-3f)) / 2e-3f;
            vec3 normal = std::fabs(x) >= kHalfLength - 1e-4f ? vec3(x > 0 ? 1 : -1, 0, 0)
                                                            : glm::normalize(vec3(-dw, side, 0));
            for (int k = 0; k < 2; ++k) {
                Vertex v;
                v.position = {x, side * halfWidth(x), topZ(x) + k * kThickness};
                v.normal = normal;
                v.uv = region::deckEdge.at((x + kHalfLength) / (2 * kHalfLength), side > 0 ? 1.0f - k : float(k));
                mesh.vertices.push_back(v);
            }
        }
        for (int i = 0; i < nx; ++i) {
            uint32_t a = base + 2 * i;
            for (uint32_t tri : {a, a + 2, a + 3, a, a + 3, a + 1}) mesh.indices.push_back(tri);
        }
    }
    // Drop the triangles that collapse at the rounded tips.
    std::vector<uint32_t> kept;
    for (size_t i = 0; i < mesh.indices.size(); i += 3) {
        vec3 a = mesh.vertices[mesh.indices[i]].position, b = mesh.vertices[mesh.indices[i + 1]].position,
             c = mesh.vertices[mesh.indices[i + 2]].position;
        if (glm::length(glm::cross(b - a, c - a)) > 1e-8f) kept.insert(kept.end(), &mesh.indices[i], &mesh.indices[i] + 3);
    }
    mesh.indices = kept;
    orientTriangles(mesh);
    mesh.name = "deck";
    return mesh;
}

Mesh truckMesh(float x, const std::string& name)
{
    const vec3 down(0, 0, 1), ahead(1, 0, 0), across(0, 1, 0);
    float deckBottom = topZ(x) + kThickness;
    Mesh mesh = box({x - 0.22f, -0.2f, deckBottom - 0.01f}, {x + 0.22f, 0.2f, deckBottom + 0.08f}, region::baseplate);
    mesh.append(cylinder({{x, 0, deckBottom + 0.08f}, down, ahead}, kAxleZ - 0.1f - deckBottom - 0.08f, 0.11f, 0.08f, 10,
                         region::bushing));
    mesh.append(box({x - 0.09f, -0.36f, kAxleZ - 0.12f}, {x + 0.09f, 0.36f, kAxleZ + 0.04f}, region::metal));
    mesh.append(cylinder({{x, -0.6f, kAxleZ}, across, down}, 1.2f, 0.035f, 0.035f, 8, region::metal));
    for (float side : {-1.0f, 1.0f}) {
        vec3 inner(x, side * 0.37f, kAxleZ);
        mesh.append(cylinder({inner, side * across, down}, 0.2f, kWheelRadius, kWheelRadius, 16, region::wheel, 0.25f));
    }
    mesh.name = name;
    return mesh;
}

// ---------------------------------------------------------------- texture

void paintBoard(Canvas& canvas)
{
    using namespace region;
    // Grip tape on top, dark with a lighter stripe; the bottom carries the cat's colours.
    fillRegion(canvas, deckTop, {0, 0}, {3.2f, 1}, solid(rgb(0x2b2d33)));
    for (int i = 0; i < 400; ++i) {
        vec2 p(hashNoise(i, 1, 5) * 3.2f, hashNoise(i, 2, 5));
        canvas.fill(circle(p, 0.008f), withAlpha(rgb(0x50545e), 0.8f));
    }
    canvas.fill(roundedBox({0.3f, 0.44f}, {2.9f, 0.56f}, 0.06f), rgb(0x3d8ae0));
    for (float x : {0.55f, 2.65f})   // bolt heads over the trucks
        for (vec2 d : {vec2(-0.1f, -0.1f), vec2(0.1f, -0.1f), vec2(-0.1f, 0.1f), vec2(0.1f, 0.1f)})
            canvas.fill(circle(vec2(x + 0.07f, 0.5f) + d, 0.03f), rgb(0x9aa0aa));

    fillRegion(canvas, deckBottom, {0, 0}, {3.2f, 1}, linear({0, 0}, rgb(0xff7a3a), {3.2f, 0}, rgb(0xffc23a)));
    for (int k = 0; k < 5; ++k) canvas.fill(capsule({0.4f + k * 0.6f, 0.1f}, {0.7f + k * 0.6f, 0.9f}, 0.06f), withAlpha(kCatStripe, 0.7f));
    canvas.fill(circle({1.6f, 0.5f}, 0.3f), kCatCream);
    for (int k = 0; k < 4; ++k) canvas.fill(circle({1.6f + (k - 1.5f) * 0.13f, 0.5f + (k == 0 || k == 3 ? 0.12f : 0.2f)}, 0.055f), kInk);
    canvas.fill(ellipse({1.6f, 0.4f}, {0.13f, 0.1f}), kInk);

    fillRegion(canvas, deckEdge, {0, 0}, {1, 1}, solid(rgb(0xd9a86a)));
    for (float t : {0.3f, 0.5f, 0.7f}) canvas.fill(roundedBox({-0.1f, t - 0.04f}, {1.1f, t + 0.04f}, 0.0f), rgb(0x8a5a2a));

    fillRegion(canvas, metal, {0, 0}, {1, 1}, linear({0, 0}, rgb(0x8e959f), {0, 1}, rgb(0xdfe4ea)));
    fillRegion(canvas, baseplate, {0, 0}, {1, 1}, solid(rgb(0x5d636d)));
    fillRegion(canvas, bushing, {0, 0}, {1, 1}, solid(rgb(0xffb020)));
    // Wheels: the caps take the bottom and top quarters (hub in the middle), the tread between.
    fillRegion(canvas, wheel, {0, 0}, {1, 1}, solid(rgb(0xf3ead8)));
    for (float t0 : {0.0f, 0.875f}) canvas.fill(roundedBox({-0.1f, t0}, {1.1f, t0 + 0.125f}, 0.0f), rgb(0xe8452e));
    for (float t : {0.32f, 0.68f}) canvas.fill(roundedBox({-0.1f, t - 0.02f}, {1.1f, t + 0.02f}, 0.0f), rgb(0xd8ccb4));
    canvas.setView({1, 1}, {0, 0});
}

// ---------------------------------------------------------------- COLLADA

std::string numbers(const std::vector<float>& values)
{
    std::string out;
    char buffer[32];
    for (size_t i = 0; i < values.size(); ++i) {
        float v = std::fabs(values[i]) < 5e-7f ? 0.0f : values[i];
        std::snprintf(buffer, sizeof buffer, i ? " %.6g" : "%.6g", v);
        out += buffer;
    }
    return out;
}

std::string source(const std::string& id, const std::vector<float>& values, const std::vector<std::string>& params,
                   const std::string& type = "float")
{
    size_t stride = params.size();
    std::string out = "      <source id=\"" + id + "\">\n        <float_array id=\"" + id + "-array\" count=\"" +
                      std::to_string(values.size()) + "\">" + numbers(values) + "</float_array>\n" +
                      "        <technique_common>\n          <accessor source=\"#" + id + "-array\" count=\"" +
                      std::to_string(values.size() / stride) + "\" stride=\"" + std::to_string(stride) + "\">\n";
    for (const std::string& p : params) out += "            <param name=\"" + p + "\" type=\"" + type + "\"/>\n";
    return out + "          </accessor>\n        </technique_common>\n      </source>\n";
}

std::string geometry(const Mesh& mesh)
{
    std::vector<float> positions, normals, uvs;
    for (const Vertex& v : mesh.vertices) {
        positions.insert(positions.end(), {v.position.x, v.position.y, v.position.z});
        normals.insert(normals.end(), {v.normal.x, v.normal.y, v.normal.z});
        uvs.insert(uvs.end(), {v.uv.x, v.uv.y});
    }
    std::string id = mesh.name + "-mesh";
    std::string out = "    <geometry id=\"" + id + "\" name=\"" + mesh.name + "\">\n      <mesh>\n";
    out += source(id + "-positions", positions, {"X", "Y", "Z"});
    out += source(id + "-normals", normals, {"X", "Y", "Z"});
    out += source(id + "-uvs", uvs, {"S", "T"});
    out += "      <vertices id=\"" + id + "-vertices\">\n        <input semantic=\"POSITION\" source=\"#" + id +
           "-positions\"/>\n      </vertices>\n";
    out += "      <triangles count=\"" + std::to_string(mesh.indices.size() / 3) + "\">\n";
    out += "        <input semantic=\"VERTEX\" source=\"#" + id + "-vertices\" offset=\"0\"/>\n";
    out += "        <input semantic=\"NORMAL\" source=\"#" + id + "-normals\" offset=\"0\"/>\n";
    out += "        <input semantic=\"TEXCOORD\" source=\"#" + id + "-uvs\" offset=\"0\" set=\"0\"/>\n        <p>";
    for (size_t i = 0; i < mesh.indices.size(); ++i) out += (i ? " " : "") + std::to_string(mesh.indices[i]);
    return out + "</p>\n      </triangles>\n    </mesh>\n    </geometry>\n";
}

std::string animation(const std::string& node, const BoardKeys& keys)
{
    std::vector<float> times, location, rollAngles, pitchAngles;
    for (const BoardKey& k : keys) {
        times.push_back(static_cast<float>(k.seconds));
        location.insert(location.end(), {k.translation.x, k.translation.y, k.translation.z});
        rollAngles.push_back(k.rollDegrees);
        pitchAngles.push_back(k.pitchDegrees);
    }
    std::string id = node + "-anim";
    std::string out = "    <animation id=\"" + id + "\">\n";
    out += source(id + "-time", times, {"TIME"});
    out += source(id + "-location", location, {"X", "Y", "Z"});
    out += source(id + "-roll", rollAngles, {"ANGLE"});
    out += source(id + "-pitch", pitchAngles, {"ANGLE"});
    std::string linear;
    for (size_t i = 0; i < keys.size(); ++i) linear += i ? " LINEAR" : "LINEAR";
    out += "      <source id=\"" + id + "-interpolation\">\n        <Name_array id=\"" + id +
           "-interpolation-array\" count=\"" + std::to_string(keys.size()) + "\">" + linear +
           "</Name_array>\n        <technique_common>\n          <accessor source=\"#" + id +
           "-interpolation-array\" count=\"" + std::to_string(keys.size()) +
           "\" stride=\"1\">\n            <param name=\"INTERPOLATION\" type=\"name\"/>\n          </accessor>\n"
           "        </technique_common>\n      </source>\n";
    const std::pair<const char*, const char*> channels[3] = {
        {"location", "location"}, {"roll", "rotationX.ANGLE"}, {"pitch", "rotationY.ANGLE"}};
    for (const auto& [name, target] : channels) {
        std::string sampler = id + "-" + name + "-sampler";
        out += "      <sampler id=\"" + sampler + "\">\n        <input semantic=\"INPUT\" source=\"#" + id +
               "-time\"/>\n        <input semantic=\"OUTPUT\" source=\"#" + id + "-" + name +
               "\"/>\n        <input semantic=\"INTERPOLATION\" source=\"#" + id + "-interpolation\"/>\n      </sampler>\n";
        out += "      <channel source=\"#" + sampler + "\" target=\"" + node + "/" + target + "\"/>\n";
    }
    return out + "    </animation>\n";
}

std::string collada(const std::vector<Mesh>& meshes, const BoardKeys& keys)
{
    std::string out = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                      "<COLLADA xmlns=\"http://www.collada.org/2005/11/COLLADASchema\" version=\"1.4.1\">\n"
                      "  <asset>\n    <contributor>\n      <authoring_tool>Tovik3D assetgen</authoring_tool>\n"
                      "    </contributor>\n    <unit name=\"meter\" meter=\"1\"/>\n    <up_axis>Y_UP</up_axis>\n"
                      "  </asset>\n  <library_geometries>\n";
    for (const Mesh& mesh : meshes) out += geometry(mesh);
    out += "  </library_geometries>\n  <library_animations>\n";
    for (const Mesh& mesh : meshes) out += animation(mesh.name, keys);
    out += "  </library_animations>\n  <library_visual_scenes>\n    <visual_scene id=\"Scene\" name=\"Scene\">\n";
    // Rest transforms are the identity: the game moves the meshes as stored.
    for (const Mesh& mesh : meshes)
        out += "      <node id=\"" + mesh.name + "\" name=\"" + mesh.name + "\" sid=\"" + mesh.name +
               "\" type=\"NODE\">\n        <translate sid=\"location\">0 0 0</translate>\n"
               "        <rotate sid=\"rotationX\">1 0 0 0</rotate>\n        <rotate sid=\"rotationY\">0 1 0 0</rotate>\n"
               "        <instance_geometry url=\"#" + mesh.name + "-mesh\"/>\n      </node>\n";
    return out + "    </visual_scene>\n  </library_visual_scenes>\n"
                 "  <scene>\n    <instance_visual_scene url=\"#Scene\"/>\n  </scene>\n</COLLADA>\n";
}

} // namespace

std::vector<Mesh> buildSkateboard()
{
    return {deckMesh(), truckMesh(kTruckX, "truck_front"), truckMesh(-kTruckX, "truck_back")};
}

BoardMotion boardMotion(double ticks)
{
    double phase = 2.0 * 3.14159265358979 * ticks / kBoardCycleTicks;
    BoardMotion m;
    m.rollDegrees = 7.0 * std::sin(phase);
    m.pitchDegrees = 3.0 * std::sin(2.0 * phase);
    m.translation = glm::vec3(static_cast<float>(0.03 * std::sin(phase)), 0.0f,
                              static_cast<float>(-0.04 * (1.0 - std::cos(2.0 * phase))));
    return m;
}

BoardKeys boardKeys()
{
    // The game multiplies up every rotation key already passed, so each key
    // holds the step of the wanted tilt from its time to the next key's; the
    // tilt then follows the wanted curve in steps of under half a degree.
    BoardKeys keys;
    double step = kBoardCycleTicks / kBoardKeyCount;
    for (int j = 0; j <= kBoardKeyCount; ++j) {
        double ticks = j * step;
        BoardMotion now = boardMotion(ticks), next = boardMotion(ticks + step);
        BoardKey key;
        key.seconds = ticks / 1000.0;   // the importer reads seconds and counts milliseconds
        key.translation = now.translation;
        key.rollDegrees = static_cast<float>(-(next.rollDegrees - now.rollDegrees));
        key.pitchDegrees = static_cast<float>(-(next.pitchDegrees - now.pitchDegrees));
        keys.push_back(key);
    }
    return keys;
}

void writeSkateboard(const std::string& root)
{
    writeFile(root + "/Models/skateboard.dae", collada(buildSkateboard(), boardKeys()));
    Canvas texture(512, 512);
    paintBoard(texture);
    savePng(texture, root + "/Textures/skateboard2.png", false);
}

} // namespace assetgen
