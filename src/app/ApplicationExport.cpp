// The exports of Application.
#include "app/Application.h"
#include "formats/CsvWriter.h"
#include "formats/VtuWriter.h"

namespace corvelt {

void Application::exportSelection(ExportFormat format, const std::filesystem::path& path,
                                  const ExportProgress& progress) const {
    switch (format) {
        case ExportFormat::vtu:
            writeVtu(model_, path, progress);
            return;
        case ExportFormat::csv:
            writeCsv(model_, path, progress);
            return;
    }
}

}  // namespace corvelt
