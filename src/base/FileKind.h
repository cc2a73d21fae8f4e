#pragma once

#include <sys/types.h>

#include <system_error>

namespace corvelt {

// Why a path was refused that names something other than a regular file: a named
// pipe would keep a read or a write waiting for the other end, a device gives or
// takes bytes without end, and renaming a new file over either would replace it.
// Directories keep the system's own EISDIR.
enum class FileKindError {
    namedPipe = 1,
    device,
    socket,
    other,
};

const std::error_category& fileKindCategory();
std::error_code make_error_code(FileKindError error);

// The error for a file of that st_mode, which must not be a regular file or a
// directory; its message reads "Is a named pipe, not a regular file".
std::error_code notRegularFileError(mode_t mode);

}  // namespace corvelt

template <>
struct std::is_error_code_enum<corvelt::FileKindError> : std::true_type {};
