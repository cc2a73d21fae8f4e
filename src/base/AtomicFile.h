#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>

namespace corvelt {

// A file that replaces its target all at once. The bytes go to a new temporary
// file in the target's folder; commit() renames it over the target. Until then the target is
// untouched, and an object destroyed without a commit removes its temporary file, so a failed or
// interrupted write never leaves a half-written or emptied file where a good one was.
//
// A target that is a symbolic link is followed: the file it names is replaced. A
// replaced file keeps its permission bits; a new one gets those of a file that
// fopen would create. A target that exists and is no regular file (a directory, a
// named pipe, a device) is refused at construction, before anything is written.
// Every failure throws std::system_error with the errno of the call that failed,
// or a FileKindError (base/FileKind.h) for a target of the wrong kind.
class AtomicFile {
  public:
    explicit AtomicFile(const std::filesystem::path& target);
    ~AtomicFile();

    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Appends the bytes.
    void write(std::string_view bytes);
    // Writes the bytes at a byte offset of the file; safe to call from several
    // threads at once for ranges that do not overlap. Do not mix with write().
    void writeAt(std::uint64_t offset, std::string_view bytes);
    enum class Durability {
        // On the disk before the rename: after a crash the target is the old file
        // or the whole new one. For the user's own work.
        synced,
        // Renamed straight from the page cache: no waiting for the disk, and other
        // programs still see the old file or the whole new one, but a crash may
        // lose the new one. For large files that can be made again.
        cached,
    };
    // Renames the file over the target, flushed to the disk first when synced.
    // Call once.
    void commit(Durability durability = Durability::synced);

  private:
    void syncFolder() const noexcept;
    void discard() noexcept;

    std::filesystem::path target_;
    std::filesystem::path temporary_;
    int fd_ = -1;
};

}  // namespace corvelt
