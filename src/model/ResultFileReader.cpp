#include "model/ResultFileReader.h"

#include <optional>
#include <system_error>

#include "model/MappedFile.h"
#include "model/ResultTextParser.h"

namespace corvelt {

ResultData readResultFile(const std::filesystem::path& path, const ReadProgress& progress) {
    const std::string fileName = path.string();
    std::optional<MappedFile> file;
    try {
        file.emplace(path);
    } catch (const std::system_error& error) {
        throw ResultFileError(std::string(resultFileReadErrorHeadline) + "\n" +
                                  error.code().message() + ": " + fileName,
                              fileName, 0);
    }
    return parseResultText(file->text(), fileName, progress);
}

void loadResultFile(ShellModel& model, const std::filesystem::path& path,
                    const ReadProgress& progress) {
    // Everything is read into fresh arrays first, so a failure leaves the model as it was.
    model.adoptResult(readResultFile(path, progress));
}

}  // namespace corvelt
