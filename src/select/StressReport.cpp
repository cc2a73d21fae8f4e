#include "select/StressReport.h"

namespace corvelt {

// Placeholder until the stress listings are built.
std::filesystem::path writeStressReport(const ShellModel&, ItemKind, const std::filesystem::path&) {
    throw StressReportError("stress listings are not available yet");
}

}  // namespace corvelt
