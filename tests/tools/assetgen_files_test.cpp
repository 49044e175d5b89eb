// The asset generator writes every resource file of the game except the course
// and the shaders; the committed files are exactly what it writes, and each
// loads with the library the game reads it with.
#include "asset_files.h"
#include "assets.h"
#include "platform/file_manifest.h"
#include "support/process.h"

#include <gtest/gtest.h>

#include <assimp/Importer.hpp>
#include <assimp/scene.h>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <sndfile.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <regex>
#include <set>

namespace fs = std::filesystem;
using namespace ruma::test;

namespace {

// Files of other tools that share Resources/: the course sections, the shaders and the manifest.
bool belongsElsewhere(const std::string& relative)
{
    static const std::regex course(R"((Models/e[1-4]b?\.obj|Textures/e[1-4]b?\.jpg))");
    return relative.rfind("Shader/", 0) == 0 || relative == "manifest.txt" || std::regex_match(relative, course);
}

std::set<std::string> filesUnder(const std::string& root)
{
    std::set<std::string> files;
    if (!fs::exists(root)) return files;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        if (entry.is_regular_file()) files.insert(fs::relative(entry.path(), root).generic_string());
    return files;
}

const std::vector<std::string>& expected() { return assetgen::generatedFiles(); }

std::vector<std::string> withExtension(const std::string& ext)
{
    std::vector<std::string> out;
    for (const std::string& f : expected())
        if (fs::path(f).extension() == ext) out.push_back(f);
    return out;
}

} // namespace

// Whatever wrote a file under Resources/ (a generator or a hand-edited shader),
// the manifest the game checks at start lists it as committed.
TEST(ResourceManifest, ListsEveryCommittedFileAsItIs)
{
    EXPECT_TRUE(readFile(resourcePath("manifest.txt")) == ruma::manifestOf(sourceDir() + "/Resources", "manifest.txt"))
        << "Resources/ changed since its manifest was written: run build/tools/manifest/resourcemanifest Resources";
}

TEST(AssetGenerator, RegeneratesTheCommittedFilesByteForByte)
{
    ScratchDir scratch("assetgen");
    ProcessOptions options;
    options.timeoutSeconds = 300;
    ProcessResult run = runProcess({TOVIK3D_ASSETGEN, scratch.file("Resources"), scratch.file("icons")}, options);
    ASSERT_EQ(run.exitStatus, 0) << run.err;

    std::set<std::string> written = filesUnder(scratch.file("Resources"));
    EXPECT_EQ(written, std::set<std::string>(expected().begin(), expected().end()))
        << "the generator's list of files is out of date";
    for (const std::string& file : written) {
        ASSERT_TRUE(fs::exists(resourcePath(file))) << file << " is not committed";
        EXPECT_TRUE(readFile(scratch.file("Resources/" + file)) == readFile(resourcePath(file)))
            << file << " differs from its committed copy: run build/tools/assetgen/assetgen Resources packaging/icons";
    }
    // The desktop icons, one square picture a size, committed beside the install rules.
    std::set<std::string> icons = filesUnder(scratch.file("icons"));
    EXPECT_EQ(icons, filesUnder(sourceDir() + "/packaging/icons"));
    for (int size : assetgen::iconSizes()) {
        std::string name = "tovik3d-" + std::to_string(size) + ".png";
        EXPECT_TRUE(icons.count(name) && readFile(scratch.file("icons/" + name)) == readFile(sourceDir() + "/packaging/icons/" + name))
            << name << " differs from its committed copy";
        LoadedImage icon = loadImage(scratch.file("icons/" + name));
        EXPECT_TRUE(icon.width == unsigned(size) && icon.height == unsigned(size) && icon.bpp == 32) << name;
    }
    // Nothing stale: every committed file outside the course and the shaders comes from the generator.
    for (const std::string& file : filesUnder(sourceDir() + "/Resources"))
        if (!belongsElsewhere(file)) {
            EXPECT_TRUE(written.count(file)) << file << " is not written by the generator";
        }
}

TEST(AssetGenerator, RefusesAMissingOutputFolderArgument)
{
    ProcessResult run = runProcess({TOVIK3D_ASSETGEN});
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_NE(run.err.find("usage"), std::string::npos);
}

TEST(AssetGenerator, ResourcesStayWithinTheDownloadBudget)
{
    uintmax_t total = 0, ours = 0;
    for (const std::string& file : filesUnder(sourceDir() + "/Resources")) {
        uintmax_t size = fs::file_size(resourcePath(file));
        total += size;
        if (!belongsElsewhere(file)) ours += size;
    }
    EXPECT_LT(total, 25u * 1000 * 1000);
    EXPECT_LT(ours, 10u * 1000 * 1000) << "leave room for the course's textures";
}

TEST(AssetLoading, ImagesLoadAsTwentyFourOrThirtyTwoBitBitmaps)
{
    for (const char* ext : {".png", ".jpg", ".tga"})
        for (const std::string& file : withExtension(ext)) {
            LoadedImage image = loadImage(resourcePath(file));
            ASSERT_NE(image.type, FIF_UNKNOWN) << file;
            EXPECT_TRUE(image.bpp == 24 || image.bpp == 32) << file << " has " << image.bpp << " bits";
            EXPECT_FALSE(image.rgba.empty()) << file;
        }
    EXPECT_EQ(loadImage(resourcePath("Textures/cat.tga")).type, FIF_TARGA);
    for (const std::string& file : withExtension(".jpg")) {
        LoadedImage picture = loadImage(resourcePath(file));
        EXPECT_EQ(picture.type, FIF_JPEG) << file;
        EXPECT_EQ(picture.width, 1280u) << file;
        EXPECT_EQ(picture.height, 720u) << file;
    }
    // Textures whose transparency matters carry a real alpha channel.
    for (const char* file : {"Textures/slime.png", "Images/uiCLOSE.png", "Images/uiNORMAL.png", "Images/uiFAR.png",
                             "Fonts/segeo.png", "Fonts/segeodarkclose.png", "Fonts/segeodarknormal.png",
                             "Fonts/segeodarkfar.png"})
        EXPECT_EQ(loadImage(resourcePath(file)).bpp, 32u) << file;
}

TEST(AssetLoading, ModelsImportWithPositionsNormalsAndTextureCoordinates)
{
    for (const char* file : {"Models/tovk.obj", "Models/cat.obj", "Models/slime.obj", "Models/skateboard.dae"}) {
        Assimp::Importer importer;
        const aiScene* scene = importer.ReadFile(resourcePath(file), 0x884A);
        ASSERT_NE(scene, nullptr) << file << ": " << importer.GetErrorString();
        ASSERT_GT(scene->mNumMeshes, 0u) << file;
        for (unsigned m = 0; m < scene->mNumMeshes; ++m) {
            const aiMesh* mesh = scene->mMeshes[m];
            EXPECT_GT(mesh->mNumFaces, 0u) << file;
            EXPECT_TRUE(mesh->HasPositions() && mesh->HasNormals() && mesh->HasTextureCoords(0)) << file;
            for (unsigned i = 0; i < mesh->mNumVertices; ++i) {
                const aiVector3D& uv = mesh->mTextureCoords[0][i];
                ASSERT_TRUE(uv.x >= 0 && uv.x <= 1 && uv.y >= 0 && uv.y <= 1) << file << " has a coordinate outside its texture";
            }
        }
    }
}

TEST(AssetLoading, TheSkateboardHasAnAnimatedNodePerMesh)
{
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(resourcePath("Models/skateboard.dae"), 0x884A);
    ASSERT_NE(scene, nullptr);
    EXPECT_GE(scene->mNumMeshes, 2u);
    ASSERT_EQ(scene->mNumAnimations, 1u);
    const aiAnimation* animation = scene->mAnimations[0];
    std::set<unsigned> animatedMeshes;
    for (unsigned c = 0; c < animation->mNumChannels; ++c) {
        const aiNodeAnim* channel = animation->mChannels[c];
        EXPECT_GE(channel->mNumPositionKeys, 2u);
        EXPECT_GE(channel->mNumRotationKeys, 2u);
        const aiNode* node = scene->mRootNode->FindNode(channel->mNodeName);
        ASSERT_NE(node, nullptr) << channel->mNodeName.C_Str();
        ASSERT_GE(node->mNumMeshes, 1u);
        animatedMeshes.insert(node->mMeshes[0]);
    }
    EXPECT_EQ(animatedMeshes.size(), scene->mNumMeshes) << "a mesh that no channel moves would stay behind";
}

TEST(AssetLoading, SoundsOpenWithLibsndfileAtCdRate)
{
    for (const char* ext : {".wav", ".mp3"})
        for (const std::string& file : withExtension(ext)) {
            LoadedSound sound = loadSound(resourcePath(file));
            ASSERT_TRUE(sound.opened) << file;
            EXPECT_EQ(sound.sampleRate, 44100) << file;
            EXPECT_EQ(sound.channels, 1) << file;
            EXPECT_EQ(sound.format & SF_FORMAT_TYPEMASK, std::string(ext) == ".wav" ? SF_FORMAT_WAV : SF_FORMAT_MPEG) << file;
            if (std::string(ext) == ".wav") {
                EXPECT_EQ(sound.format & SF_FORMAT_SUBMASK, SF_FORMAT_PCM_16) << file;
            }
            EXPECT_GT(sound.samples.size(), 1000u) << file;
        }
}

TEST(AssetLoading, TheVideoHasOneMotionJpegStreamOfWholeFrames)
{
    AVFormatContext* format = nullptr;
    ASSERT_EQ(avformat_open_input(&format, resourcePath("Textures/cat.avi").c_str(), nullptr, nullptr), 0);
    ASSERT_GE(avformat_find_stream_info(format, nullptr), 0);
    ASSERT_EQ(format->nb_streams, 1u);
    AVStream* stream = format->streams[0];
    EXPECT_EQ(stream->codecpar->codec_type, AVMEDIA_TYPE_VIDEO);
    EXPECT_EQ(stream->codecpar->codec_id, AV_CODEC_ID_MJPEG);
    EXPECT_EQ(stream->codecpar->width, 320);
    EXPECT_EQ(stream->codecpar->height, 240);
    EXPECT_EQ(av_q2d(stream->avg_frame_rate), 25.0);
    EXPECT_GE(stream->nb_frames, 50);   // 2 to 4 seconds
    EXPECT_LE(stream->nb_frames, 100);

    const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
    AVCodecContext* decoder = avcodec_alloc_context3(codec);
    avcodec_parameters_to_context(decoder, stream->codecpar);
    ASSERT_EQ(avcodec_open2(decoder, codec, nullptr), 0);
    AVPacket* packet = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    int64_t decoded = 0;
    std::vector<std::vector<uint8_t>> brightness;   // the luma plane of every frame
    auto keep = [&]() {
        ++decoded;
        std::vector<uint8_t> luma;
        for (int y = 0; y < frame->height; ++y)
            luma.insert(luma.end(), frame->data[0] + y * frame->linesize[0], frame->data[0] + y * frame->linesize[0] + frame->width);
        brightness.push_back(luma);
    };
    while (av_read_frame(format, packet) >= 0) {
        if (avcodec_send_packet(decoder, packet) >= 0)
            while (avcodec_receive_frame(decoder, frame) >= 0) keep();
        av_packet_unref(packet);
    }
    avcodec_send_packet(decoder, nullptr);
    while (avcodec_receive_frame(decoder, frame) >= 0) keep();
    EXPECT_EQ(decoded, stream->nb_frames) << "the frame count in the header must match the frames stored";

    // The face moves, and the last frame leads smoothly back into the first.
    auto difference = [&](size_t a, size_t b) {
        double sum = 0;
        for (size_t i = 0; i < brightness[a].size(); ++i) sum += std::abs(int(brightness[a][i]) - int(brightness[b][i]));
        return sum / double(brightness[a].size());
    };
    ASSERT_GT(brightness.size(), 10u);
    double widest = 0, wrap = difference(brightness.size() - 1, 0), biggestStep = 0;
    for (size_t i = 1; i < brightness.size(); ++i) {
        widest = std::max(widest, difference(i, 0));
        biggestStep = std::max(biggestStep, difference(i, i - 1));
    }
    EXPECT_GT(widest, 1.0) << "the video shows a still picture";
    EXPECT_LE(wrap, biggestStep) << "the loop jumps where the video starts again";
    av_frame_free(&frame);
    av_packet_free(&packet);
    avcodec_free_context(&decoder);
    avformat_close_input(&format);
}
