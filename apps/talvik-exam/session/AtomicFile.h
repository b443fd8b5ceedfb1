// Files written so that a crash, a kill or a power cut leaves either the old content or
// the new one on disk, never a mix: a new file in the same folder, written and flushed,
// then renamed over the old one, then the folder flushed.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace talvik::exam {

// The message names the file and what the system said.
struct FileWriteError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// A new file beside `target`, removed again unless it is committed.
class TempFile {
public:
    // mode: the permissions of the finished file.
    TempFile(std::string target, unsigned mode);
    ~TempFile();
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    const std::string& path() const { return path_; }
    // Writes everything and flushes it to the disk.
    void write(std::string_view bytes);
    // Renames the file over its target; the folder is not flushed (see syncDirectory).
    void commit();

private:
    std::string target_;
    std::string path_;
    int fd_ = -1;
    bool committed_ = false;
};

// Flushes the folder itself, so that the renames in it survive a power cut.
void syncDirectory(const std::string& directory);

// Creates the folder and the folders above it where missing, for the file `target`.
void makeDirectories(const std::string& directory, const std::string& target);

// TempFile, write, commit and syncDirectory in one.
void writeFileAtomically(const std::string& path, std::string_view bytes, unsigned mode = 0644);

// A file that cannot be read; `error` is the system's error number.
struct FileReadError : std::runtime_error {
    FileReadError(const std::string& message, int errorNumber) : std::runtime_error(message), error(errorNumber) {}
    int error;
};
std::string readWholeFile(const std::string& path);

}  // namespace talvik::exam
