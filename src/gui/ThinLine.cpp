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
    const std::int64_t dx = std::int64_t{to.x} - from.x;
    const std::int64_t dy = std::int64_t{to.y} - from.y;
    if (dx == 0 && dy == 0) return;
    const bool xMajor = std::abs(dx) >= std::abs(dy);
    const std::int64_t majorStart = xMajor ? from.x : from.y;
    const std::int64_t minorStart = xMajor ? from.y : from.x;
    const std::int64_t majorDelta = xMajor ? dx : dy;
    const std::int64_t minorDelta = xMajor ? dy : dx;
    const std::int64_t majorLimit = xMajor ? buffer.width : buffer.height;
    const std::int64_t minorLimit = xMajor ? buffer.height : buffer.width;
    const std::int64_t direction = majorDelta > 0 ? 1 : -1;
    const std::int64_t length = std::abs(majorDelta);

    // Steps t = 0 .. length - 1 whose major coordinate lies inside the buffer.
    const std::int64_t firstStep = direction > 0
                                       ? std::max<std::int64_t>(0, -majorStart)
                                       : std::max<std::int64_t>(0, majorStart - (majorLimit - 1));
    const std::int64_t endStep = direction > 0 ? std::min(length, majorLimit - majorStart)
                                               : std::min(length, majorStart + 1);
    if (firstStep >= endStep) return;

    const std::int64_t denominator = 2 * length;
    const Quotient start = minorOffset(firstStep, minorDelta, length);
    const Quotient step = floorDivide(2 * minorDelta, denominator);  // -1, 0 or 1 with a remainder
    std::int64_t minor = minorStart + start.quotient;
    std::int64_t remainder = start.remainder;
    std::int64_t major = majorStart + direction * firstStep;
    const std::ptrdiff_t majorStride = xMajor ? 1 : buffer.stride;
    const std::ptrdiff_t minorStride = xMajor ? buffer.stride : 1;
    for (std::int64_t t = firstStep; t < endStep; ++t) {
        if (minor >= 0 && minor < minorLimit)
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
