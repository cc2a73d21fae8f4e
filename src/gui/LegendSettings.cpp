#include "gui/LegendSettings.h"

#include <QSettings>
#include <QString>
#include <cmath>
#include <string>
#include <string_view>

namespace corvelt {

namespace {

const QString bandsKey = QStringLiteral("legend/bands");
const QString rangeKey = QStringLiteral("legend/range");
const QString minKey = QStringLiteral("legend/fixedMin");
const QString maxKey = QStringLiteral("legend/fixedMax");
const QString formatKey = QStringLiteral("legend/format");
const QString digitsKey = QStringLiteral("legend/digits");
const QString titleKey = QStringLiteral("legend/title");
const QString unitsKey = QStringLiteral("legend/units");
const QString backingKey = QStringLiteral("legend/backing");

int wholeNumber(const QSettings& settings, const QString& key, int fallback, int low, int high) {
    bool ok = false;
    const int value = settings.value(key, fallback).toInt(&ok);
    return ok && value >= low && value <= high ? value : fallback;
}

}  // namespace

void saveLegendOptions(QSettings& settings, const LegendOptions& options) {
    settings.setValue(bandsKey, options.bands);
    settings.setValue(rangeKey, options.fixedRange() ? QStringLiteral("fixed")
                                                     : QStringLiteral("auto"));
    // Doubles as numbers, so that they read back exactly whatever the locale.
    settings.setValue(minKey, options.fixedMin);
    settings.setValue(maxKey, options.fixedMax);
    const std::string_view format = legendFormatName(options.format);
    settings.setValue(formatKey, QString::fromLatin1(format.data(), static_cast<qsizetype>(format.size())));
    settings.setValue(digitsKey, options.digits);
    settings.setValue(titleKey, options.title);
    settings.setValue(unitsKey, QString::fromStdString(options.units));
    settings.setValue(backingKey, options.backing);
}

LegendOptions loadLegendOptions(const QSettings& settings) {
    const LegendOptions defaults;
    LegendOptions options;
    options.bands = wholeNumber(settings, bandsKey, defaults.bands, LegendOptions::minBands,
                                LegendOptions::maxBands);
    options.digits =
        wholeNumber(settings, digitsKey, defaults.digits, 0, LegendOptions::maxDigits);
    bool minOk = false;
    bool maxOk = false;
    const double low = settings.value(minKey, defaults.fixedMin).toDouble(&minOk);
    const double high = settings.value(maxKey, defaults.fixedMax).toDouble(&maxOk);
    if (minOk && maxOk && std::isfinite(low) && std::isfinite(high) && low < high) {
        options.fixedMin = low;
        options.fixedMax = high;
        if (settings.value(rangeKey).toString() == QStringLiteral("fixed"))
            options.range = LegendRange::fixed;
    }
    const std::string format = settings.value(formatKey).toString().toStdString();
    options.format = legendFormatNamed(format).value_or(defaults.format);
    options.title = settings.value(titleKey, defaults.title).toBool();
    options.units = settings.value(unitsKey).toString().toStdString();
    options.backing = settings.value(backingKey, defaults.backing).toBool();
    return options;
}

}  // namespace corvelt
