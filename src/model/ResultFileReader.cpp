#include "model/ResultFileReader.h"

#include <system_error>

#include "base/RegularFile.h"

namespace corvelt {

ResultData readResultFile(const std::filesystem::path& path, const ReadProgress& progress,
                          const ParseOptions& options) {
    const std::string fileName = path.string();
    const std::string headline(resultFileReadErrorHeadline);
    try {
        const RegularFile file(path);
        return parseResultText(file, fileName, progress, options);
    } catch (const FileChanged& change) {
        throw ResultFileError(headline + "\n" + fileName + ": " + change.what(), fileName, 0);
    } catch (const std::system_error& error) {
        throw ResultFileError(headline + "\n" + error.code().message() + ": " + fileName, fileName,
                              0);
    }
}

void loadResultFile(ShellModel& model, const std::filesystem::path& path,
                    const ReadProgress& progress) {
    // Everything is read into fresh arrays first, so a failure leaves the model as it was.
    model.adoptResult(readResultFile(path, progress));
}

}  // namespace corvelt
