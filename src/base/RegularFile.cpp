#include "base/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <system_error>

#include "base/FileKind.h"

namespace corvelt {

namespace {

[[noreturn]] void throwSystemError(int error, const char* what) {
    throw std::system_error(error, std::generic_category(), what);
}

}  // namespace

RegularFile::RegularFile(const std::filesystem::path& path) {
    // Non-blocking, so that opening a named pipe cannot hang; it is refused below.
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd_ < 0) throwSystemError(errno, "open");
    try {
        struct stat status {};
        if (::fstat(fd_, &status) != 0) throwSystemError(errno, "stat");
        // Directories, pipes and devices have no fixed size to read; refuse them as unreadable.
        if (S_ISDIR(status.st_mode)) throwSystemError(EISDIR, "open");
        if (!S_ISREG(status.st_mode))
            throw std::system_error(notRegularFileError(status.st_mode), "open");
        opened_ = stamp();
        size_ = static_cast<std::size_t>(opened_.size);
        ::posix_fadvise(fd_, 0, 0, POSIX_FADV_SEQUENTIAL);
    } catch (...) {
        ::close(fd_);
        throw;
    }
}

RegularFile::~RegularFile() {
    ::close(fd_);
}

RegularFile::Stamp RegularFile::stamp() const {
    struct stat status {};
    if (::fstat(fd_, &status) != 0) throwSystemError(errno, "stat");
    return {status.st_size, status.st_mtim.tv_sec, status.st_mtim.tv_nsec};
}

std::string_view RegularFile::read(std::size_t offset, std::size_t length,
                                   std::vector<char>& buffer) const {
    length = offset < size_ ? std::min(length, size_ - offset) : 0;
    // Grown only, never shrunk: the caller's next reads reuse its pages.
    if (buffer.size() < length) buffer.resize(length);
    std::size_t done = 0;
    while (done < length) {
        const ssize_t got =
            ::pread(fd_, buffer.data() + done, length - done, static_cast<off_t>(offset + done));
        if (got < 0) {
            if (errno == EINTR) continue;
            throwSystemError(errno, "read");
        }
        if (got == 0) throw FileChanged();  // ends before the size it had when opened
        done += static_cast<std::size_t>(got);
    }
    return {buffer.data(), length};
}

void RegularFile::throwIfChanged() const {
    if (!(stamp() == opened_)) throw FileChanged();
}

}  // namespace corvelt
