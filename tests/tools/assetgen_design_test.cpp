// What the generated assets must be like for the game to look and sound
// right: glyphs that fill their cells on one baseline, overlays clear but for
// a thin band at the edges with a panel under the distance label, characters
// of the right size facing the right way, a skateboard that rocks under the
// cat without spinning or drifting, and sounds of the right length that start
// and end without clicks.
#include "asset_files.h"
#include "scene/animation.h"
#include "scene/cat.h"
#include "canvas.h"
#include "characters.h"
#include "skateboard.h"

#include <gtest/gtest.h>

#include <assimp/Importer.hpp>
#include <assimp/scene.h>
#include <glm/gtc/quaternion.hpp>

#include <algorithm>
#include <cmath>
#include <map>

using namespace ruma::test;
using glm::vec3;

namespace {

// ---------------------------------------------------------------- fonts

const char* kFonts[] = {"Fonts/segeo.png", "Fonts/segeodarkclose.png", "Fonts/segeodarknormal.png",
                        "Fonts/segeodarkfar.png"};
constexpr int kCell = 32;

bool isPlain(const std::string& file) { return file == "Fonts/segeo.png"; }

int luminance(const unsigned char* p) { return (p[0] * 3 + p[1] * 6 + p[2]) / 10; }

// A glyph cell read from the top: its texels and where its ink lies. Ink is
// the glyph's own colour at least half covered: in the white font the light
// texels (its dark rim is not ink), in the dark fonts the opaque ones.
struct Cell {
    const LoadedImage* atlas;
    int byte;
    bool plain;
    const unsigned char* at(int x, int y) const
    {
        return atlas->fromTop((byte % 16) * kCell + x, (byte / 16) * kCell + y);
    }
    bool ink(int x, int y) const { return at(x, y)[3] > 128 && (!plain || luminance(at(x, y)) > 128); }
    // Ink box, inclusive; x0 > x1 without ink.
    int x0 = kCell, y0 = kCell, x1 = -1, y1 = -1;
    Cell(const LoadedImage& image, int b, bool isPlainFont) : atlas(&image), byte(b), plain(isPlainFont)
    {
        for (int y = 0; y < kCell; ++y)
            for (int x = 0; x < kCell; ++x)
                if (ink(x, y)) x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
    }
    int width() const { return x1 - x0 + 1; }
    int height() const { return y1 - y0 + 1; }
};

int maxAlphaInCell(const LoadedImage& atlas, int byte)
{
    int best = 0;
    for (int y = 0; y < kCell; ++y)
        for (int x = 0; x < kCell; ++x) best = std::max(best, int(atlas.fromTop((byte % 16) * kCell + x, (byte / 16) * kCell + y)[3]));
    return best;
}

TEST(FontAtlas, HasSixteenBySixteenCellsIndexedByByteFromTheTop)
{
    for (const char* file : kFonts) {
        LoadedImage atlas = loadImage(resourcePath(file));
        ASSERT_EQ(atlas.width, 512u) << file;
        ASSERT_EQ(atlas.height, 512u) << file;
        EXPECT_GT(Cell(atlas, 'A', isPlain(file)).width(), 10) << file << ": no ink in the cell of A (column 1, row 4)";
        EXPECT_EQ(maxAlphaInCell(atlas, ' '), 0) << file << ": ink in the cell of a space";
        for (int b = 33; b < 127; ++b) EXPECT_GT(maxAlphaInCell(atlas, b), 128) << file << " byte " << b;
        for (int b : {0, 10, 31, 127, 128, 200, 255}) EXPECT_EQ(maxAlphaInCell(atlas, b), 0) << file << " byte " << b;
    }
}

TEST(FontAtlas, GlyphsShareOneBaselineAndKeepClearOfTheirCellBorders)
{
    for (const char* file : kFonts) {
        LoadedImage atlas = loadImage(resourcePath(file));
        int baseline = Cell(atlas, 'H', isPlain(file)).y1;
        for (char c : std::string("ABEHIMTWxmnz0123456789"))
            EXPECT_EQ(Cell(atlas, c, isPlain(file)).y1, baseline) << file << ": '" << c << "' does not sit on the baseline";
        EXPECT_GT(Cell(atlas, 'g', isPlain(file)).y1, baseline + 3) << file << ": descenders go below the baseline";
        // Ink or rim touching a cell's border would bleed into the neighbour when mip-mapped.
        for (int b = 33; b < 127; ++b)
            for (int k = 0; k < kCell; ++k)
                for (auto [x, y] : {std::pair{k, 0}, std::pair{k, kCell - 1}, std::pair{0, k}, std::pair{kCell - 1, k}})
                    ASSERT_EQ(atlas.fromTop((b % 16) * kCell + x, (b / 16) * kCell + y)[3], 0) << file << " byte " << b;
    }
}

// Drawn one glyph per square quad, the letters must fill their cells or a
// line reads as scattered letters.
TEST(FontAtlas, GlyphsFillTheirCells)
{
    for (const char* file : kFonts) {
        LoadedImage atlas = loadImage(resourcePath(file));
        bool plain = isPlain(file);
        // Ascender tops to descender bottoms: nearly the whole cell.
        int top = kCell, bottom = 0;
        for (char c : std::string("bdhklABHT")) top = std::min(top, Cell(atlas, c, plain).y0);
        for (char c : std::string("gpqy")) bottom = std::max(bottom, Cell(atlas, c, plain).y1);
        EXPECT_GE(bottom - top + 1, kCell * 84 / 100) << file << ": the tallest glyphs fill too little of the cell";
        EXPECT_GE(Cell(atlas, 'H', plain).height(), kCell * 6 / 10) << file << ": capitals too small";
        EXPECT_GE(Cell(atlas, 'x', plain).height(), kCell * 45 / 100) << file << ": small letters too small";
        // The widest glyphs span most of the cell, and every glyph sits in the middle across.
        for (char c : std::string("MWm%@"))
            EXPECT_GE(Cell(atlas, c, plain).width(), kCell * 7 / 10) << file << ": '" << c << "' is too narrow";
        for (int b = 33; b < 127; ++b) {
            Cell cell(atlas, b, plain);
            if (cell.x1 < cell.x0) continue;   // thin punctuation may be all edge
            EXPECT_LE(std::abs(cell.x0 - (kCell - 1 - cell.x1)), 2) << file << ": byte " << b << " is off centre";
        }
    }
}

// Only glyphs too wide for a cell are squeezed: the others keep the shapes of
// the bold DejaVu face they are set in.
TEST(FontAtlas, OnlyTheWidestGlyphsAreSqueezed)
{
    for (const char* file : kFonts) {
        LoadedImage atlas = loadImage(resourcePath(file));
        for (char c : std::string("HOno08")) {
            Cell cell(atlas, c, isPlain(file));
            assetgen::GlyphBox box = assetgen::glyphBox(static_cast<unsigned char>(c), assetgen::Typeface::Bold, 100.0f);
            float shape = float(cell.width()) / float(cell.height()), face = (box.x1 - box.x0) / (box.y1 - box.y0);
            EXPECT_NEAR(shape, face, face * 0.12f) << file << ": '" << c << "' is squeezed or stretched";
        }
        Cell w(atlas, 'W', isPlain(file));
        assetgen::GlyphBox box = assetgen::glyphBox('W', assetgen::Typeface::Bold, 100.0f);
        EXPECT_LT(float(w.width()) / float(w.height()), (box.x1 - box.x0) / (box.y1 - box.y0) * 0.95f)
            << file << ": a full-width W would not fit its cell";
    }
}

TEST(FontAtlas, PlainGlyphsAreWhiteWithADarkRimAndDarkGlyphsAreDark)
{
    for (const char* file : kFonts) {
        LoadedImage atlas = loadImage(resourcePath(file));
        // The middle of the H's left stem.
        Cell h(atlas, 'H', isPlain(file));
        const unsigned char* ink = h.at(h.x0 + 2, (h.y0 + h.y1) / 2);
        EXPECT_EQ(ink[3], 255) << file;
        if (!isPlain(file)) {
            EXPECT_LT(luminance(ink), 100) << file;
            continue;
        }
        EXPECT_GT(luminance(ink), 240) << file;
        // White HUD lines stay readable over bright floors: left of the H's
        // stems and above them lies an opaque dark rim.
        int middle = (h.y0 + h.y1) / 2;
        for (const unsigned char* rim : {h.at(h.x0 - 2, middle), h.at(h.x0 + 1, h.y0 - 2), h.at(h.x1 + 2, middle)}) {
            EXPECT_GE(rim[3], 200) << file << ": no rim round the glyphs";
            EXPECT_LT(luminance(rim), 60) << file << ": the rim is not dark";
        }
    }
}

// ---------------------------------------------------------------- overlays

// The rectangle (from the top of a 1280 x 720 picture) that the HUD fills with
// a label of `len` characters of `size` pixels in the band's place.
struct Rect {
    int x0, y0, x1, y1;
};
Rect labelRect(int size, int len)
{
    const int W = 1280, H = 720;
    int x = size == 35 ? W - 35 * len - 20 : (size == 20 ? W - 20 * len - 19 : W - 15 * len - 10);
    int y = size == 35 ? H - 60 : (size == 20 ? H - 45 : H - 35);   // bottom edge, counted from the bottom
    return {x, H - (y + size), x + size * len, H - y};
}

struct Overlay {
    const char* file;
    int channel;   // the colour that says the danger: red, amber (red and green) or blue
};
const Overlay kOverlays[] = {{"Images/uiCLOSE.png", 0}, {"Images/uiNORMAL.png", 1}, {"Images/uiFAR.png", 2}};

// The upper-right corner, where the panel and its shadow lie.
bool nearPanel(unsigned x, unsigned y) { return x >= 1100 && y < 100; }

TEST(DistanceOverlay, IsClearInTheMiddleAndColouredAtTheEdges)
{
    for (Overlay c : kOverlays) {
        LoadedImage overlay = loadImage(resourcePath(c.file));
        ASSERT_EQ(overlay.width, 1280u);
        ASSERT_EQ(overlay.height, 720u);
        for (unsigned y = 150; y < 570; y += 3)
            for (unsigned x = 250; x < 1030; x += 3) ASSERT_EQ(overlay.fromTop(x, y)[3], 0) << c.file << " at " << x << "," << y;
        for (auto [x, y] : {std::pair{2u, 360u}, std::pair{1277u, 360u}, std::pair{640u, 717u}, std::pair{640u, 2u},
                            std::pair{4u, 716u}}) {
            const unsigned char* p = overlay.fromTop(x, y);
            EXPECT_GT(p[3], 60) << c.file << " edge at " << x << "," << y;
            if (c.channel == 0) {
                EXPECT_TRUE(p[0] > p[1] + 60 && p[0] > p[2] + 60) << c.file;
            }
            if (c.channel == 1) {
                EXPECT_TRUE(p[0] > p[2] + 80 && p[1] > p[2] + 40) << c.file;
            }
            if (c.channel == 2) {
                EXPECT_TRUE(p[2] > p[0] + 60) << c.file;
            }
        }
    }
}

// The vignette tints only a thin, light band along the edges, so the course
// stays in clear view; the closer the cat, the stronger the band.
TEST(DistanceOverlay, KeepsItsVignetteThinAndLight)
{
    const unsigned W = 1280, H = 720;
    double previousEdge = 1e9;
    for (Overlay c : kOverlays) {
        LoadedImage overlay = loadImage(resourcePath(c.file));
        ASSERT_EQ(overlay.width, W);
        ASSERT_EQ(overlay.height, H);
        int strongest = 0;
        for (unsigned y = 0; y < H; ++y)
            for (unsigned x = 0; x < W; ++x) {
                if (nearPanel(x, y)) continue;
                int alpha = overlay.fromTop(x, y)[3];
                strongest = std::max(strongest, alpha);
                unsigned inX = std::min(x, W - 1 - x), inY = std::min(y, H - 1 - y);
                if (inX >= W * 9 / 100 && inY >= H * 9 / 100) {
                    ASSERT_EQ(alpha, 0) << c.file << ": tinted at " << x << "," << y << ", more than 9% in from the edges";
                }
            }
        EXPECT_LE(strongest, 128) << c.file << ": the vignette hides the course at the edges";
        // Not a hairline either: 2% in from the edge it is still well under way.
        double edge = 0, inside = 0;
        for (unsigned y = 200; y < 520; ++y) {
            edge += overlay.fromTop(0, y)[3] + overlay.fromTop(W - 1, y)[3];
            inside += overlay.fromTop(W * 2 / 100, y)[3] + overlay.fromTop(W - 1 - W * 2 / 100, y)[3];
        }
        EXPECT_GT(inside, edge * 0.4) << c.file << ": the band is a hairline";
        EXPECT_LT(edge, previousEdge) << c.file << " is no lighter than the band closer to the cat";
        previousEdge = edge;
    }
}

TEST(DistanceOverlay, PutsALightPanelUnderTheDistanceLabel)
{
    // CLOSE shows "0m".."4m" at 35 px with "RUN!" at 15 px below; NORMAL "5m".."9m" at 20 px;
    // FAR "10m" and more at 15 px.
    const std::map<std::string, std::vector<Rect>> labels = {
        {"Images/uiCLOSE.png", {labelRect(35, 2), {1190, 60, 1250, 75}}},
        {"Images/uiNORMAL.png", {labelRect(20, 2)}},
        {"Images/uiFAR.png", {labelRect(15, 3), labelRect(15, 4)}},
    };
    for (const auto& [file, rects] : labels) {
        LoadedImage overlay = loadImage(resourcePath(file));
        for (const Rect& r : rects) {
            ASSERT_TRUE(nearPanel(r.x0, r.y0) && nearPanel(r.x1 - 1, r.y1 - 1)) << file;
            for (int y = r.y0; y < r.y1; ++y)
                for (int x = r.x0; x < r.x1; ++x) {
                    const unsigned char* p = overlay.fromTop(x, y);
                    ASSERT_TRUE(p[3] >= 200 && luminance(p) >= 170) << file << " under the label at " << x << "," << y;
                }
        }
    }
}

// ---------------------------------------------------------------- textures

TEST(CatTexture, LoadsTheRightWayUp)
{
    assetgen::Canvas painted(512, 512);
    assetgen::paintCatSkin(painted, assetgen::CatExpression{});
    LoadedImage loaded = loadImage(resourcePath("Textures/cat.tga"));
    ASSERT_EQ(loaded.width, 512u);
    ASSERT_EQ(loaded.height, 512u);
    for (unsigned y : {0u, 100u, 511u})
        for (unsigned x = 0; x < 512; ++x) {
            const assetgen::Color& c = painted.pixel(static_cast<int>(x), static_cast<int>(y));
            ASSERT_EQ(loaded.fromTop(x, y)[0], std::lround(std::clamp(c.r, 0.0f, 1.0f) * 255)) << x << "," << y;
        }
}

TEST(TovikTextures, TheBoostedSchemeIsClearlyDifferent)
{
    LoadedImage plain = loadImage(resourcePath("Textures/tovkTex.png"));
    LoadedImage boosted = loadImage(resourcePath("Textures/tovkTexG.png"));
    ASSERT_EQ(plain.rgba.size(), boosted.rgba.size());
    double difference = 0;
    for (size_t i = 0; i < plain.rgba.size(); ++i) difference += std::abs(int(plain.rgba[i]) - int(boosted.rgba[i]));
    EXPECT_GT(difference / plain.rgba.size(), 30.0) << "same layout, other colours";
}

TEST(SlimeTexture, IsPartlyTransparent)
{
    LoadedImage slime = loadImage(resourcePath("Textures/slime.png"));
    int seeThrough = 0, solid = 0;
    for (size_t i = 3; i < slime.rgba.size(); i += 4) {
        if (slime.rgba[i] > 80 && slime.rgba[i] < 230) ++seeThrough;
        if (slime.rgba[i] >= 250) ++solid;
    }
    EXPECT_GT(seeThrough, static_cast<int>(slime.rgba.size() / 4 / 2)) << "most of the jelly lets the course show through";
    EXPECT_GT(solid, 0) << "the eyes are opaque";
}

// ---------------------------------------------------------------- models

struct Part {
    vec3 lo{1e9f}, hi{-1e9f}, centroid{0.0f};
    std::vector<vec3> positions, normals;
    std::vector<glm::vec2> uvs;
};

std::map<std::string, Part> loadParts(const std::string& file, Part& whole)
{
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(resourcePath(file), 0x884A);
    std::map<std::string, Part> parts;
    if (!scene) return parts;
    for (unsigned m = 0; m < scene->mNumMeshes; ++m) {
        const aiMesh* mesh = scene->mMeshes[m];
        Part& part = parts[mesh->mName.C_Str()];
        for (unsigned i = 0; i < mesh->mNumVertices; ++i) {
            vec3 p(mesh->mVertices[i].x, mesh->mVertices[i].y, mesh->mVertices[i].z);
            part.positions.push_back(p);
            part.normals.push_back({mesh->mNormals[i].x, mesh->mNormals[i].y, mesh->mNormals[i].z});
            part.uvs.push_back({mesh->mTextureCoords[0][i].x, mesh->mTextureCoords[0][i].y});
            for (Part* target : {&part, &whole}) {
                target->lo = glm::min(target->lo, p);
                target->hi = glm::max(target->hi, p);
            }
            part.centroid += p / static_cast<float>(mesh->mNumVertices);
        }
    }
    return parts;
}

TEST(CharacterModels, TovikStandsSixUnitsTallOnTheFloorFacingPlusX)
{
    Part whole;
    auto parts = loadParts("Models/tovk.obj", whole);
    ASSERT_TRUE(parts.count("eyes"));
    EXPECT_NEAR(whole.lo.y, -0.5f, 0.02f) << "the feet touch the floor when the capsule rests on it";
    EXPECT_NEAR(whole.hi.y - whole.lo.y, 6.0f, 0.5f);
    EXPECT_LE(std::max(-whole.lo.z, whole.hi.z), 1.5f) << "arms within the capsule's width";
    EXPECT_GT(parts["eyes"].centroid.x, 0.6f);
    EXPECT_NEAR(parts["eyes"].centroid.z, 0.0f, 0.01f);
}

TEST(CharacterModels, TheCatStandsOnItsPawsFacingPlusZ)
{
    Part whole;
    auto parts = loadParts("Models/cat.obj", whole);
    ASSERT_TRUE(parts.count("head") && parts.count("body"));
    EXPECT_NEAR(whole.lo.y, 0.0f, 0.005f);
    EXPECT_NEAR(whole.hi.y, 0.65f, 0.07f);
    EXPECT_GT(whole.hi.z - whole.lo.z, whole.hi.x - whole.lo.x) << "longer than wide";
    EXPECT_GT(parts["head"].centroid.z, parts["body"].centroid.z + 0.15f);
}

TEST(CharacterModels, TheCatsHeadCarriesTheFaceOfItsVideo)
{
    Part whole;
    auto parts = loadParts("Models/cat.obj", whole);
    // Face design units: the video draws the head as the unit circle round this point.
    auto faceRadius = [](glm::vec2 uv) {
        return glm::length((uv - assetgen::kCatFaceCentre) / assetgen::kCatFaceScale);
    };
    const Part& head = parts["head"];
    int front = 0;
    for (size_t i = 0; i < head.positions.size(); ++i)
        if (head.normals[i].z > 0.5f && head.positions[i].y < 0.5f) {
            ++front;
            EXPECT_LT(faceRadius(head.uvs[i]), 1.05f) << "the front of the head shows the face";
        }
    EXPECT_GT(front, 20);
    for (const glm::vec2& uv : parts["body"].uvs) ASSERT_GT(faceRadius(uv), 1.1f) << "the body shows fur, not the face";
}

TEST(CharacterModels, TheSlimeIsAHalfUnitBlobOnItsBase)
{
    Part whole;
    loadParts("Models/slime.obj", whole);
    EXPECT_NEAR(whole.lo.y, 0.0f, 0.005f);
    for (float size : {whole.hi.y - whole.lo.y, whole.hi.x - whole.lo.x, whole.hi.z - whole.lo.z}) {
        EXPECT_GT(size, 0.4f);
        EXPECT_LT(size, 0.65f);
    }
}

// ---------------------------------------------------------------- the board

namespace scene = ruma::scene;

// The pose of a channel at the game's animation time, as the game finds it.
scene::ChannelPose poseAt(const scene::AnimationChannel& channel, double animationTime)
{
    return scene::evaluateChannel(channel, scene::channelTime(animationTime, channel.duration));
}

vec3 posed(const scene::ChannelPose& pose, vec3 v)
{
    vec3 out;
    scene::poseVertices(&v.x, 1, pose, &out.x);
    return out;
}

TEST(BoardKeys, EvaluateAsTheGameDoes)
{
    scene::AnimationChannel channel;
    channel.duration = 2.0;
    channel.positionKeys = {{0.0, vec3(0)}, {2.0, vec3(2, 0, 0)}};
    scene::ChannelPose pose = poseAt(channel, 1.0);
    EXPECT_NEAR(pose.translation.x, 1.0, 1e-9);
    // Without rotation keys the mesh is still turned half round z.
    vec3 moved = posed(pose, vec3(1, 2, 3));
    EXPECT_NEAR(moved.x, 0.0f, 1e-6f);
    EXPECT_NEAR(moved.y, -2.0f, 1e-6f);
    EXPECT_NEAR(moved.z, 3.0f, 1e-6f);
    // Every passed rotation key is multiplied in: two passed quarter turns make a half turn more.
    glm::quat quarter = glm::angleAxis(glm::radians(90.0f), vec3(0, 0, 1));
    channel.rotationKeys = {{0.0, quarter}, {0.5, quarter}, {2.0, glm::quat(1, 0, 0, 0)}};
    channel.positionKeys = {{0.0, vec3(0)}, {0.5, vec3(0)}, {2.0, vec3(0)}};
    pose = poseAt(channel, 0.5 + 1e-9);
    moved = posed(pose, vec3(1, 0, 0));
    EXPECT_NEAR(moved.x, 0.0f, 1e-4f);   // half turn, two quarters, and the step from the last key: 450 degrees
    EXPECT_NEAR(moved.y, 1.0f, 1e-4f);
}

struct Board {
    std::vector<scene::AnimationChannel> channels;   // as the game reads them
    std::vector<std::vector<vec3>> meshes;            // per channel, the mesh it moves
};

Board loadBoard()
{
    Board board;
    Assimp::Importer importer;
    const aiScene* file = importer.ReadFile(resourcePath("Models/skateboard.dae"), 0x884A);
    if (!file || !file->mNumAnimations) return board;
    board.channels = scene::readChannels(*file);
    for (const scene::AnimationChannel& channel : board.channels) {
        const aiMesh* mesh = file->mMeshes[channel.meshIndex];
        std::vector<vec3> positions;
        for (unsigned i = 0; i < mesh->mNumVertices; ++i)
            positions.emplace_back(mesh->mVertices[i].x, mesh->mVertices[i].y, mesh->mVertices[i].z);
        board.meshes.push_back(positions);
    }
    return board;
}

// Plays the board for two cycles at 60 frames a second, as the game's clock
// runs (two ticks a second), and watches every vertex.
TEST(BoardAnimation, RocksAndBobsUnderTheCatWithoutSpinningOrDrifting)
{
    Board board = loadBoard();
    ASSERT_FALSE(board.channels.empty());
    const glm::mat4 underCat = scene::boardUnderCat(glm::mat4(1.0f));
    const glm::quat halfTurn(0, 0, 0, 1);
    double widestTurn = 0, biggestStep = 0;
    float lowest = 1e9f, highest = -1e9f, highestUnderPaws = -1e9f, lowestLift = 1e9f, highestLift = -1e9f;
    std::vector<std::vector<vec3>> previous;
    for (int frame = 0; frame <= 2 * 120; ++frame) {
        double animationTime = frame * 2.0 / 60.0;
        std::vector<std::vector<vec3>> now;
        scene::ChannelPose first = poseAt(board.channels[0], animationTime);
        for (size_t c = 0; c < board.channels.size(); ++c) {
            scene::ChannelPose pose = poseAt(board.channels[c], animationTime);
            EXPECT_LT(glm::length(glm::vec4(pose.rotation.x - first.rotation.x, pose.rotation.y - first.rotation.y,
                                            pose.rotation.z - first.rotation.z, pose.rotation.w - first.rotation.w)),
                      1e-6f) << "the deck and the trucks move as one";
            glm::quat relative = glm::conjugate(halfTurn) * glm::normalize(pose.rotation);
            widestTurn = std::max(widestTurn, 2.0 * std::acos(std::min(1.0, std::fabs(double(relative.w)))) * 57.29578);
            std::vector<vec3> moved;
            for (const vec3& v : board.meshes[c]) {
                moved.push_back(posed(pose, v));
                vec3 inCat = vec3(underCat * glm::vec4(moved.back(), 1.0f));
                lowest = std::min(lowest, inCat.y);
                highest = std::max(highest, inCat.y);
                if (std::fabs(inCat.z) < 0.2f) highestUnderPaws = std::max(highestUnderPaws, inCat.y);   // paws at z -0.16..0.13
            }
            lowestLift = std::min(lowestLift, float(pose.translation.z));
            highestLift = std::max(highestLift, float(pose.translation.z));
            now.push_back(moved);
        }
        if (!previous.empty())
            for (size_t c = 0; c < now.size(); ++c)
                for (size_t i = 0; i < now[c].size(); ++i)
                    biggestStep = std::max(biggestStep, double(glm::length(now[c][i] - previous[c][i])));
        previous = now;
    }
    EXPECT_LT(widestTurn, 12.0) << "the board tilts, it does not spin";
    EXPECT_GT(widestTurn, 3.0) << "the board visibly rocks";
    EXPECT_GT(highestLift - lowestLift, 0.03f) << "the board visibly bobs";
    EXPECT_LT(biggestStep, 0.06) << "no jumps from one frame to the next, also where the cycle starts again";
    EXPECT_GT(lowest, -0.28f) << "the wheels stay on the floor 0.25 below the cat's paws";
    EXPECT_LT(lowest, -0.2f) << "the wheels reach down to the floor";
    EXPECT_LT(highestUnderPaws, 0.04f) << "the deck stays under the cat's paws";
    EXPECT_LT(highest, 0.15f) << "the kicktails stay under the cat's body and head";
}

TEST(BoardAnimation, RunsAlongTheCatWithTheWheelsBelow)
{
    Board board = loadBoard();
    ASSERT_EQ(board.meshes.size(), 3u);   // deck, front truck, back truck
    const glm::mat4 underCat = scene::boardUnderCat(glm::mat4(1.0f));
    vec3 lo(1e9f), hi(-1e9f);
    float deckLowest = 1e9f, trucksLowest = 1e9f;
    for (size_t c = 0; c < board.meshes.size(); ++c)
        for (const vec3& v : board.meshes[c]) {
            vec3 p = vec3(underCat * glm::vec4(v, 1.0f));
            lo = glm::min(lo, p);
            hi = glm::max(hi, p);
            (c == 0 ? deckLowest : trucksLowest) = std::min(c == 0 ? deckLowest : trucksLowest, p.y);
        }
    EXPECT_NEAR(hi.z - lo.z, 0.8f, 0.05f) << "a 0.8-unit board along the cat's length";
    EXPECT_LT(hi.x - lo.x, 0.35f);
    EXPECT_LT(trucksLowest, deckLowest - 0.15f) << "the wheels are under the deck";
}

// ---------------------------------------------------------------- sounds

double rms(const std::vector<float>& samples)
{
    double sum = 0;
    for (float s : samples) sum += double(s) * s;
    return std::sqrt(sum / std::max<size_t>(1, samples.size()));
}

TEST(Sounds, LastAsLongAsTheirCues)
{
    struct Case {
        const char* file;
        double shortest, longest;
    };
    for (Case c : {Case{"Sounds/background.wav", 20, 40}, Case{"Sounds/menu.wav", 0.03, 0.3},
                   Case{"Sounds/button.wav", 0.02, 0.3}, Case{"Sounds/jump.wav", 0.15, 1.0},
                   Case{"Sounds/fast.wav", 1.5, 2.1}, Case{"Sounds/cat.wav", 0.4, 1.6}, Case{"Sounds/win.mp3", 2, 6},
                   Case{"Sounds/lose.mp3", 2, 6}}) {
        LoadedSound sound = loadSound(resourcePath(c.file));
        ASSERT_TRUE(sound.opened) << c.file;
        EXPECT_GE(sound.seconds(), c.shortest) << c.file;
        EXPECT_LE(sound.seconds(), c.longest) << c.file;
        EXPECT_GT(rms(sound.samples), 0.03) << c.file << " is nearly silent";
    }
}

TEST(Sounds, OneShotsStartAndEndInSilence)
{
    for (const char* file : {"Sounds/menu.wav", "Sounds/button.wav", "Sounds/jump.wav", "Sounds/fast.wav", "Sounds/cat.wav"}) {
        LoadedSound sound = loadSound(resourcePath(file));
        ASSERT_FALSE(sound.samples.empty()) << file;
        EXPECT_LT(std::fabs(sound.samples.front()), 0.01f) << file;
        EXPECT_LT(std::fabs(sound.samples.back()), 0.01f) << file;
    }
}

TEST(Sounds, TheMusicLoopsWithoutAClick)
{
    LoadedSound music = loadSound(resourcePath("Sounds/background.wav"));
    ASSERT_GT(music.samples.size(), 1000u);
    std::vector<float> steps;
    for (size_t i = 1; i < music.samples.size(); ++i) steps.push_back(std::fabs(music.samples[i] - music.samples[i - 1]));
    std::nth_element(steps.begin(), steps.begin() + steps.size() * 99 / 100, steps.end());
    float usual = steps[steps.size() * 99 / 100];
    float seam = std::fabs(music.samples.front() - music.samples.back());
    EXPECT_LE(seam, usual) << "the jump from the last sample back to the first stands out";
    // And the music is heard right through the seam: no fade to silence to hide it.
    std::vector<float> end(music.samples.end() - 4410, music.samples.end()), start(music.samples.begin(), music.samples.begin() + 4410);
    EXPECT_GT(rms(end), 0.03);
    EXPECT_GT(rms(start), 0.03);
}

} // namespace
