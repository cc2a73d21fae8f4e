#include "gui/DigitStamps.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QTextLayout>
#include <algorithm>
#include <cmath>

namespace corvelt {

namespace {

std::int64_t inSixtyFourths(qreal pixels) {
    return std::llround(pixels * 64);
}

QString digitText(std::string_view digits) {
    return QString::fromLatin1(digits.data(), static_cast<qsizetype>(digits.size()));
}

}  // namespace

DigitStamps::DigitStamps(const ResolvedFont& font) : font_(font) {
    if (font.cellHeight <= 0 || font.cellHeight > maxCellHeight) return;
    const QFontMetricsF metrics(font.font);
    const std::string_view digits = "0123456789";
    for (int d = 0; d < 10; ++d)
        advances_[d] = inSixtyFourths(metrics.horizontalAdvance(digitText(digits.substr(d, 1))));
    for (int a = 0; a < 10; ++a) {
        for (int b = 0; b < 10; ++b) {
            const std::string pair{digits[a], digits[b]};
            kerning_[a][b] = inSixtyFourths(metrics.horizontalAdvance(digitText(pair))) -
                             advances_[a] - advances_[b];
        }
    }
    const std::int64_t widest = *std::max_element(advances_.begin(), advances_.end());
    maxDigitAdvance_ = static_cast<int>((widest + 63) / 64);
    if (widest <= 0 || !layoutMatchesQt()) return;

    for (int d = 0; d < 10; ++d) {
        std::optional<std::vector<Pixel>> glyph = drawGlyph(d, 0);
        if (!glyph) return;
        stamps_[d] = std::move(*glyph);
    }
    // A glyph drawn at any fraction of a pixel must be the one drawn at the pixel.
    for (int fraction = 1; fraction < 64; fraction += 7)
        if (drawGlyph(8, fraction) != stamps_[8]) return;
    usable_ = true;
}

bool DigitStamps::layoutMatchesQt() const {
    for (const std::string_view digits :
         {"0123456789", "9876543210", "1111111111", "1010101010", "7474747474"}) {
        QTextLayout layout(digitText(digits), font_.font);
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        std::vector<std::int64_t> positions;
        for (const QGlyphRun& run : layout.glyphRuns())
            for (const QPointF& point : run.positions())
                positions.push_back(inSixtyFourths(point.x()));
        if (positions.size() != digits.size()) return false;
        std::int64_t position = 0;
        for (std::size_t i = 0; i < digits.size(); ++i) {
            if (positions[i] != position) return false;
            const int digit = digits[i] - '0';
            position += advances_[digit];
            if (i + 1 < digits.size()) position += kerning_[digit][digits[i + 1] - '0'];
        }
    }
    return true;
}

std::optional<std::vector<Pixel>> DigitStamps::drawGlyph(int digit, int sixtyFourths) const {
    // Room for glyphs that reach beyond their cell and advance.
    const int margin = font_.cellHeight + 4;
    QImage image(2 * margin + maxDigitAdvance_, 2 * margin + font_.cellHeight,
                 QImage::Format_RGB32);
    image.fill(Qt::black);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setRenderHint(QPainter::TextAntialiasing, false);
        painter.setBackgroundMode(Qt::TransparentMode);
        painter.setFont(font_.font);
        painter.setPen(Qt::white);
        painter.drawText(QPointF(margin + sixtyFourths / 64.0, margin + font_.ascent),
                         QString(QChar(u'0' + digit)));
    }
    std::vector<Pixel> offsets;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y) & 0xFFFFFF;
            if (pixel == 0) continue;
            if (pixel != 0xFFFFFF) return std::nullopt;
            offsets.push_back({x - margin, y - margin});
        }
    }
    return offsets;
}

DigitStamps* DigitStampCache::stampsFor(const Font& font, FontCache& fonts) {
    for (Entry& entry : entries_) {
        if (entry.height == font.height && entry.width == font.width && entry.face == font.face)
            return entry.stamps->usable() ? entry.stamps.get() : nullptr;
    }
    // Zooming asks for a new label size at every step; keep only the recent ones.
    if (entries_.size() == capacity) entries_.erase(entries_.begin());
    entries_.push_back({font.height, font.width, std::string(font.face),
                        std::make_unique<DigitStamps>(fonts.resolve(font))});
    return entries_.back().stamps->usable() ? entries_.back().stamps.get() : nullptr;
}

}  // namespace corvelt
