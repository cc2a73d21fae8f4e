// Paints whole frames of generated cylinder meshes through the frame painter onto
// a QtCanvas over a 1600 x 900 image and prints milliseconds per frame (median)
// and polygons per second. The baseline, timed in the same run, paints the same
// frames through a canvas that draws everything with QPainter: every polygon with
// drawPolygon, every line and circle with the painter's own calls.
// It also times the span filler alone on the polygons of the contour frame, and the
// far-to-near order alone against a stable sort of the same keys.
//
// Usage: render_bench [--quick | --profile ELEMENTS [mesh]]
//   --quick    100,000 elements only, fewer frames
//   --profile  only repaints the contour frame of that many elements (with
//              outlines and nodes: mesh), 30 times, for a profiler (perf record,
//              valgrind --tool=callgrind)

#include <QImage>
#include <QPainter>
#include <QPolygon>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "gui/OffscreenApplication.h"
#include "gui/QtCanvas.h"
#include "gui/QtPen.h"
#include "model/ShellModel.h"
#include "render/DepthOrder.h"
#include "render/FramePainter.h"
#include "render/SpanFiller.h"
#include "samples/PressurizedCylinder.h"
#include "view/Depth.h"
#include "view/Projection.h"
#include "view/Rotation.h"
#include "view/ViewCamera.h"

namespace corvelt {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int frameWidth = 1600;
constexpr int frameHeight = 900;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// CPU time of this thread: unlike the wall clock it leaves out the time other
// processes take the core, which makes a loaded machine's figures comparable.
double threadCpuMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) * 1e-6;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : 0.5 * (values[middle - 1] + values[middle]);
}

// The plain-Qt way: every polygon, line and circle through the painter
// (polygons without outline, odd-even).
class PlainQtCanvas : public QtCanvas {
  public:
    using QtCanvas::QtCanvas;

    // Every polygon goes through the painter, on one thread.
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

// Our canvas without the second thread: the painter fills every polygon itself.
class OneThreadQtCanvas : public QtCanvas {
  public:
    using QtCanvas::QtCanvas;
    std::unique_ptr<Canvas> polygonRowBand(int, int) override { return nullptr; }
};

class CountingCanvas : public QtCanvas {
  public:
    using QtCanvas::QtCanvas;
    std::unique_ptr<Canvas> polygonRowBand(int, int) override { return nullptr; }

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

class CapturingCanvas : public QtCanvas {
  public:
    explicit CapturingCanvas(QImage& image, PolygonStream& stream)
        : QtCanvas(image), stream_(stream) {
        stream_.starts.push_back(0);
    }

    std::unique_ptr<Canvas> polygonRowBand(int, int) override { return nullptr; }

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

void setUpScene(Scene& scene, std::int64_t elementCount) {
    scene.model.adoptResult(
        samples::generateCylinderResult(samples::cylinderWithElementCount(elementCount)));
    copyWorldBox(scene.model, scene.camera);
    // The start view of the program: 45 degrees azimuth, 35.26 degrees elevation.
    const double pi = std::acos(-1.0);
    setViewAngles(scene.model, scene.camera, pi * 0.25, pi * 0.1958888888888889);
    resizeView(scene.model, scene.camera, frameWidth, frameHeight);
}

// Median wall-clock and thread CPU milliseconds of a frame.
struct FrameTime {
    double wall;
    double cpu;
};

// What changed since the previous frame: nothing (a repaint, e.g. after a pan), the
// view matrix by one arrow-key step (the nodes are projected by the key, before the
// paint), or the model itself (nothing the painter kept is of use).
enum class FrameKind { repaint, afterRotation, freshModel };

template <typename CanvasType>
FrameTime timeFrames(Scene& scene, int frames, FrameKind kind) {
    const double step = std::acos(-1.0) / 36;
    QImage image(frameWidth, frameHeight, QImage::Format_RGB32);
    FramePainter painter;
    std::vector<double> wall;
    std::vector<double> cpu;
    for (int frame = 0; frame <= frames; ++frame) {  // frame 0 warms up
        if (kind == FrameKind::freshModel) painter.invalidate();
        if (kind == FrameKind::afterRotation) {
            // Back and forth, so that the view stays the start view's.
            rotateAboutScreenY(scene.camera, frame % 2 == 0 ? step : -step);
            projectAllNodes(scene.model, scene.camera);
        }
        const Clock::time_point start = Clock::now();
        const double cpuStart = threadCpuMilliseconds();
        {
            CanvasType canvas(image);
            canvas.clear(Rgb{0, 0, 0});
            painter.paintFrame(scene.model, scene.camera, canvas);
            canvas.finish();
        }
        if (frame > 0) {
            wall.push_back(millisecondsSince(start));
            cpu.push_back(threadCpuMilliseconds() - cpuStart);
        }
    }
    return {median(wall), median(cpu)};
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
        const double start = threadCpuMilliseconds();
        work();
        times.push_back(threadCpuMilliseconds() - start);
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
    std::printf("    ours                      %7.1f ms (thread cpu)\n", ours);
    std::printf("    baseline, stable sort     %7.1f ms (thread cpu)   ratio %.2f\n", stable,
                ours / stable);
}

struct Layers {
    const char* name;
    PlotScope outlines;
    PlotScope nodes;
};

void benchFrames(std::int64_t elementCount, int frames, int baselineFrames,
                 double barMilliseconds) {
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
        side.model.adoptResult(
            samples::generateCylinderResult(samples::cylinderWithElementCount(elementCount)));
        copyWorldBox(side.model, side.camera);
        setViewAngles(side.model, side.camera, 0.0, 0.0);
        benchDepthOrder(side, "seen along an axis");
    }

    for (const Layers& layers :
         {Layers{"Se contour", PlotScope::none, PlotScope::none},
          Layers{"Se contour + outlines + nodes", PlotScope::all, PlotScope::all}}) {
        scene.model.contourOn = true;
        scene.model.contourComponent = Se;
        scene.model.elementOutlinePlot = layers.outlines;
        scene.model.nodePlot = layers.nodes;
        const long long polygons = polygonsPerFrame(scene);
        if (layers.outlines == PlotScope::none) {
            const PolygonStream stream = capturePolygons(scene);
            benchSpanFiller(stream);
            benchSpanFiller(magnified(stream));
        }
        const FrameTime repaint = timeFrames<QtCanvas>(scene, frames, FrameKind::repaint);
        const FrameTime rotated = timeFrames<QtCanvas>(scene, frames, FrameKind::afterRotation);
        const FrameTime fresh = timeFrames<QtCanvas>(scene, frames, FrameKind::freshModel);
        const FrameTime oneThread =
            timeFrames<OneThreadQtCanvas>(scene, frames, FrameKind::afterRotation);
        const FrameTime baseline =
            timeFrames<PlainQtCanvas>(scene, baselineFrames, FrameKind::repaint);
        std::printf("  %s: %lld polygons per frame\n", layers.name, polygons);
        const auto row = [polygons](const char* name, FrameTime time) {
            std::printf("    %-27s %7.1f ms/frame (%6.1f ms cpu)  %5.1f M polygons/s\n", name,
                        time.wall, time.cpu, static_cast<double>(polygons) / time.wall / 1e3);
        };
        row("QtCanvas, repaint", repaint);
        row("QtCanvas, after a rotation", rotated);
        row("QtCanvas, first frame", fresh);
        row("QtCanvas, one thread, rotated", oneThread);
        row("baseline, plain QPainter", baseline);
        std::printf("    speed-up over baseline     %7.1fx (repaint)  %.1fx (after a rotation)\n",
                    baseline.wall / repaint.wall, baseline.wall / rotated.wall);
        if (layers.outlines == PlotScope::none) {
            const double slowest = std::max(rotated.wall, fresh.wall);
            std::printf("    bar %.0f ms for any frame: %s\n", barMilliseconds,
                        slowest <= barMilliseconds ? "met" : "MISSED");
        }
    }
    std::printf("\n");
}

void profileFrames(std::int64_t elementCount, int frames, bool withMesh) {
    Scene scene;
    setUpScene(scene, elementCount);
    if (withMesh) {
        scene.model.elementOutlinePlot = PlotScope::all;
        scene.model.nodePlot = PlotScope::all;
    }
    const FrameTime repaint = timeFrames<QtCanvas>(scene, frames, FrameKind::repaint);
    std::printf("%lld elements: %.1f ms per frame (%.1f ms cpu)\n",
                static_cast<long long>(scene.model.elementCount()), repaint.wall, repaint.cpu);
}

}  // namespace
}  // namespace corvelt

int main(int argc, char** argv) {
    const bool quick = argc > 1 && std::string_view(argv[1]) == "--quick";
    const corvelt::OffscreenApplication application;
    if (argc > 2 && std::string_view(argv[1]) == "--profile") {
        const bool withMesh = argc > 3 && std::string_view(argv[3]) == "mesh";
        corvelt::profileFrames(std::atoll(argv[2]), 30, withMesh);
        return 0;
    }
    corvelt::benchFrames(100000, quick ? 5 : 15, quick ? 3 : 7, 40.0);
    if (!quick) corvelt::benchFrames(1000000, 5, 3, 400.0);
    return 0;
}
