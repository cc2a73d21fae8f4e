#include "base/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <random>
#include <string>
#include <system_error>

#include "base/FileKind.h"

namespace corvelt {

namespace {

[[noreturn]] void throwSystemError(int error, const char* what) {
    throw std::system_error(error, std::generic_category(), what);
}

std::filesystem::path followLink(const std::filesystem::path& path) {
    std::error_code error;
    if (!std::filesystem::is_symlink(path, error)) return path;
    const std::filesystem::path resolved = std::filesystem::canonical(path, error);
    return error ? path : resolved;  // a dangling link is replaced as the link it is
}

// A hidden name beside the target that no other writer uses; the random part keeps
// two writers of the same target apart.
std::filesystem::path temporaryName(const std::filesystem::path& target, std::mt19937_64& random) {
    static constexpr char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::string suffix(8, ' ');
    for (char& c : suffix)
        c = letters[random() % (sizeof letters - 1)];
    return target.parent_path() / ("." + target.filename().string() + "." + suffix + ".tmp");
}

}  // namespace

AtomicFile::AtomicFile(const std::filesystem::path& target) : target_(followLink(target)) {
    struct stat existing {};
    const bool replaces = ::stat(target_.c_str(), &existing) == 0;
    // Refused now rather than by the rename after all the writing. A pipe or a device
    // is not replaced by a file either.
    if (replaces && S_ISDIR(existing.st_mode)) throwSystemError(EISDIR, "open");
    if (replaces && !S_ISREG(existing.st_mode))
        throw std::system_error(notRegularFileError(existing.st_mode), "open");

    std::mt19937_64 random(std::random_device{}());
    for (int attempt = 0; fd_ < 0; ++attempt) {
        temporary_ = temporaryName(target_, random);
        // 0666 before the umask, as fopen creates files.
        fd_ = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ < 0 && (errno != EEXIST || attempt == 100)) {
            const int error = errno;
            temporary_.clear();
            throwSystemError(error, "open");
        }
    }
    if (replaces && S_ISREG(existing.st_mode)) ::fchmod(fd_, existing.st_mode & 07777);
}

AtomicFile::~AtomicFile() {
    discard();
}

void AtomicFile::write(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd_, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            throwSystemError(errno, "write");
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
}

void AtomicFile::writeAt(std::uint64_t offset, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written =
            ::pwrite(fd_, bytes.data(), bytes.size(), static_cast<off_t>(offset));
        if (written < 0) {
            if (errno == EINTR) continue;
            throwSystemError(errno, "write");
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
        offset += static_cast<std::uint64_t>(written);
    }
}

void AtomicFile::commit(Durability durability) {
    const bool synced = durability == Durability::synced;
    if (synced && ::fsync(fd_) != 0) throwSystemError(errno, "fsync");
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) throwSystemError(errno, "close");
    if (::rename(temporary_.c_str(), target_.c_str()) != 0) throwSystemError(errno, "rename");
    temporary_.clear();
    if (synced) syncFolder();
}

// Makes the new name itself durable; the file is already complete either way, so
// a failure here is not one of the write.
void AtomicFile::syncFolder() const noexcept {
    const std::filesystem::path folder =
        target_.has_parent_path() ? target_.parent_path() : std::filesystem::path(".");
    if (const int directory = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        directory >= 0) {
        ::fsync(directory);
        ::close(directory);
    }
}

void AtomicFile::discard() noexcept {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!temporary_.empty()) ::unlink(temporary_.c_str());
    temporary_.clear();
}

}  // namespace corvelt
