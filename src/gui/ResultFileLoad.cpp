#include "gui/ResultFileLoad.h"

#include <QString>

#include "app/Application.h"
#include "app/DisplayText.h"
#include "base/ReadProgress.h"
#include "gui/WorkWithProgress.h"

namespace corvelt {

std::optional<PreparedResult> prepareResultFileShowingProgress(QWidget* owner,
                                                               const std::filesystem::path& path,
                                                               const LoadSettings& settings) {
    std::optional<PreparedResult> prepared;
    const QString label = QStringLiteral("Reading %1 ...")
                              .arg(QString::fromStdString(displayText(path.filename().native())));
    // A cancel that came too late to stop the work still keeps the model there was.
    const bool finished = runWithProgress(owner, label, [&](const WorkProgress& progress) {
        prepared = Application::prepareFile(path, settings, progress);
    });
    if (!finished) return std::nullopt;
    return prepared;
}

}  // namespace corvelt
