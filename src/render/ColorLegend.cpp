#include "render/ColorLegend.h"

#include <algorithm>

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
constexpr int fontHeight = 25;
constexpr int heightToSpare = 80;  // what a column of other than nine bands leaves free
constexpr int outOfRangeGap = 4;
constexpr int panelPadding = 6;

// Where everything of the legend goes, in the canvas's pixels.
struct LegendLayout {
    int right = 0;      // the boxes' right edge
    int width = 0;      // of a box
    int height = 0;     // of a band's box
    int columnTop = 0;  // top edge of the highest band's box
    int columnBottom = 0;
    int extraHeight = 0;  // of the out-of-range boxes
    int gap = 0;          // between the boxes and the labels
    int rise = 0;         // of a label above the edge it marks
    Font font;
};

LegendLayout layoutOf(const ViewCamera& camera, int bands, double ratio) {
    const auto device = [ratio](int pixels) { return devicePixels(pixels, ratio); };
    LegendLayout layout;
    layout.right = camera.screenWidth - device(rightMargin);
    layout.width = device(boxWidth);
    layout.height = device(boxHeight);
    layout.gap = device(labelGap);
    layout.rise = device(labelRise);
    layout.font = Font{device(fontHeight), 0, "Times New Roman"};
    // Nine bands keep the classic column, whatever the height.
    const int room = camera.screenHeight - device(heightToSpare);
    if (bands != ShellModel::colorCount && bands * layout.height > room) {
        layout.height = std::max(1, room / bands);
        layout.font.height = std::max(1, layout.height * fontHeight / boxHeight);
        layout.rise = layout.font.height * labelRise / fontHeight;
    }
    layout.columnBottom = (bands * layout.height) / 2 + camera.screenHeight / 2;
    layout.columnTop = layout.columnBottom - bands * layout.height;
    layout.extraHeight = std::max(1, layout.height / 2);
    return layout;
}

std::string trimmed(std::string text) {
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

// Text on the backing panel or the background: white on black, black on white.
Rgb contrastTo(Rgb background) {
    const int brightness = background.red + background.green + background.blue;
    return brightness > 3 * 127 ? Rgb{0, 0, 0} : Rgb{255, 255, 255};
}

Rgb panelColour(Rgb background) {
    return contrastTo(background) == Rgb{0, 0, 0} ? Rgb{215, 215, 215} : Rgb{40, 40, 40};
}

}  // namespace

std::string formatLabel(double value) {
    return formatLegendNumber(value, LegendOptions{});
}

std::array<std::string, 2> legendTitleLines(const LegendLook& look) {
    return {std::string(look.quantityTitle) + ", " + std::string(look.faceTitle),
            look.options.units};
}

void drawLegend(Canvas& canvas, const ViewCamera& camera, const LegendScale& scale,
                const LegendLook& look, double pixelRatio) {
    const int bands = scale.bandCount;
    const LegendLayout at = layoutOf(camera, bands, pixelRatio);
    const Pen border{fromColorRef(0x000000), devicePixels(1, pixelRatio), PenStyle::solid};
    const Rgb textColour = contrastTo(look.background);
    const int extraGap = devicePixels(outOfRangeGap, pixelRatio);
    const int left = at.right - at.width;

    std::array<std::string, LegendOptions::maxBands + 1> labels;
    for (int k = 0; k <= bands; ++k)
        labels[k] = formatLegendNumber(scale.limits[k], look.options);
    std::array<std::string, 2> title = legendTitleLines(look);
    const int titleLines = !look.options.title ? 0 : title[1].empty() ? 1 : 2;
    const int lineHeight = at.font.height + devicePixels(2, pixelRatio);
    const int aboveColumn = scale.outOfRangeBoxes ? extraGap + at.extraHeight : 0;
    const int titleBottom =
        std::min(at.columnTop - at.rise, at.columnTop - aboveColumn) - devicePixels(4, pixelRatio);
    const int titleTop = titleBottom - titleLines * lineHeight;
    // From the boxes' left edge, or further left where a long title would leave the
    // window on the right.
    const int pad = devicePixels(panelPadding, pixelRatio);
    int titleLeft = left;
    for (int line = 0; line < titleLines; ++line)
        titleLeft =
            std::min(titleLeft, canvas.width() - pad - canvas.textWidth(title[line], at.font));

    if (look.options.backing) {
        int widest = 0;
        for (int k = 0; k <= bands; ++k)
            widest = std::max(widest, canvas.textWidth(trimmed(labels[k]), at.font));
        int panelLeft = left - pad;
        if (scale.outOfRangeBoxes) panelLeft -= at.gap + canvas.textWidth("<", at.font);
        if (titleLines > 0) panelLeft = std::min(panelLeft, titleLeft - pad);
        int panelRight = at.right + at.gap + widest + pad;
        for (int line = 0; line < titleLines; ++line)
            panelRight =
                std::max(panelRight, titleLeft + canvas.textWidth(title[line], at.font) + pad);
        const int top =
            (titleLines > 0 ? titleTop : at.columnTop - std::max(at.rise, aboveColumn)) - pad;
        const int bottom =
            std::max(at.columnBottom - at.rise + at.font.height,
                     at.columnBottom + (scale.outOfRangeBoxes ? extraGap + at.extraHeight : 0)) +
            pad;
        const Rgb panel = panelColour(look.background);
        canvas.drawBox(panelLeft, top, panelRight, bottom, panel, Pen{panel, 1, PenStyle::solid});
    }

    int bottom = at.columnBottom;
    int top = bottom - at.height;
    for (int band = 0; band < bands; ++band) {
        canvas.drawBox(left, top, at.right, bottom, scale.colours[band], border);
        canvas.drawText({at.right + at.gap, bottom - at.rise}, labels[band], at.font,
                        scale.colours[band]);
        top -= at.height;
        bottom -= at.height;
    }
    // The maximum marks the top edge of the highest box, in that box's colour.
    canvas.drawText({at.right + at.gap, bottom - at.rise}, labels[bands], at.font,
                    scale.colours[bands - 1]);

    if (scale.outOfRangeBoxes) {
        const auto extraBox = [&](int boxTop, Rgb fill, std::string_view sign) {
            canvas.drawBox(left, boxTop, at.right, boxTop + at.extraHeight, fill, border);
            const int signLeft = left - at.gap - canvas.textWidth(sign, at.font);
            canvas.drawText({signLeft, boxTop + at.extraHeight / 2 - at.font.height / 2}, sign,
                            at.font, textColour);
        };
        extraBox(at.columnBottom + extraGap, belowRangeColour, "<");
        extraBox(at.columnTop - extraGap - at.extraHeight, aboveRangeColour, ">");
    }
    for (int line = 0; line < titleLines; ++line)
        canvas.drawText({titleLeft, titleTop + line * lineHeight}, title[line], at.font,
                        textColour);
}

void drawLegend(Canvas& canvas, const ViewCamera& camera,
                const std::array<Rgb, ShellModel::colorCount>& colours, const BandLimits& limits,
                double pixelRatio) {
    LegendScale scale;
    scale.bandCount = ShellModel::colorCount;
    for (int band = 0; band < ShellModel::colorCount; ++band)
        scale.colours[band] = colours[band];
    for (int k = 0; k <= ShellModel::colorCount; ++k)
        scale.limits[k] = limits[k];
    drawLegend(canvas, camera, scale, LegendLook{}, pixelRatio);
}

}  // namespace corvelt
