#pragma once

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace corvelt::testing {

// A folder on a tmpfs of a few pages, mounted for the object's lifetime, that fill()
// leaves without a free byte: writes into it fail with "No space left on device".
// Mounting needs root; where it fails, mounted() is false and why() says why.
class SmallFilesystem {
  public:
    explicit SmallFilesystem(std::filesystem::path folder) : folder_(std::move(folder)) {
        std::filesystem::create_directories(folder_);
        if (::mount("tmpfs", folder_.c_str(), "tmpfs", MS_NOSUID | MS_NODEV | MS_NOEXEC,
                    "size=64k,mode=0700") == 0)
            mounted_ = true;
        else
            why_ = "mounting a small tmpfs needs root: " + std::string(std::strerror(errno));
    }
    ~SmallFilesystem() {
        if (mounted_) ::umount2(folder_.c_str(), MNT_DETACH);
    }
    SmallFilesystem(const SmallFilesystem&) = delete;
    SmallFilesystem& operator=(const SmallFilesystem&) = delete;

    bool mounted() const { return mounted_; }
    const std::string& why() const { return why_; }
    const std::filesystem::path& path() const { return folder_; }
    std::filesystem::path file(const std::string& name) const { return folder_ / name; }

    // Writes a file named "filler" until no space is left.
    void fill() const {
        const int fd = ::open(file("filler").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const std::vector<char> block(4096, 'x');
        while (fd >= 0 && ::write(fd, block.data(), block.size()) > 0) {
        }
        if (fd >= 0) ::close(fd);
    }

  private:
    std::filesystem::path folder_;
    bool mounted_ = false;
    std::string why_;
};

// Makes a character device like /dev/null at the path; false where that is not
// allowed (without root).
inline bool makeNullDevice(const std::filesystem::path& path) {
    return ::mknod(path.c_str(), S_IFCHR | 0600, makedev(1, 3)) == 0;
}

}  // namespace corvelt::testing
