#include "render/ColorLegend.h"

#include "base/NumberFormat.h"
#include "render/Canvas.h"
#include "render/PixelRatio.h"
#include "view/ViewCamera.h"

namespace corvelt {

namespace {

constexpr int boxWidth = 50;
constexpr int boxHeight = 35;
constexpr int rightMargin = 150;
constexpr int labelGap = 5;
constexpr int labelRise = 12;
constexpr int labelWidth = 10;

}  // namespace

std::string formatLabel(double value) {
    std::string text = formatGeneral(value, 6);
    if (text.size() < labelWidth) text.resize(labelWidth, ' ');
    return text;
}

void drawLegend(Canvas& canvas, const ViewCamera& camera,
                const std::array<Rgb, ShellModel::colorCount>& colours, const BandLimits& limits,
                double pixelRatio) {
    const auto device = [pixelRatio](int pixels) { return devicePixels(pixels, pixelRatio); };
    const Font font{device(25), 0, "Times New Roman"};
    const Pen border{fromColorRef(0x000000), device(1), PenStyle::solid};
    constexpr int bands = ShellModel::colorCount;
    const int width = device(boxWidth);
    const int height = device(boxHeight);
    const int gap = device(labelGap);
    const int rise = device(labelRise);

    const int right = camera.screenWidth - device(rightMargin);
    int bottom = (bands * height) / 2 + camera.screenHeight / 2;
    int top = bottom - height;
    for (int band = 0; band < bands; ++band) {
        canvas.drawBox(right - width, top, right, bottom, colours[band], border);
        canvas.drawText({right + gap, bottom - rise}, formatLabel(limits[band]), font,
                        colours[band]);
        top -= height;
        bottom -= height;
    }
    // The maximum marks the top edge of the highest box, in that box's colour.
    canvas.drawText({right + gap, bottom - rise}, formatLabel(limits[bands]), font,
                    colours[bands - 1]);
}

}  // namespace corvelt
