#include "course_files.h"

#include "atlas.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>

namespace ruma::course {

namespace {

// Shortest fixed-point text with at most `decimals` digits after the point.
std::string number(double value, int decimals)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    std::string s = text;
    if (s.find('.') != std::string::npos) {
        while (s.back() == '0') s.pop_back();
        if (s.back() == '.') s.pop_back();
    }
    if (s == "-0") s = "0";
    return s;
}

std::string objectName(const Box& b, int index)
{
    std::string name = std::to_string(index) + "_";
    for (char c : b.name) name += (c == ' ' || c == '|' || c == '=' || c == '(' || c == ')') ? '_' : c;
    return name;
}

const int kJpegQuality = 90;

} // namespace

std::string sectionObj(int section, Variant variant)
{
    std::string stem = sectionFileStem(section);
    std::string out = "# Tovik3D course section " + stem + (variant == Variant::High ? "" : "b") +
                      ", written by tools/coursegen: one object per collision box.\n";
    for (const NormalVector& n : meshNormals())
        out += "vn " + number(n.x, 4) + " " + number(n.y, 4) + " " + number(n.z, 4) + "\n";

    std::vector<Mesh> meshes = buildSectionMeshes(section, variant);
    std::vector<const Box*> boxes;
    for (const Box& b : course().boxes)
        if (b.section == section) boxes.push_back(&b);

    std::map<std::string, int> uvIndex;
    int positionBase = 0;
    for (size_t m = 0; m < meshes.size(); ++m) {
        const Mesh& mesh = meshes[m];
        out += "o " + objectName(*boxes[m], static_cast<int>(m)) + "\nusemtl " + stem + "_course\n";
        for (size_t i = 0; i < mesh.positions.size(); i += 3)
            out += "v " + number(mesh.positions[i], 5) + " " + number(mesh.positions[i + 1], 5) + " " +
                   number(mesh.positions[i + 2], 5) + "\n";
        std::string faces;
        for (const auto& face : mesh.faces) {
            faces += "f";
            for (const MeshCorner& c : face) {
                std::string uv = number(c.u, 5) + " " + number(c.v, 5);
                auto it = uvIndex.find(uv);
                if (it == uvIndex.end()) {
                    it = uvIndex.emplace(uv, static_cast<int>(uvIndex.size()) + 1).first;
                    out += "vt " + uv + "\n";
                }
                faces += " " + std::to_string(positionBase + c.position + 1) + "/" + std::to_string(it->second) +
                         "/" + std::to_string(c.normal + 1);
            }
            faces += "\n";
        }
        out += faces;
        positionBase += static_cast<int>(mesh.positions.size() / 3);
    }
    return out;
}

std::vector<GeneratedFile> generateCourseFiles()
{
    std::vector<GeneratedFile> files;
    for (int s = 0; s < kSectionCount; ++s) {
        std::string stem = sectionFileStem(s);
        for (Variant v : {Variant::High, Variant::Low}) {
            std::string text = sectionObj(s, v);
            files.push_back({"Resources/Models/" + stem + (v == Variant::High ? "" : "b") + ".obj",
                             std::vector<std::uint8_t>(text.begin(), text.end())});
        }
        Image high = paintAtlas(s);
        files.push_back({"Resources/Textures/" + stem + ".jpg", encodeJpeg(high, kJpegQuality)});
        files.push_back({"Resources/Textures/" + stem + "b.jpg",
                         encodeJpeg(shrinkImage(high, kHighResolution / kLowResolution), kJpegQuality)});
    }
    return files;
}

bool writeFiles(const std::vector<GeneratedFile>& files, const std::string& root, std::string& error)
{
    namespace fs = std::filesystem;
    for (const GeneratedFile& f : files) {
        fs::path path = fs::path(root) / f.path;
        std::error_code ec;
        fs::create_directories(path.parent_path(), ec);
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        if (f.bytes.empty() || !out.write(reinterpret_cast<const char*>(f.bytes.data()),
                                          static_cast<std::streamsize>(f.bytes.size()))) {
            error = "cannot write " + path.string();
            return false;
        }
    }
    return true;
}

} // namespace ruma::course
