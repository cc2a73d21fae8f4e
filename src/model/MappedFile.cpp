#include "model/MappedFile.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace corvelt {

namespace {

[[noreturn]] void throwSystemError(int error, const char* what) {
    throw std::system_error(error, std::generic_category(), what);
}

// Closes the descriptor on every path; the mapping stays valid without it.
class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }

  private:
    int fd_;
};

}  // namespace

MappedFile::MappedFile(const std::filesystem::path& path) {
    // Non-blocking, so that opening a named pipe cannot hang; it is refused below.
    const FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (file.get() < 0) throwSystemError(errno, "open");

    struct stat status {};
    if (::fstat(file.get(), &status) != 0) throwSystemError(errno, "stat");
    // Directories, pipes and devices have no size to map; refuse them as unreadable.
    if (S_ISDIR(status.st_mode)) throwSystemError(EISDIR, "open");
    if (!S_ISREG(status.st_mode)) throwSystemError(EINVAL, "open");

    size_ = static_cast<std::size_t>(status.st_size);
    if (size_ == 0) return;  // mmap refuses an empty range; an empty view is all we need

    // Populating up front turns many small page faults into one batched kernel pass.
    void* mapping = ::mmap(nullptr, size_, PROT_READ, MAP_PRIVATE | MAP_POPULATE, file.get(), 0);
    if (mapping == MAP_FAILED) throwSystemError(errno, "mmap");
    data_ = static_cast<const char*>(mapping);
    ::madvise(mapping, size_, MADV_SEQUENTIAL);
}

MappedFile::~MappedFile() {
    if (data_ != nullptr) ::munmap(const_cast<char*>(data_), size_);
}

}  // namespace corvelt
