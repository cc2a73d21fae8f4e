#include "gui/FontMapping.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QString>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

namespace corvelt {

namespace {

// Biggest pixel size we ask the font engine for; a label zoomed far beyond the
// window is drawn no bigger than this.
constexpr int maxPixelSize = 10000;

// Weights of 'a' .. 'z' and then the space in the classic average-width formula.
constexpr std::array<int, 27> letterWeights{64, 14, 27, 35, 100, 20, 14, 42, 63, 3, 6,  35, 20, 56,
                                            56, 17, 4,  49, 56,  71, 31, 10, 18, 3, 18, 2,  166};

QFont baseFont(const Font& font, int pixelSize) {
    QFont qfont;
    qfont.setFamily(QString::fromUtf8(font.face.data(), static_cast<qsizetype>(font.face.size())));
    qfont.setPixelSize(std::clamp(pixelSize, 1, maxPixelSize));
    qfont.setStyleStrategy(QFont::NoAntialias);
    return qfont;
}

double weightedAverageWidth(const QFont& qfont) {
    const QFontMetricsF metrics(qfont);
    double sum = 0.0;
    for (int letter = 0; letter < 26; ++letter) {
        sum += letterWeights[letter] * metrics.horizontalAdvance(QChar(u'a' + letter));
    }
    sum += letterWeights[26] * metrics.horizontalAdvance(QChar(u' '));
    return sum / 1000.0;
}

int cellHeightOf(const QFont& qfont) {
    const QFontMetrics metrics(qfont);
    return metrics.ascent() + metrics.descent();
}

// The pixel (em) size whose drawn cell comes closest to the requested height;
// of two equally close sizes the smaller.
int pixelSizeForCell(const Font& font, int cellHeight) {
    constexpr int referenceSize = 1000;
    const QFontMetricsF reference(baseFont(font, referenceSize));
    const double cellPerEm = (reference.ascent() + reference.descent()) / referenceSize;
    const int estimate = static_cast<int>(std::lround(cellHeight / cellPerEm));
    int best = std::max(estimate - 1, 1);
    int bestError = std::abs(cellHeightOf(baseFont(font, best)) - cellHeight);
    for (int size = best + 1; size <= estimate + 1; ++size) {
        const int error = std::abs(cellHeightOf(baseFont(font, size)) - cellHeight);
        if (error < bestError) {
            best = size;
            bestError = error;
        }
    }
    return best;
}

}  // namespace

ResolvedFont resolveFont(const Font& font) {
    int pixelSize = 0;
    if (font.height > 0) {
        pixelSize = pixelSizeForCell(font, std::min(font.height, maxPixelSize));
    } else if (font.height < 0) {
        pixelSize = font.height < -maxPixelSize ? maxPixelSize : -font.height;
    } else {
        pixelSize = defaultFontPixelSize;
    }
    QFont qfont = baseFont(font, pixelSize);
    if (font.width > 0) {
        const double natural = weightedAverageWidth(qfont);
        if (natural > 0.0) {
            const long stretch = std::lround(100.0 * font.width / natural);
            qfont.setStretch(static_cast<int>(std::clamp(stretch, 1L, 4000L)));
        }
    }
    const QFontMetrics metrics(qfont);
    return {qfont, metrics.ascent(), metrics.ascent() + metrics.descent(), metrics.maxWidth()};
}

ResolvedFont FontCache::resolve(const Font& font) {
    for (const Entry& entry : entries_) {
        if (entry.height == font.height && entry.width == font.width && entry.face == font.face) {
            return entry.resolved;
        }
    }
    // Zooming asks for a new label size at every step; keep only the recent ones.
    if (entries_.size() == capacity) entries_.erase(entries_.begin());
    entries_.push_back({font.height, font.width, std::string(font.face), resolveFont(font)});
    return entries_.back().resolved;
}

}  // namespace corvelt
