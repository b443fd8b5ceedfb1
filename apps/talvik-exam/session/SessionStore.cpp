#include "session/SessionStore.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QChar>
#include <QCryptographicHash>
#include <QList>
#include <QString>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <system_error>
#include <utility>

#include "session/AtomicFile.h"

namespace talvik::exam {
namespace fs = std::filesystem;
namespace {

constexpr const char* kCurrent = "session.json";
constexpr const char* kPrevious = "session.prev.json";
constexpr const char* kPreviousLink = ".session.prev.json.new";

std::string systemMessage(int error) { return std::error_code(error, std::generic_category()).message(); }

std::string clockTime(std::int64_t epochMs) {
    const std::time_t t = static_cast<std::time_t>(epochMs / 1000);
    std::tm tm{};
    localtime_r(&t, &tm);
    char buf[16];
    std::strftime(buf, sizeof buf, "%H:%M:%S", &tm);
    return buf;
}

std::string stamp() {
    const std::time_t t = std::time(nullptr);
    std::tm tm{};
    gmtime_r(&t, &tm);
    char buf[32];
    std::strftime(buf, sizeof buf, "%Y%m%dT%H%M%SZ", &tm);
    return buf;
}

// Renames `path` to a name of its own that no other file has; returns the new name.
std::string setAside(const std::string& path) {
    const std::string base = path + ".damaged-" + stamp();
    for (int n = 1;; ++n) {
        const std::string aside = n == 1 ? base : base + "-" + std::to_string(n);
        // link fails on an existing name, where rename would overwrite it.
        if (::link(path.c_str(), aside.c_str()) == 0) {
            ::unlink(path.c_str());
            return aside;
        }
        if (errno == EEXIST) continue;
        // File systems without hard links: check the name first and rename.
        if (::access(aside.c_str(), F_OK) == 0) continue;
        if (::rename(path.c_str(), aside.c_str()) == 0) return aside;
        throw std::system_error(errno, std::generic_category(), "cannot rename " + path);
    }
}

bool isLeftoverTemp(const std::string& name) {
    for (const std::string base : {kCurrent, kPrevious}) {
        const std::string prefix = "." + base + ".";
        if (name.size() == prefix.size() + 6 && name.compare(0, prefix.size(), prefix) == 0) return true;
    }
    return name == kPreviousLink;
}

std::string homeDirectory() {
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    struct passwd pw {};
    struct passwd* found = nullptr;
    char buf[4096];
    if (getpwuid_r(getuid(), &pw, buf, sizeof buf, &found) == 0 && found && found->pw_dir) return found->pw_dir;
    throw SessionFileError("Cannot find a folder for the session: neither XDG_DATA_HOME nor HOME is set");
}

void appendEscaped(std::string& out, unsigned char c) {
    char buf[4];
    std::snprintf(buf, sizeof buf, "%%%02X", c);
    out += buf;
}

}  // namespace

SessionStore::SessionStore(std::string directory) : directory_(std::move(directory)) {}

std::string SessionStore::currentPath() const { return (fs::path(directory_) / kCurrent).string(); }
std::string SessionStore::previousPath() const { return (fs::path(directory_) / kPrevious).string(); }

void SessionStore::save(const SessionState& state) {
    const std::string current = currentPath();
    try {
        makeDirectories(directory_, current);
        TempFile file(current, 0600);
        file.write(serializeSession(state));

        // The save being replaced becomes the previous one, if it is good.
        std::string old;
        bool haveOld = true;
        try {
            old = readWholeFile(current);
        } catch (const FileReadError&) {
            haveOld = false;  // none yet, or unreadable: the new save matters more than the old one
        }
        if (haveOld) {
            bool good = true;
            try {
                checkSessionIntegrity(old, current);
            } catch (const SessionFileError&) {
                good = false;
            }
            if (!good) {
                try {
                    setAside(current);
                } catch (const std::system_error&) {
                    // It cannot be moved: the new save replaces it, since failing every later save
                    // would lose answers, where this loses only a damaged copy.
                }
            } else {
                const std::string link = (fs::path(directory_) / kPreviousLink).string();
                ::unlink(link.c_str());
                if (::link(current.c_str(), link.c_str()) == 0) {
                    if (::rename(link.c_str(), previousPath().c_str()) != 0) {
                        const int error = errno;
                        ::unlink(link.c_str());
                        throw FileWriteError("Cannot save " + current + ": cannot keep the previous save as " +
                                             previousPath() + ": " + systemMessage(error));
                    }
                    ::unlink(link.c_str());  // still there when both names were already the same file
                } else {
                    TempFile previous(previousPath(), 0600);
                    previous.write(old);
                    previous.commit();
                }
            }
        }
        file.commit();
        syncDirectory(directory_);
    } catch (const FileWriteError& e) {
        throw SessionFileError(e.what());
    }
}

LoadedSession SessionStore::load() {
    std::error_code ec;
    for (fs::directory_iterator entry(directory_, ec), end; !ec && entry != end; entry.increment(ec)) {
        std::error_code ignored;
        if (isLeftoverTemp(entry->path().filename().string())) fs::remove(entry->path(), ignored);
    }
    return find(true);
}

LoadedSession SessionStore::read() const { return find(false); }

LoadedSession SessionStore::find(bool setAsideDamaged) const {
    LoadedSession out;
    struct Damaged {
        std::string path;
        std::string aside;
        std::string asideError;
    };
    std::vector<Damaged> damaged;
    for (const std::string& path : {currentPath(), previousPath()}) {
        struct stat st {};
        if (::stat(path.c_str(), &st) != 0) {
            if (errno != ENOENT)
                out.problems.push_back("The session file " + path + " cannot be read: " + systemMessage(errno) + ".");
            continue;
        }
        std::string bytes;
        try {
            bytes = readWholeFile(path);
        } catch (const FileReadError& e) {
            out.problems.push_back("The session file " + path + " cannot be read: " + systemMessage(e.error) + ".");
            out.details.push_back(e.what());
            continue;
        }
        try {
            SessionState state = parseSession(bytes, path);
            // The current file wins a tie: it is the one written last.
            if (!out.state || state.revision > out.state->revision) {
                out.state = std::move(state);
                out.path = path;
                out.savedAtMs = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1000000;
            }
        } catch (const SessionFileError& e) {
            out.details.push_back(e.what());
            Damaged d{path, {}, {}};
            if (setAsideDamaged) {
                try {
                    d.aside = setAside(path);
                } catch (const std::system_error& error) {
                    d.asideError = systemMessage(error.code().value());
                }
            }
            damaged.push_back(std::move(d));
        }
    }
    for (const Damaged& d : damaged) {
        std::string sentence = "The session file " + d.path + " was damaged";
        if (!d.aside.empty()) sentence += " and has been kept as " + d.aside;
        if (!d.asideError.empty()) sentence += " and could not be moved aside (" + d.asideError + ")";
        sentence += out.state ? "; resuming from the save of " + clockTime(out.savedAtMs) + "."
                              : "; no earlier save could be read.";
        out.problems.push_back(std::move(sentence));
    }
    return out;
}

SessionLock::SessionLock(const std::string& directory) {
    const std::string path = (fs::path(directory) / "session.lock").string();
    try {
        makeDirectories(directory, path);
    } catch (const FileWriteError&) {
        return;  // nothing can be saved there either, so there is nothing to guard
    }
    bool writable = true;
    fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ < 0) {
        // flock() takes any open handle, so a lock file left on a read-only folder still
        // keeps a second window out.
        writable = false;
        fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd_ < 0) return;
    }
    if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        char buf[32] = {};
        const ssize_t n = ::pread(fd_, buf, sizeof buf - 1, 0);
        ::close(fd_);
        fd_ = -1;
        if (error == EWOULDBLOCK) {
            const std::string pid = n > 0 ? std::string(buf, static_cast<std::size_t>(n)) : std::string();
            throw SessionBusyError("The session in " + directory + " is already open in another window" +
                                   (pid.empty() ? std::string() : " (process " + pid + ")"));
        }
        return;  // a file system without locks: one window is the invigilator's to ensure
    }
    // Who holds it, for the message another window shows.
    const std::string pid = std::to_string(::getpid());
    if (writable && ::ftruncate(fd_, 0) == 0 && ::pwrite(fd_, pid.data(), pid.size(), 0) < 0) {
        // only the message of another window goes without the number
    }
}

SessionLock::~SessionLock() {
    if (fd_ >= 0) ::close(fd_);  // closing releases the lock
}

SessionLock::SessionLock(SessionLock&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

SessionLock& SessionLock::operator=(SessionLock&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

std::string safeFileName(const std::string& name) {
    if (name.empty()) return "(none)";
    const QString text = QString::fromStdString(name);
    const bool utf8 = text.toStdString() == name;
    std::string out;
    auto keepOrEscape = [&](char32_t c, const std::string& bytes, bool first) {
        const bool ascii = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
                           c == '_' || (c == '.' && !first);
        const bool letter = c >= 0x80 && utf8 && QChar::isLetterOrNumber(c);
        if (ascii || letter) {
            out += bytes;
        } else {
            for (const char b : bytes) appendEscaped(out, static_cast<unsigned char>(b));
        }
    };
    if (utf8) {
        bool first = true;
        for (const char32_t c : text.toUcs4()) {
            keepOrEscape(c, QString::fromUcs4(&c, 1).toStdString(), first);
            first = false;
        }
    } else {
        for (std::size_t i = 0; i < name.size(); ++i)
            keepOrEscape(static_cast<unsigned char>(name[i]), std::string(1, name[i]), i == 0);
    }
    // File systems allow 255 bytes; a long name keeps its start and a hash of the whole.
    constexpr std::size_t kMax = 120;
    if (out.size() > kMax) {
        std::size_t cut = 100;
        while (cut > 0 && (static_cast<unsigned char>(out[cut]) & 0xC0) == 0x80) --cut;  // not inside a character
        while (cut > 0 && out[cut - 1] == '%') --cut;
        if (cut >= 2 && out[cut - 2] == '%') cut -= 2;  // not inside %XX
        const QByteArray hash = QCryptographicHash::hash(QByteArray::fromStdString(name), QCryptographicHash::Sha256);
        out = out.substr(0, cut) + "~" + hash.toHex().left(16).toStdString();
    }
    return out;
}

std::string defaultSessionDirectory(const std::string& testIdentifier, const std::string& candidate) {
    const char* xdg = std::getenv("XDG_DATA_HOME");
    // Relative values are to be ignored.
    const fs::path data = xdg && *xdg == '/' ? fs::path(xdg) : fs::path(homeDirectory()) / ".local" / "share";
    return (data / "talvik" / "exam" / safeFileName(testIdentifier) / safeFileName(candidate)).string();
}

}  // namespace talvik::exam
