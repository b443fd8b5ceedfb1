#include "session/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <utility>
#include <vector>

namespace talvik::exam {
namespace fs = std::filesystem;
namespace {

std::string systemMessage(int error) { return std::error_code(error, std::generic_category()).message(); }

[[noreturn]] void fail(const std::string& path, const std::string& what, int error) {
    throw FileWriteError("Cannot save " + path + ": " + what + ": " + systemMessage(error));
}

// A descriptor closed on every path out.
class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

}  // namespace

TempFile::TempFile(std::string target, unsigned mode) : target_(std::move(target)) {
    const fs::path t(target_);
    // A hidden name in the same folder: a rename is atomic only within one file system.
    std::string pattern = (t.parent_path() / ("." + t.filename().string() + ".XXXXXX")).string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    fd_ = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd_ < 0) fail(target_, "cannot create a new file in " + t.parent_path().string(), errno);
    path_ = name.data();
    if (::fchmod(fd_, static_cast<mode_t>(mode)) != 0) {
        const int error = errno;
        ::close(fd_);
        ::unlink(path_.c_str());
        fail(target_, "cannot set the permissions of " + path_, error);
    }
}

TempFile::~TempFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!committed_) ::unlink(path_.c_str());
}

void TempFile::write(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            fail(target_, "cannot write " + path_, errno);
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    if (::fsync(fd_) != 0) fail(target_, "cannot flush " + path_ + " to the disk", errno);
}

void TempFile::commit() {
    const int fd = std::exchange(fd_, -1);
    // close can report a delayed write error (on network file systems); the file is then not good.
    if (::close(fd) != 0) fail(target_, "cannot close " + path_, errno);
    if (::rename(path_.c_str(), target_.c_str()) != 0) fail(target_, "cannot rename " + path_ + " to it", errno);
    committed_ = true;
}

void syncDirectory(const std::string& directory) {
    const Fd dir(::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() < 0) fail(directory, "cannot open the folder to flush it", errno);
    // Some file systems cannot flush a folder (EINVAL); their renames are as safe as they get.
    if (::fsync(dir.get()) != 0 && errno != EINVAL) fail(directory, "cannot flush the folder to the disk", errno);
}

void makeDirectories(const std::string& directory, const std::string& target) {
    std::error_code ec;
    if (fs::is_directory(directory, ec)) return;
    fs::create_directories(directory, ec);
    if (ec)
        throw FileWriteError("Cannot save " + target + ": cannot create the folder " + directory + ": " + ec.message());
}

void writeFileAtomically(const std::string& path, std::string_view bytes, unsigned mode) {
    TempFile file(path, mode);
    file.write(bytes);
    file.commit();
    const fs::path parent = fs::path(path).parent_path();
    syncDirectory(parent.empty() ? std::string(".") : parent.string());
}

std::string readWholeFile(const std::string& path) {
    const Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) {
        const int error = errno;
        throw FileReadError(path + ": cannot be read: " + systemMessage(error), error);
    }
    std::string bytes;
    char buf[65536];
    for (;;) {
        const ssize_t n = ::read(fd.get(), buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR) continue;
            const int error = errno;
            throw FileReadError(path + ": cannot be read: " + systemMessage(error), error);
        }
        if (n == 0) break;
        bytes.append(buf, static_cast<std::size_t>(n));
    }
    return bytes;
}

}  // namespace talvik::exam
