// coursegen: writes the course sections (models and textures, both variants)
// from the layout in code.
//
//   coursegen [--out DIR]             write Resources/... below DIR (default: .)
//   coursegen --list                  print the boxes, one a line
//   coursegen --preview DIR [--low]   render views along the player's line into DIR
#include "course_files.h"
#include "preview.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

const char* kindName(ruma::course::BoxKind kind)
{
    using ruma::course::BoxKind;
    switch (kind) {
    case BoxKind::Floor: return "floor";
    case BoxKind::Wall: return "wall";
    case BoxKind::Stair: return "stair";
    case BoxKind::CatStair: return "catstair";
    case BoxKind::Pit: return "pit";
    case BoxKind::Foundation: return "found";
    }
    return "?";
}

} // namespace

int main(int argc, char** argv)
{
    using namespace ruma::course;
    std::string out = ".", preview;
    bool list = false, low = false;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--out") && i + 1 < argc) out = argv[++i];
        else if (!std::strcmp(argv[i], "--preview") && i + 1 < argc) preview = argv[++i];
        else if (!std::strcmp(argv[i], "--low")) low = true;
        else if (!std::strcmp(argv[i], "--list")) list = true;
        else {
            std::fprintf(stderr, "usage: coursegen [--out DIR] | --list | --preview DIR [--low]\n");
            return 2;
        }
    }
    if (list) {
        for (const Box& b : course().boxes)
            std::printf("%s\t%s\t%s\t%.6f\t%.6f\t%.6f\t%.6f\t%.6f\t%.6f\n", sectionFileStem(b.section),
                        kindName(b.kind), b.name.c_str(), b.x0, b.x1, b.y0, b.y1, b.z0, b.z1);
        return 0;
    }
    if (!preview.empty()) return runPreview(out, preview, low);
    std::string error;
    std::vector<GeneratedFile> files = generateCourseFiles();
    if (!writeFiles(files, out, error)) {
        std::fprintf(stderr, "coursegen: %s\n", error.c_str());
        return 1;
    }
    for (const GeneratedFile& f : files) std::printf("%s %zu bytes\n", f.path.c_str(), f.bytes.size());
    return 0;
}
