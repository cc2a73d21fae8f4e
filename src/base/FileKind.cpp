#include "base/FileKind.h"

#include <sys/stat.h>

#include <string>

namespace corvelt {

namespace {

class FileKindCategory final : public std::error_category {
  public:
    const char* name() const noexcept override { return "file kind"; }
    std::string message(int condition) const override {
        switch (static_cast<FileKindError>(condition)) {
            case FileKindError::namedPipe:
                return "Is a named pipe, not a regular file";
            case FileKindError::device:
                return "Is a device, not a regular file";
            case FileKindError::socket:
                return "Is a socket, not a regular file";
            case FileKindError::other:
                break;
        }
        return "Is not a regular file";
    }
};

}  // namespace

const std::error_category& fileKindCategory() {
    static const FileKindCategory category;
    return category;
}

std::error_code make_error_code(FileKindError error) {
    return {static_cast<int>(error), fileKindCategory()};
}

std::error_code notRegularFileError(mode_t mode) {
    if (S_ISFIFO(mode)) return FileKindError::namedPipe;
    if (S_ISCHR(mode) || S_ISBLK(mode)) return FileKindError::device;
    if (S_ISSOCK(mode)) return FileKindError::socket;
    return FileKindError::other;
}

}  // namespace corvelt
