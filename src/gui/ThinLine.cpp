#include "gui/ThinLine.h"

#include <algorithm>
#include <cstdlib>

#include "render/FloorDivision.h"

namespace corvelt {

namespace {

// The minor-axis offset after `steps` steps: round(steps * minorDelta / length)
// with ties toward minus infinity, that is floor((2 steps minorDelta + length - 1) / (2 length)).
Quotient minorOffset(std::int64_t steps, std::int64_t minorDelta, std::int64_t length) {
    constexpr std::int64_t safe = std::int64_t{1} << 30;
    if (steps < safe && std::abs(minorDelta) < safe) {
        return floorDivide(2 * steps * minorDelta + length - 1, 2 * length);
    }
    return floorDivide(2 * Int128{steps} * minorDelta + length - 1, 2 * length);
}

}  // namespace

void drawThinLine(const PixelBuffer& buffer, Pixel from, Pixel to, std::uint32_t pixel) {
    drawThinLine(buffer, from, to, pixel, 0, buffer.height);
}

void drawThinLine(const PixelBuffer& buffer, Pixel from, Pixel to, std::uint32_t pixel,
                  int firstRow, int endRow) {
    firstRow = std::max(firstRow, 0);
    endRow = std::min(endRow, buffer.height);
    const std::int64_t dx = std::int64_t{to.x} - from.x;
    const std::int64_t dy = std::int64_t{to.y} - from.y;
    if ((dx == 0 && dy == 0) || firstRow >= endRow) return;
    const bool xMajor = std::abs(dx) >= std::abs(dy);
    const std::int64_t majorStart = xMajor ? from.x : from.y;
    const std::int64_t minorStart = xMajor ? from.y : from.x;
    const std::int64_t majorDelta = xMajor ? dx : dy;
    const std::int64_t minorDelta = xMajor ? dy : dx;
    // The pixels lit lie in columns 0 .. width - 1 and rows firstRow .. endRow - 1.
    const std::int64_t majorLow = xMajor ? 0 : firstRow;
    const std::int64_t majorHigh = xMajor ? buffer.width : endRow;
    const std::int64_t minorLow = xMajor ? firstRow : 0;
    const std::int64_t minorHigh = xMajor ? endRow : buffer.width;
    const std::int64_t direction = majorDelta > 0 ? 1 : -1;
    const std::int64_t length = std::abs(majorDelta);

    // Steps t = 0 .. length - 1 whose major coordinate lies inside.
    const std::int64_t firstStep = direction > 0
                                       ? std::max<std::int64_t>(0, majorLow - majorStart)
                                       : std::max<std::int64_t>(0, majorStart - (majorHigh - 1));
    const std::int64_t endStep = direction > 0 ? std::min(length, majorHigh - majorStart)
                                               : std::min(length, majorStart - majorLow + 1);
    if (firstStep >= endStep) return;

    const std::int64_t denominator = 2 * length;
    // Unclipped lines start at offset 0 with remainder length - 1, and as |minorDelta|
    // <= length the step is -1, 0 or 1 with a remainder: both without a division.
    const Quotient start =
        firstStep == 0 ? Quotient{0, length - 1} : minorOffset(firstStep, minorDelta, length);
    const Quotient step = minorDelta == length    ? Quotient{1, 0}
                          : minorDelta == -length ? Quotient{-1, 0}
                          : minorDelta >= 0       ? Quotient{0, 2 * minorDelta}
                                                  : Quotient{-1, 2 * minorDelta + denominator};
    std::int64_t minor = minorStart + start.quotient;
    std::int64_t remainder = start.remainder;
    std::int64_t major = majorStart + direction * firstStep;
    const std::ptrdiff_t majorStride = xMajor ? 1 : buffer.stride;
    const std::ptrdiff_t minorStride = xMajor ? buffer.stride : 1;
    for (std::int64_t t = firstStep; t < endStep; ++t) {
        if (minor >= minorLow && minor < minorHigh)
            buffer.pixels[major * majorStride + minor * minorStride] = pixel;
        major += direction;
        minor += step.quotient;
        remainder += step.remainder;
        if (remainder >= denominator) {
            remainder -= denominator;
            ++minor;
        }
    }
}

}  // namespace corvelt
