// Times what a user waits for on big models, each beside a baseline timed in the same
// run, and ends with one table of them all:
// - frames of generated cylinder meshes at 1600 x 900 through the frame painter onto
//   a QtCanvas (after an arrow-key turn, its projection included; repaints; first
//   frames with nothing kept), on both cores and on one, against the same frames
//   through a canvas that draws everything with QPainter;
// - node numbers of 100k nodes against the same labels drawn as QPainter text;
// - a point and a rectangle pick at 1M through the application, from the click to
//   the finished picture, and the pick alone against the plain scans of the picking
//   rules;
// - an undo of Select All at 1M, from the key to the picture, against the Select
//   All itself;
// - the batch mode's frame and PNG at 1M against Qt's default PNG setting;
// - the first picture of 1M as whole runs of `corvelt --batch` (start, read, fit,
//   paint, PNG), beside the same process that only starts and the one that only
//   reads (--info).
// Wall times are the best of a few runs (the machine is shared; the best run is the
// one least disturbed) with their median; cpu is the processor time of all threads.
// It also times the span filler alone against QPainter::drawPolygon and the
// far-to-near order alone against a stable sort.
//
// Usage: render_bench [--quick | --only picking|undo|png|first|quantities |
//                      --profile ELEMENTS [turn|mesh|numbers]]
//   --quick    100,000 elements only, no whole-process runs
//   --only     only the picks, the undo, the batch PNG, the first picture or the
//              derived quantities, at 1M
//   --profile  only paints that frame of that many elements, 30 times, for a
//              profiler (perf record -e cpu-clock, valgrind --tool=callgrind):
//              a repaint of the contour, or a frame after a turn, or with outlines
//              and node markers, or with node numbers

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QPolygon>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "app/Application.h"
#include "app/DialogControlId.h"
#include "base/Prefault.h"
#include "gui/FrameImage.h"
#include "gui/OffscreenApplication.h"
#include "gui/QtCanvas.h"
#include "gui/QtPen.h"
#include "model/ShellModel.h"
#include "model/StressQuantity.h"
#include "render/DepthOrder.h"
#include "render/FramePainter.h"
#include "render/SpanFiller.h"
#include "samples/PressurizedCylinder.h"
#include "samples/ResultFileWriter.h"
#include "select/Picking.h"
#include "view/Depth.h"
#include "view/Projection.h"
#include "view/Rotation.h"
#include "view/ViewCamera.h"

extern char** environ;

namespace corvelt {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int frameWidth = 1600;
constexpr int frameHeight = 900;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double cpuMilliseconds(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) * 1e-6;
}

// Processor time of all threads of this process.
double processCpuMilliseconds() {
    return cpuMilliseconds(CLOCK_PROCESS_CPUTIME_ID);
}

// Processor time of this thread alone.
double threadCpuMilliseconds() {
    return cpuMilliseconds(CLOCK_THREAD_CPUTIME_ID);
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : 0.5 * (values[middle - 1] + values[middle]);
}

// Milliseconds of some runs of one thing: the best and the median wall time, and the
// median processor time of all threads.
struct Timing {
    double best = 0.0;
    double median = 0.0;
    double cpu = 0.0;
};

// Times work() `runs` times after `warmUps` untimed runs; before() runs untimed
// before each.
Timing timeRuns(int runs, const std::function<void()>& work,
                const std::function<void()>& before = {}, int warmUps = 1) {
    std::vector<double> wall, cpu;
    for (int run = -warmUps; run < runs; ++run) {
        if (before) before();
        const Clock::time_point start = Clock::now();
        const double cpuStart = processCpuMilliseconds();
        work();
        if (run < 0) continue;
        wall.push_back(millisecondsSince(start));
        cpu.push_back(processCpuMilliseconds() - cpuStart);
    }
    return {*std::min_element(wall.begin(), wall.end()), median(wall), median(cpu)};
}

void printTiming(const char* name, const Timing& time) {
    std::printf("    %-34s %8.1f ms best %8.1f median (%7.1f ms cpu)\n", name, time.best,
                time.median, time.cpu);
}

// ---------------------------------------------------------------- canvases

// The plain-Qt way: every polygon, line, circle and text through the painter
// (polygons without outline, odd-even), on one thread.
class PlainQtCanvas : public QtCanvas {
  public:
    using QtCanvas::QtCanvas;

    std::unique_ptr<Canvas> polygonRowBand(int, int) override { return nullptr; }

    void fillPolygon(std::span<const Pixel> corners, Rgb colour) override {
        if (corners.size() < 3) return;
        QPainter& qpainter = painter();
        qpainter.setPen(Qt::NoPen);
        qpainter.setBrush(QColor(colour.red, colour.green, colour.blue));
        qpainter.drawPolygon(toPolygon(corners), Qt::OddEvenFill);
    }

    void drawPath(std::span<const Pixel> corners, bool closed, const Pen& pen) override {
        if (corners.size() < 2) return;
        QPainter& qpainter = painter();
        qpainter.setPen(toQPen(pen));
        qpainter.setBrush(Qt::NoBrush);
        if (closed) {
            qpainter.drawPolygon(toPolygon(corners));
        } else {
            qpainter.drawPolyline(toPolygon(corners));
        }
    }

    void drawCircle(Pixel centre, int radius, const Pen& pen) override {
        if (radius <= 0) return;
        QPainter& qpainter = painter();
        qpainter.setPen(toQPen(pen));
        qpainter.setBrush(Qt::NoBrush);
        qpainter.drawEllipse(
            QRect(centre.x - radius, centre.y - radius, 2 * radius - 1, 2 * radius - 1));
    }

  private:
    const QPolygon& toPolygon(std::span<const Pixel> corners) {
        polygon_.resize(static_cast<int>(corners.size()));
        for (std::size_t i = 0; i < corners.size(); ++i) {
            polygon_.setPoint(static_cast<int>(i), corners[i].x, corners[i].y);
        }
        return polygon_;
    }

    QPolygon polygon_;
};

// Our canvas without the second thread: the painter draws everything itself.
class OneThreadQtCanvas : public QtCanvas {
  public:
    using QtCanvas::QtCanvas;
    std::unique_ptr<Canvas> polygonRowBand(int, int) override { return nullptr; }
};

// Our canvas, but every label through QPainter's text drawing.
class QtTextCanvas : public OneThreadQtCanvas {
  public:
    using OneThreadQtCanvas::OneThreadQtCanvas;

    void drawText(Pixel topLeft, std::string_view text, const Font& font, Rgb colour) override {
        QPainter& qpainter = painter();
        const ResolvedFont& resolved = fonts_.resolve(font);
        qpainter.setFont(resolved.font);
        qpainter.setPen(QColor(colour.red, colour.green, colour.blue));
        qpainter.drawText(QPoint(topLeft.x, topLeft.y + resolved.ascent),
                          QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    }

  private:
    FontCache fonts_;
};

class CountingCanvas : public OneThreadQtCanvas {
  public:
    using OneThreadQtCanvas::OneThreadQtCanvas;

    void fillPolygon(std::span<const Pixel> corners, Rgb colour) override {
        ++polygons;
        QtCanvas::fillPolygon(corners, colour);
    }

    long long polygons = 0;
};

// ---------------------------------------------------------------- span filler

// The polygons of one frame, in painting order.
struct PolygonStream {
    std::vector<Pixel> corners;
    std::vector<std::size_t> starts;  // polygon i is corners[starts[i] .. starts[i + 1])
    std::vector<std::uint32_t> colours;

    std::size_t size() const { return colours.size(); }
    std::span<const Pixel> polygon(std::size_t i) const {
        return {corners.data() + starts[i], starts[i + 1] - starts[i]};
    }
};

class CapturingCanvas : public OneThreadQtCanvas {
  public:
    explicit CapturingCanvas(QImage& image, PolygonStream& stream)
        : OneThreadQtCanvas(image), stream_(stream) {
        stream_.starts.push_back(0);
    }

    void fillPolygon(std::span<const Pixel> corners, Rgb colour) override {
        stream_.corners.insert(stream_.corners.end(), corners.begin(), corners.end());
        stream_.starts.push_back(stream_.corners.size());
        stream_.colours.push_back(packPixel(colour));
    }

  private:
    PolygonStream& stream_;
};

// Pixels per polygon, each filled alone into a buffer of its bounding box (later
// polygons cover parts of earlier ones in the frame).
double averagePixels(const PolygonStream& stream) {
    long long pixels = 0;
    std::vector<std::uint32_t> alone;
    std::vector<Pixel> local;
    for (std::size_t i = 0; i < stream.size(); ++i) {
        const auto polygon = stream.polygon(i);
        local.assign(polygon.begin(), polygon.end());
        const auto [minX, maxX] = std::minmax_element(local.begin(), local.end(),
                                                      [](Pixel a, Pixel b) { return a.x < b.x; });
        const auto [minY, maxY] = std::minmax_element(local.begin(), local.end(),
                                                      [](Pixel a, Pixel b) { return a.y < b.y; });
        const Pixel origin{minX->x, minY->y};
        const int width = maxX->x - origin.x + 1;
        const int height = maxY->y - origin.y + 1;
        for (Pixel& corner : local)
            corner = {corner.x - origin.x, corner.y - origin.y};
        alone.assign(static_cast<std::size_t>(width) * height, 0u);
        SpanFiller({alone.data(), width, height, width}).fillPolygon(local, 1u);
        pixels += std::count(alone.begin(), alone.end(), 1u);
    }
    return static_cast<double>(pixels) / static_cast<double>(stream.size());
}

template <typename Fill>
double nanosecondsPerPolygon(const PolygonStream& stream, int runs, const Fill& fill) {
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        const double start = threadCpuMilliseconds();
        for (std::size_t i = 0; i < stream.size(); ++i)
            fill(stream.polygon(i), stream.colours[i]);
        times.push_back(threadCpuMilliseconds() - start);
    }
    return median(times) * 1e6 / static_cast<double>(stream.size());
}

// The same polygons three times as big, each about its first corner: the size
// they have when the view is zoomed in.
PolygonStream magnified(const PolygonStream& stream) {
    PolygonStream bigger = stream;
    for (std::size_t i = 0; i < stream.size(); ++i) {
        const Pixel anchor = stream.corners[stream.starts[i]];
        for (std::size_t k = stream.starts[i]; k < stream.starts[i + 1]; ++k) {
            const Pixel corner = stream.corners[k];
            bigger.corners[k] = {anchor.x + 3 * (corner.x - anchor.x),
                                 anchor.y + 3 * (corner.y - anchor.y)};
        }
    }
    return bigger;
}

// The filler alone on the polygons of a real frame, against QPainter::drawPolygon.
void benchSpanFiller(const PolygonStream& stream) {
    if (stream.size() == 0) return;
    QImage image(frameWidth, frameHeight, QImage::Format_RGB32);
    image.fill(Qt::black);
    SpanFiller filler(
        {reinterpret_cast<std::uint32_t*>(image.bits()), frameWidth, frameHeight, frameWidth});
    const double ours =
        nanosecondsPerPolygon(stream, 15, [&](std::span<const Pixel> polygon, std::uint32_t pixel) {
            filler.fillPolygon(polygon, pixel);
        });
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::NoPen);
    QPolygon qpolygon;
    const double qt =
        nanosecondsPerPolygon(stream, 5, [&](std::span<const Pixel> polygon, std::uint32_t pixel) {
            qpolygon.resize(static_cast<int>(polygon.size()));
            for (std::size_t k = 0; k < polygon.size(); ++k) {
                qpolygon.setPoint(static_cast<int>(k), polygon[k].x, polygon[k].y);
            }
            painter.setBrush(QColor::fromRgb(pixel));
            painter.drawPolygon(qpolygon, Qt::OddEvenFill);
        });
    std::printf(
        "  span filler alone, %zu polygons of the frame (%.1f corners, %.1f pixels on average)\n",
        stream.size(),
        static_cast<double>(stream.corners.size()) / static_cast<double>(stream.size()),
        averagePixels(stream));
    std::printf("    span filler       %8.1f ns per polygon (thread cpu time)\n", ours);
    std::printf("    QPainter baseline %8.1f ns per polygon (thread cpu time)   speed-up %.1fx\n",
                qt, qt / ours);
}

// ---------------------------------------------------------------- whole frames

struct Scene {
    ShellModel model;
    ViewCamera camera;
};

ResultData cylinderData(std::int64_t elementCount) {
    return samples::generateCylinderResult(samples::cylinderWithElementCount(elementCount));
}

void setUpScene(Scene& scene, std::int64_t elementCount) {
    scene.model.adoptResult(cylinderData(elementCount));
    copyWorldBox(scene.model, scene.camera);
    // The start view of the program: 45 degrees azimuth, 35.26 degrees elevation.
    const double pi = std::acos(-1.0);
    setViewAngles(scene.model, scene.camera, pi * 0.25, pi * 0.1958888888888889);
    resizeView(scene.model, scene.camera, frameWidth, frameHeight);
}

// What changed since the previous frame: nothing (a repaint, e.g. after a pan), the
// view matrix by one arrow-key step (timed with the key's projection of the nodes),
// or the model itself (nothing the painter kept is of use).
enum class FrameKind { repaint, afterTurn, freshModel };

template <typename CanvasType>
Timing timeFrames(Scene& scene, int frames, FrameKind kind) {
    const double step = std::acos(-1.0) / 36;
    QImage image(frameWidth, frameHeight, QImage::Format_RGB32);
    FramePainter painter;
    int frame = 0;
    const auto before = [&] {
        if (kind == FrameKind::freshModel) painter.invalidate();
    };
    return timeRuns(
        frames,
        [&] {
            if (kind == FrameKind::afterTurn) {
                // Back and forth, so that the view stays the start view's.
                rotateAboutScreenY(scene.camera, ++frame % 2 == 0 ? step : -step);
                projectAllNodes(scene.model, scene.camera);
            }
            CanvasType canvas(image);
            canvas.clear(Rgb{0, 0, 0});
            painter.paintFrame(scene.model, scene.camera, canvas);
            canvas.finish();
        },
        before);
}

long long polygonsPerFrame(Scene& scene) {
    QImage image(frameWidth, frameHeight, QImage::Format_RGB32);
    FramePainter painter;
    CountingCanvas canvas(image);
    painter.paintFrame(scene.model, scene.camera, canvas);
    return canvas.polygons;
}

PolygonStream capturePolygons(Scene& scene) {
    QImage image(frameWidth, frameHeight, QImage::Format_RGB32);
    FramePainter painter;
    PolygonStream stream;
    CapturingCanvas canvas(image, stream);
    painter.paintFrame(scene.model, scene.camera, canvas);
    return stream;
}

// ---------------------------------------------------------------- depth order

template <typename Work>
double medianCpuMilliseconds(int runs, const Work& work) {
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        const double start = processCpuMilliseconds();
        work();
        times.push_back(processCpuMilliseconds() - start);
    }
    return median(times);
}

// The far-to-near order of the scene's view against the textbook way: the keys,
// then a stable sort of the element indices by decreasing key (which differs from
// our order where keys are equal).
void benchDepthOrder(const Scene& scene, const char* name) {
    const std::int32_t count = scene.model.elementCount();
    std::vector<double> keys(static_cast<std::size_t>(count));
    std::vector<std::int32_t> order;
    DepthSortBuffers buffers;  // kept as the painter keeps them
    const double ours = medianCpuMilliseconds(
        5, [&] { orderElementsByDepth(scene.model, scene.camera, order, buffers); });
    const double stable = medianCpuMilliseconds(5, [&] {
        for (std::int32_t e = 0; e < count; ++e)
            keys[e] = elementDepth(scene.model, scene.camera, e);
        for (std::int32_t e = 0; e < count; ++e)
            order[e] = e;
        std::stable_sort(order.begin(), order.end(),
                         [&](std::int32_t a, std::int32_t b) { return keys[a] > keys[b]; });
    });
    std::sort(keys.begin(), keys.end());
    const auto equalKeys =
        static_cast<long long>(keys.end() - std::unique(keys.begin(), keys.end()));
    std::printf("  depth order, %s (%lld keys equal to an earlier one)\n", name, equalKeys);
    std::printf("    ours                      %7.1f ms (cpu)\n", ours);
    std::printf("    baseline, stable sort     %7.1f ms (cpu)   ratio %.2f\n", stable,
                ours / stable);
}

// ---------------------------------------------------------------- the table

struct TableRow {
    std::string what;
    Timing ours;
    std::string baselineName;
    Timing baseline;
    double goal;  // milliseconds, 0: none
};

std::vector<TableRow> table;

void addRow(std::string what, Timing ours, std::string baselineName, Timing baseline, double goal) {
    table.push_back({std::move(what), ours, std::move(baselineName), baseline, goal});
}

void printTable() {
    std::printf(
        "The issue's table, ours against the baseline of the same run "
        "(best wall time, its median, processor time of all threads):\n");
    for (const TableRow& row : table) {
        std::printf("  %s\n", row.what.c_str());
        std::printf("    ours %8.1f ms (median %.1f, cpu %.1f)", row.ours.best, row.ours.median,
                    row.ours.cpu);
        if (row.goal > 0)
            std::printf("   goal <= %.0f ms: %s", row.goal,
                        row.ours.best <= row.goal ? "met" : "not met");
        std::printf("\n");
        if (row.baseline.best > 0)
            std::printf("    %-4s %8.1f ms (median %.1f, cpu %.1f)   %.1fx faster\n",
                        row.baselineName.c_str(), row.baseline.best, row.baseline.median,
                        row.baseline.cpu, row.baseline.best / row.ours.best);
    }
}

struct Layers {
    const char* name;
    PlotScope outlines;
    PlotScope nodes;
};

void benchFrames(std::int64_t elementCount, int frames, int baselineFrames, const char* label) {
    Scene scene;
    const Clock::time_point built = Clock::now();
    setUpScene(scene, elementCount);
    std::printf("%lld elements, %d nodes, %d x %d (mesh built in %.0f ms)\n",
                static_cast<long long>(scene.model.elementCount()), scene.model.nodeCount(),
                frameWidth, frameHeight, millisecondsSince(built));
    benchDepthOrder(scene, "the start view");
    {
        // Seen along the axis, the rings of the cylinder lie at equal depths.
        Scene side;
        side.model.adoptResult(cylinderData(elementCount));
        copyWorldBox(side.model, side.camera);
        setViewAngles(side.model, side.camera, 0.0, 0.0);
        benchDepthOrder(side, "seen along an axis");
    }

    for (const Layers& layers :
         {Layers{"Se contour", PlotScope::none, PlotScope::none},
          Layers{"Se contour + outlines + nodes", PlotScope::all, PlotScope::all}}) {
        const bool contourOnly = layers.outlines == PlotScope::none;
        scene.model.contourOn = true;
        scene.model.contourComponent = Se;
        scene.model.elementOutlinePlot = layers.outlines;
        scene.model.nodePlot = layers.nodes;
        std::printf("  %s: %lld polygons per frame\n", layers.name, polygonsPerFrame(scene));
        if (contourOnly) {
            const PolygonStream stream = capturePolygons(scene);
            benchSpanFiller(stream);
            benchSpanFiller(magnified(stream));
        }
        const Timing turned = timeFrames<QtCanvas>(scene, frames, FrameKind::afterTurn);
        const Timing repaint = timeFrames<QtCanvas>(scene, frames, FrameKind::repaint);
        const Timing fresh = timeFrames<QtCanvas>(scene, frames, FrameKind::freshModel);
        const Timing oneThread = timeFrames<OneThreadQtCanvas>(scene, frames, FrameKind::afterTurn);
        const Timing baseline =
            timeFrames<PlainQtCanvas>(scene, baselineFrames, FrameKind::afterTurn);
        printTiming("after a turn (key + paint)", turned);
        printTiming("repaint", repaint);
        printTiming("first frame, nothing kept", fresh);
        printTiming("after a turn, one thread", oneThread);
        printTiming("after a turn, plain QPainter", baseline);

        const std::string what =
            std::string(label) +
            (contourOnly ? ", Se contour" : ", Se contour, outlines and node markers");
        const bool million = elementCount >= 1000000;
        addRow(what + ", after a turn", turned, "QPainter", baseline,
               contourOnly ? (million ? 100.0 : 12.0) : (million ? 250.0 : 0.0));
        addRow(what + ", after a turn, one thread", oneThread, "", {}, 0.0);
        if (contourOnly && million) addRow(what + ", first frame", fresh, "", {}, 150.0);
    }
    std::printf("\n");
}

// ---------------------------------------------------------------- node numbers

void benchNodeNumbers(std::int64_t elementCount, int frames) {
    Scene scene;
    setUpScene(scene, elementCount);
    scene.model.nodeNumberPlot = PlotScope::all;
    std::printf("%d node numbers over the Se contour\n", scene.model.nodeCount());
    const Timing ours = timeFrames<QtCanvas>(scene, frames, FrameKind::repaint);
    const Timing text = timeFrames<QtTextCanvas>(scene, frames, FrameKind::repaint);
    scene.model.nodeNumberPlot = PlotScope::none;
    const Timing without = timeFrames<QtCanvas>(scene, frames, FrameKind::repaint);
    printTiming("frame with the numbers", ours);
    printTiming("the same, labels as QPainter text", text);
    printTiming("the same frame without numbers", without);
    const auto labelsOnly = [&without](Timing t) {
        return Timing{t.best - without.best, t.median - without.median, t.cpu - without.cpu};
    };
    addRow("100k node numbers (the frame's time with them less without them)", labelsOnly(ours),
           "text", labelsOnly(text), 60.0);
    std::printf("\n");
}

// ---------------------------------------------------------------- the application

// An application showing a generated cylinder in a 1600 x 900 window.
std::unique_ptr<Application> applicationWith(std::int64_t elementCount) {
    auto app = std::make_unique<Application>();
    app->resize(frameWidth, frameHeight);
    app->adoptFile(cylinderData(elementCount), "cylinder.txt");
    return app;
}

// The window's kept image and the number of the application's frame in it.
struct WindowImage {
    QImage image{frameWidth, frameHeight, QImage::Format_RGB32};
    std::optional<std::uint64_t> frame;
};

// Paints as the window does: a QtCanvas over its kept image, which the application
// may repaint in part.
void paintWindow(Application& app, WindowImage& window) {
    QtCanvas canvas(window.image);
    window.frame = app.paint(canvas, 1.0, window.frame);
    canvas.finish();
}

// ---------------------------------------------------------------- quantities and faces

// A first picture of what the contour shows, from a painter that kept nothing (so
// that the shown values are worked out), followed by three arrow-key turns.
Timing timeFirstPictureAndTurns(Scene& scene, int runs) {
    const double step = std::acos(-1.0) / 36;
    QImage image(frameWidth, frameHeight, QImage::Format_RGB32);
    FramePainter painter;
    return timeRuns(
        runs,
        [&] {
            for (int frame = 0; frame < 4; ++frame) {
                if (frame > 0) {
                    rotateAboutScreenY(scene.camera, frame % 2 == 0 ? step : -step);
                    projectAllNodes(scene.model, scene.camera);
                }
                QtCanvas canvas(image);
                canvas.clear(Rgb{0, 0, 0});
                painter.paintFrame(scene.model, scene.camera, canvas);
                canvas.finish();
            }
            // Back to the start view for the next run.
            rotateAboutScreenY(scene.camera, step);
            projectAllNodes(scene.model, scene.camera);
        },
        [&] { painter.invalidate(); });
}

void benchQuantities(std::int64_t elementCount, int runs) {
    Scene scene;
    setUpScene(scene, elementCount);
    std::printf("%lld elements: derived quantities and combined faces\n",
                static_cast<long long>(scene.model.elementCount()));
    const auto show = [&](int quantity, ShellFace face) {
        scene.model.contourComponent = quantity;
        scene.model.contourFace = face;
    };
    show(Se, ShellFace::facing);
    const Timing seFirst = timeFirstPictureAndTurns(scene, runs);
    const Timing seTurn = timeFrames<QtCanvas>(scene, runs, FrameKind::afterTurn);
    show(P1, ShellFace::membrane);
    const Timing p1First = timeFirstPictureAndTurns(scene, runs);
    const Timing p1Turn = timeFrames<QtCanvas>(scene, runs, FrameKind::afterTurn);
    show(stressIntensity, ShellFace::facing);
    const Timing sintFirst = timeFirstPictureAndTurns(scene, runs);
    printTiming("Se, Facing: first picture + 3 turns", seFirst);
    printTiming("P1, Membrane: first picture + 3 turns", p1First);
    printTiming("SINT, Facing: first picture + 3 turns", sintFirst);
    printTiming("Se, Facing: after a turn", seTurn);
    printTiming("P1, Membrane: after a turn", p1Turn);
    std::printf("    P1 on Membrane takes %.1f ms longer than Se on Facing (goal: at most 300)\n\n",
                p1First.best - seFirst.best);
    const std::string what = elementCount >= 1000000 ? "1M" : "100k";
    addRow(what + " P1 on Membrane, first picture and three turns", p1First, "Se",
           seFirst, seFirst.best + 300.0);
    addRow(what + " P1 on Membrane, after a turn", p1Turn, "Se", seTurn, 0.0);
}

void benchPicking(std::int64_t elementCount, int runs) {
    const std::unique_ptr<Application> app = applicationWith(elementCount);
    WindowImage image;
    paintWindow(*app, image);
    std::printf("picking in %d elements\n", app->model().elementCount());
    const Pixel centre{frameWidth / 2, frameHeight / 2};
    const Pixel corner{centre.x + 160, centre.y + 120};

    // Point picks at the centre, alternately picking and unpicking (Esc), so that
    // every click changes the picture.
    app->command(40010);  // Select Element(s): pick mode
    app->setRectanglePick(false);
    const auto pointClick = [&] { app->leftButtonDown(centre.x, centre.y); };
    const auto clearPicks = [&] {
        app->character(escapeCharacter);
        paintWindow(*app, image);
    };
    const Timing point = timeRuns(
        runs,
        [&] {
            pointClick();
            paintWindow(*app, image);
        },
        clearPicks);
    const Timing pointLogic = timeRuns(runs, pointClick, clearPicks);

    // A window rectangle: the rubber band follows the moves after the first click,
    // and the second click picks and repaints.
    app->setRectanglePick(true);
    clearPicks();
    app->leftButtonDown(centre.x, centre.y);
    int move = 0;
    const Timing rubberBand = timeRuns(runs, [&] {
        app->mouseMove(corner.x + ++move % 2, corner.y);
        paintWindow(*app, image);
    });
    app->leftButtonDown(corner.x, corner.y);
    const auto firstCorner = [&] {
        clearPicks();
        app->leftButtonDown(centre.x, centre.y);
    };
    const Timing rectangle = timeRuns(
        runs,
        [&] {
            app->leftButtonDown(corner.x, corner.y);
            paintWindow(*app, image);
        },
        firstCorner);
    const Timing rectangleLogic = timeRuns(
        runs, [&] { app->leftButtonDown(corner.x, corner.y); }, firstCorner);

    // The plain scans of the picking rules on the same model and camera.
    ShellModel model;
    model.adoptResult(cylinderData(elementCount));
    const ViewCamera& camera = app->camera();
    projectAllNodes(model, camera);
    const Timing pointScan = timeRuns(
        std::max(runs / 2, 1), [&] { pickElementAtPoint(model, camera, centre, 1, PickScope{}); });
    const Timing rectangleScan = timeRuns(std::max(runs / 2, 1), [&] {
        pickElementsInRectangle(model, camera, centre, corner, 1, PickScope{});
    });

    printTiming("point pick, click to picture", point);
    printTiming("point pick alone", pointLogic);
    printTiming("point pick, plain scan", pointScan);
    printTiming("rectangle pick, click to picture", rectangle);
    printTiming("rectangle pick alone", rectangleLogic);
    printTiming("rectangle pick, plain scan", rectangleScan);
    printTiming("rubber band, a move to picture", rubberBand);
    addRow("1M point pick, click to picture", point, "", {}, 150.0);
    addRow("1M point pick alone", pointLogic, "scan", pointScan, 30.0);
    addRow("1M rectangle pick, click to picture", rectangle, "", {}, 150.0);
    addRow("1M rectangle pick alone", rectangleLogic, "scan", rectangleScan, 30.0);
    std::printf("\n");
}

// ---------------------------------------------------------------- undo

// Undo of Select All at 1M, from the key to the finished picture: half the elements
// (every other one) were selected before, so the step holds half a million scattered
// flips and the picture goes back to half the model's contour. The baseline is the
// Select All itself, from its button to the picture.
void benchUndo(std::int64_t elementCount, int runs) {
    const std::unique_ptr<Application> app = applicationWith(elementCount);
    WindowImage image;
    app->command(40010);  // Select Element(s), then the contour alone again
    const DialogId dialog = app->newestDialog(DialogKind::selectElements)->id;
    app->pressDialogControl(dialog, SelectElementsControl::unplotAllOutlines);
    const fs::path halfFile = fs::temp_directory_path() / "render_bench_half.txt";
    {
        std::ofstream half(halfFile);
        for (std::int32_t e = 0; e < app->model().elementCount(); e += 2)
            half << e << '\n';
    }
    std::printf("undo in %d elements\n", app->model().elementCount());

    const auto half = [&] { app->readSelectionFile(ItemKind::elements, halfFile); };
    const auto selectAll = [&] {
        app->pressDialogControl(dialog, SelectElementsControl::selectAll);
    };
    const auto undo = [&] { app->command(40042); };
    const auto picture = [&] { paintWindow(*app, image); };
    const Timing undone = timeRuns(
        runs,
        [&] {
            undo();
            picture();
        },
        [&] {
            half();
            selectAll();
            picture();
        });
    const Timing selected = timeRuns(
        runs,
        [&] {
            selectAll();
            picture();
        },
        [&] {
            half();
            picture();
        });
    const Timing undoLogic = timeRuns(runs, undo, [&] {
        half();
        selectAll();
    });
    fs::remove(halfFile);
    printTiming("undo of Select All, key to picture", undone);
    printTiming("undo alone", undoLogic);
    printTiming("Select All, button to picture", selected);
    std::printf("    history: %zu steps, %zu bytes\n", app->history().undoCount(),
                app->history().bytes());
    addRow("1M undo of Select All, key to picture", undone, "Select All", selected, 100.0);
    std::printf("\n");
}

// ---------------------------------------------------------------- batch PNG

QByteArray encodePng(const QImage& image, const std::function<void(QImageWriter&)>& configure) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (configure) configure(writer);
    writer.write(image);
    return bytes;
}

void benchBatchPng(std::int64_t elementCount, int runs) {
    const std::unique_ptr<Application> app = applicationWith(elementCount);
    std::printf("the batch mode's frame and PNG, %d elements\n", app->model().elementCount());
    const fs::path path = fs::temp_directory_path() / "render_bench_frame.png";
    PngFrameSink sink;
    const Timing ours = timeRuns(runs, [&] { sink.writePng(*app, path); });
    const Timing frame = timeRuns(runs, [&] { renderFrame(*app); });
    const QImage image = renderFrame(*app);
    const Timing qtDefault = timeRuns(runs, [&] {
        QImage again = renderFrame(*app);
        again.save(QString::fromStdString(path.string()), "PNG");
    });
    const auto ourSetting = [](QImageWriter& writer) {
        writer.setQuality(PngFrameSink::pngQuality);
    };
    const Timing ourEncoding = timeRuns(runs, [&] { encodePng(image, ourSetting); });
    const Timing defaultEncoding = timeRuns(runs, [&] { encodePng(image, {}); });
    const auto ourSize = static_cast<double>(encodePng(image, ourSetting).size());
    const auto defaultSize = static_cast<double>(encodePng(image, {}).size());
    if (QImage::fromData(encodePng(image, ourSetting)).convertToFormat(QImage::Format_RGB32) !=
        image)
        throw std::runtime_error("the batch PNG does not hold the frame's pixels");
    fs::remove(path);
    printTiming("frame + PNG file, ours", ours);
    printTiming("  of which the frame", frame);
    printTiming("  of which our encoding", ourEncoding);
    printTiming("frame + PNG file, Qt's default PNG", qtDefault);
    printTiming("  of which the default encoding", defaultEncoding);
    std::printf("    file size: ours %.0f kB, Qt's default %.0f kB\n", ourSize / 1e3,
                defaultSize / 1e3);
    addRow("1M frame + PNG in the batch mode", ours, "Qt", qtDefault, 0.0);
    addRow("1M PNG encoding alone", ourEncoding, "Qt", defaultEncoding, 0.0);
    std::printf("\n");
}

// ---------------------------------------------------------------- first picture

struct ProcessTime {
    double wall = 0.0;
    double cpu = 0.0;  // user + system of the child
};

ProcessTime runProcess(const std::vector<std::string>& arguments) {
    std::vector<std::string> words = arguments;
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    const Clock::time_point start = Clock::now();
    pid_t child = 0;
    const int spawned = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) throw std::runtime_error("cannot start " + arguments[0]);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    const double wall = millisecondsSince(start);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error(arguments[0] + " failed");
    const auto ms = [](timeval t) {
        return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_usec) * 1e-3;
    };
    return {wall, ms(usage.ru_utime) + ms(usage.ru_stime)};
}

Timing timeProcess(int runs, const std::vector<std::string>& arguments) {
    std::vector<double> wall, cpu;
    for (int run = 0; run < runs; ++run) {
        const ProcessTime time = runProcess(arguments);
        wall.push_back(time.wall);
        cpu.push_back(time.cpu);
    }
    return {*std::min_element(wall.begin(), wall.end()), median(wall), median(cpu)};
}

fs::path writeScript(const std::string& name, const std::string& text) {
    const fs::path path = fs::temp_directory_path() / name;
    std::ofstream(path) << text;
    return path;
}

// The result file of a million elements, shared with reader_bench.
fs::path millionElementFile() {
    const samples::CylinderSample sample = samples::cylinderWithElementCount(1000000);
    const fs::path path = fs::path(CORVELT_BENCH_DIR) / "reader_bench_1000000.txt";
    std::ifstream in(path);
    std::string first, second;
    std::getline(in, first);
    std::getline(in, second);
    const long long elements = static_cast<long long>(sample.axialElements) * sample.hoopElements;
    const long long nodes =
        (static_cast<long long>(sample.axialElements) + 1) * (sample.hoopElements + 1);
    if (first != "NPOIN=" + std::to_string(nodes) ||
        second != "NELEM=" + std::to_string(elements)) {
        std::printf("generating %s ...\n", path.c_str());
        samples::writeResultFile(path, samples::generateCylinderResult(sample));
    }
    return path;
}

// The first touch of as much fresh memory as a first picture of 1M uses, the way the
// program touches it (huge pages, all cores): once after a pause, once right after.
// On a virtual machine whose host takes back freed memory, the first costs many
// times the second, and every run of the program pays it.
void benchFreshMemory() {
    constexpr std::size_t bytes = std::size_t{800} << 20;
    const auto touch = [] {
        std::vector<char> block;
        const Clock::time_point start = Clock::now();
        resizeOnHugePages(block, bytes);
        return millisecondsSince(start);
    };
    std::this_thread::sleep_for(std::chrono::seconds(3));
    const double afterPause = touch();
    const double rightAfter = touch();
    std::printf(
        "    800 MB of fresh memory, first touch     %6.1f ms after a 3 s pause, %.1f ms "
        "right after\n",
        afterPause, rightAfter);
}

void benchFirstPicture(int runs) {
    const fs::path file = millionElementFile();
    const fs::path png = fs::temp_directory_path() / "render_bench_first.png";
    const std::string program = CORVELT_EXECUTABLE;
    const fs::path startOnly = writeScript("render_bench_start.txt", "size 1600 900\n");
    const fs::path openOnly =
        writeScript("render_bench_open.txt", "size 1600 900\nopen " + file.string() + "\n");
    const fs::path picture =
        writeScript("render_bench_picture.txt",
                    "size 1600 900\nopen " + file.string() + "\nrender " + png.string() + "\n");
    std::printf("the first picture of %s, whole runs of corvelt --batch\n", file.c_str());
    runProcess({program, "--info", file.string()});  // the file into the page cache
    const Timing start = timeProcess(runs, {program, "--batch", startOnly.string()});
    const Timing read = timeProcess(runs, {program, "--info", file.string()});
    const Timing open = timeProcess(runs, {program, "--batch", openOnly.string()});
    const Timing whole = timeProcess(runs, {program, "--batch", picture.string()});
    printTiming("start and end, no file", start);
    printTiming("--info: start, read, end", read);
    printTiming("start, read, fit, end", open);
    printTiming("start, read, fit, paint, PNG, end", whole);
    benchFreshMemory();
    addRow("First picture of 1M: start, read, fit, paint, PNG", whole, "read", read, 800.0);
    for (const fs::path& path : {png, startOnly, openOnly, picture})
        fs::remove(path);
    std::printf("\n");
}

// ---------------------------------------------------------------- profiling

void profileFrames(std::int64_t elementCount, int frames, std::string_view what) {
    Scene scene;
    setUpScene(scene, elementCount);
    if (what == "mesh") {
        scene.model.elementOutlinePlot = PlotScope::all;
        scene.model.nodePlot = PlotScope::all;
    }
    if (what == "numbers") scene.model.nodeNumberPlot = PlotScope::all;
    const FrameKind kind = what == "turn" ? FrameKind::afterTurn : FrameKind::repaint;
    const Timing time = timeFrames<QtCanvas>(scene, frames, kind);
    std::printf("%lld elements: %.1f ms per frame best, %.1f median (%.1f ms cpu)\n",
                static_cast<long long>(scene.model.elementCount()), time.best, time.median,
                time.cpu);
}

}  // namespace
}  // namespace corvelt

int main(int argc, char** argv) {
    using namespace corvelt;
    const bool quick = argc > 1 && std::string_view(argv[1]) == "--quick";
    const OffscreenApplication application;
    if (argc > 2 && std::string_view(argv[1]) == "--profile") {
        profileFrames(std::atoll(argv[2]), 30, argc > 3 ? argv[3] : "");
        return 0;
    }
    try {
        if (argc > 2 && std::string_view(argv[1]) == "--only") {
            const std::string_view part = argv[2];
            if (part == "picking") benchPicking(1000000, 7);
            if (part == "undo") benchUndo(1000000, 7);
            if (part == "png") benchBatchPng(1000000, 5);
            if (part == "first") benchFirstPicture(5);
            if (part == "quantities") benchQuantities(1000000, 5);
            printTable();
            return 0;
        }
        benchFrames(100000, quick ? 5 : 15, quick ? 3 : 5, "100k");
        benchNodeNumbers(100000, quick ? 3 : 7);
        benchQuantities(100000, quick ? 3 : 5);
        if (!quick) {
            benchFrames(1000000, 7, 2, "1M");
            benchQuantities(1000000, 5);
            benchPicking(1000000, 7);
            benchUndo(1000000, 7);
            benchBatchPng(1000000, 5);
            benchFirstPicture(5);
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "render_bench: %s\n", error.what());
        return 1;
    }
    printTable();
    return 0;
}
