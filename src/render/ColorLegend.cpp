#include "render/ColorLegend.h"

#include "model/NumberFormat.h"
#include "render/Canvas.h"
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
                const std::array<Rgb, ShellModel::colorCount>& colours, const BandLimits& limits) {
    const Font font{25, 0, "Times New Roman"};
    const Pen border{fromColorRef(0x000000), 1, PenStyle::solid};
    constexpr int bands = ShellModel::colorCount;

    const int right = camera.screenWidth - rightMargin;
    int bottom = (bands * boxHeight) / 2 + camera.screenHeight / 2;
    int top = bottom - boxHeight;
    for (int band = 0; band < bands; ++band) {
        canvas.drawBox(right - boxWidth, top, right, bottom, colours[band], border);
        canvas.drawText({right + labelGap, bottom - labelRise}, formatLabel(limits[band]), font,
                        colours[band]);
        top -= boxHeight;
        bottom -= boxHeight;
    }
    // The maximum marks the top edge of the highest box, in that box's colour.
    canvas.drawText({right + labelGap, bottom - labelRise}, formatLabel(limits[bands]), font,
                    colours[bands - 1]);
}

}  // namespace corvelt
