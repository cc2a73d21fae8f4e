#pragma once

#include "render/LegendOptions.h"

class QSettings;

namespace corvelt {

// The legend's options between runs. A stored value that cannot be used (a band
// count out of range, bounds that are not MIN < MAX, an unknown format) falls back
// to its default, so that a damaged settings file never stops the program.
void saveLegendOptions(QSettings& settings, const LegendOptions& options);
LegendOptions loadLegendOptions(const QSettings& settings);

}  // namespace corvelt
