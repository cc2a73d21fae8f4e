// Pictures of the bundled sample rendered through the batch mode and compared with
// the images kept beside the scripts. Set CORVELT_UPDATE_IMAGES=1 to rewrite them
// (look at every one before committing it). A failing frame is written, with a
// map of the differing pixels, to failed/ in the test's build directory.

#include <gtest/gtest.h>

#include <QByteArray>
#include <QImage>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include "app/Application.h"
#include "app/BatchRunner.h"
#include "app/CommandId.h"
#include "app/FrameSink.h"
#include "gui/FrameImage.h"

namespace corvelt {
namespace {

const std::filesystem::path sourceDir = CORVELT_SOURCE_DIR;
const std::filesystem::path imageDir = sourceDir / "tests/gui/images";
const std::filesystem::path failedDir = std::filesystem::path(CORVELT_BINARY_DIR) / "failed";

// Text is drawn by the font engine, whose glyphs may differ by a pixel between
// FreeType builds; everything else is our own raster and must match exactly.
// A frame passes when at most this share of its pixels differs.
constexpr double tolerance = 0.003;

// Keeps the frames of `render` lines by file name instead of writing them, drawn
// for a screen of pixelRatio device pixels per client pixel.
class CapturingSink : public FrameSink {
  public:
    explicit CapturingSink(double ratio = 1.0) : pixelRatio(ratio) {}
    void writePng(Application& app, const std::filesystem::path& path) override {
        frames[path.filename().string()] = renderFrame(app, pixelRatio);
    }
    double pixelRatio;
    std::map<std::string, QImage> frames;
};

QImage renderScript(const std::string& name, double pixelRatio) {
    std::ifstream script(imageDir / (name + ".batch"));
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(sourceDir);
    Application app;
    CapturingSink sink(pixelRatio);
    const auto failure = runBatch(script, app, &sink);
    std::filesystem::current_path(previous);
    if (failure || sink.frames.size() != 1) return {};
    return sink.frames.begin()->second.convertToFormat(QImage::Format_RGB32);
}

struct Comparison {
    qsizetype differing = 0;
    QImage map;  // differing pixels in red over a dimmed copy of the expected image
};

Comparison compare(const QImage& actual, const QImage& expected) {
    Comparison result;
    result.map = expected.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < expected.height(); ++y)
        for (int x = 0; x < expected.width(); ++x) {
            const QRgb a = actual.pixel(x, y);
            const QRgb e = expected.pixel(x, y);
            if ((a & 0xFFFFFF) == (e & 0xFFFFFF)) {
                result.map.setPixel(x, y, qRgb(qGray(e) / 3, qGray(e) / 3, qGray(e) / 3));
            } else {
                ++result.differing;
                result.map.setPixel(x, y, qRgb(255, 0, 0));
            }
        }
    return result;
}

class ImageRegression : public ::testing::TestWithParam<const char*> {};

TEST_P(ImageRegression, MatchesTheKeptImage) {
    const std::string name = GetParam();
    std::ifstream script(imageDir / (name + ".batch"));
    ASSERT_TRUE(script) << "missing script " << name;

    // The scripts name the sample relative to the repository.
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(sourceDir);
    Application app;
    CapturingSink sink;
    const auto failure = runBatch(script, app, &sink);
    std::filesystem::current_path(previous);
    ASSERT_FALSE(failure) << name << ".batch:" << failure->line << ": " << failure->message;

    ASSERT_EQ(sink.frames.size(), 1u);
    const QImage actual = sink.frames.begin()->second.convertToFormat(QImage::Format_RGB32);
    const std::filesystem::path keptPath = imageDir / (name + ".png");

    if (std::getenv("CORVELT_UPDATE_IMAGES")) {
        ASSERT_TRUE(actual.save(QString::fromStdString(keptPath.string())));
        GTEST_SKIP() << "rewrote " << keptPath;
    }
    const QImage expected(QString::fromStdString(keptPath.string()));
    ASSERT_FALSE(expected.isNull()) << "missing image " << keptPath;
    ASSERT_EQ(actual.size(), expected.size());

    const Comparison comparison = compare(actual, expected);
    const double share =
        static_cast<double>(comparison.differing) / (actual.width() * actual.height());
    if (share > tolerance) {
        std::filesystem::create_directories(failedDir);
        actual.save(QString::fromStdString((failedDir / (name + ".png")).string()));
        comparison.map.save(QString::fromStdString((failedDir / (name + "-diff.png")).string()));
    }
    EXPECT_LE(share, tolerance) << comparison.differing << " pixels differ; see " << failedDir;
}

INSTANTIATE_TEST_SUITE_P(Sample, ImageRegression,
                         ::testing::Values("se-start", "sx-outer-surface", "mesh-on-white",
                                           "filled-elements"),
                         [](const auto& info) {
                             std::string name = info.param;
                             for (char& c : name)
                                 if (c == '-') c = '_';
                             return name;
                         });

QImage readPng(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    const std::string png((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return QImage::fromData(QByteArray::fromStdString(png), "PNG");
}

// The batch mode encodes for speed; the file must still hold every pixel.
TEST(PngFrameSink, TheFileHoldsTheFramePixelForPixel) {
    const std::filesystem::path path = std::filesystem::path(CORVELT_BINARY_DIR) / "frame.png";
    Application app;
    app.resize(800, 600);
    app.openFile(sourceDir / "data/Shell_AverageStrs.txt");
    app.command(plotAllElementOutlinesCommand);
    PngFrameSink().writePng(app, path);
    EXPECT_TRUE(readPng(path).convertToFormat(QImage::Format_RGB32) == renderFrame(app));
    std::filesystem::remove(path);
}

// On a screen of twice the pixels the picture is drawn at that resolution: twice the
// size, each client pixel's colour found in its 2 x 2 block (lines, markers, the
// legend and the labels grow with it), and not the plain picture doubled.
TEST(HighResolution, TwiceThePixelsWithTheSameStructure) {
    for (const char* name : {"se-start", "mesh-on-white"}) {
        SCOPED_TRACE(name);
        const QImage plain = renderScript(name, 1.0);
        const QImage fine = renderScript(name, 2.0);
        ASSERT_FALSE(plain.isNull());
        ASSERT_EQ(fine.size(), plain.size() * 2);
        qsizetype found = 0;
        qsizetype uniformBlocks = 0;
        for (int y = 0; y < plain.height(); ++y)
            for (int x = 0; x < plain.width(); ++x) {
                const QRgb block[] = {fine.pixel(2 * x, 2 * y), fine.pixel(2 * x + 1, 2 * y),
                                      fine.pixel(2 * x, 2 * y + 1),
                                      fine.pixel(2 * x + 1, 2 * y + 1)};
                if (std::find(std::begin(block), std::end(block), plain.pixel(x, y)) !=
                    std::end(block))
                    ++found;
                if (std::count(std::begin(block), std::end(block), block[0]) == 4) ++uniformBlocks;
            }
        const double pixels = static_cast<double>(plain.width()) * plain.height();
        // Text differs most: glyphs at twice the size are not doubled glyphs.
        EXPECT_GE(found / pixels, 0.95);
        // Edges fall between device pixels: a doubled picture has none of that.
        EXPECT_GE(1.0 - uniformBlocks / pixels, 0.02);
    }
}

// Linux file names are bytes; one that is not UTF-8 must not be written as another.
TEST(PngFrameSink, WritesUnderThePathsOwnBytes) {
    const std::filesystem::path dir = std::filesystem::path(CORVELT_BINARY_DIR) / "png-names";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const std::filesystem::path path = dir / "out_\xff\xfe.png";
    Application app;
    app.resize(32, 24);
    PngFrameSink().writePng(app, path);

    const auto written = std::filesystem::directory_iterator(dir);
    ASSERT_NE(written, std::filesystem::directory_iterator());
    EXPECT_EQ(written->path().filename().native(), "out_\xff\xfe.png");
    EXPECT_EQ(readPng(path).size(), QSize(32, 24));
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace corvelt
