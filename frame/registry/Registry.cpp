#include "frame/registry/Registry.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <set>

namespace talvik {

namespace {

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // Closes now, reporting whether the close succeeded (a late write error shows here).
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

std::string_view trimEnd(std::string_view s) {
    while (!s.empty() && (s.back() == '\r' || s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

std::string directoryOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool makeDirectories(const std::string& dir) {
    if (dir.empty() || dir == "." || dir == "/") return true;
    struct stat st {};
    if (::stat(dir.c_str(), &st) == 0) return S_ISDIR(st.st_mode);
    if (!makeDirectories(directoryOf(dir))) return false;
    return ::mkdir(dir.c_str(), 0755) == 0 || errno == EEXIST;
}

bool readAll(int fd, std::string& out) {
    char buf[8192];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n == 0) return true;
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        out.append(buf, static_cast<std::size_t>(n));
    }
}

bool writeAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

HRESULT readStore(const std::string& path, RegistryData& out) {
    Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.valid()) {
        if (errno != ENOENT) return STG_E_READFAULT;
        out.clear();
        return S_OK;
    }
    std::string text;
    if (!readAll(fd.get(), text)) return STG_E_READFAULT;
    std::optional<RegistryData> parsed = parseRegistry(text);
    if (!parsed) return REGDB_E_CORRUPT;
    out = std::move(*parsed);
    return S_OK;
}

// Holds the store's lock file, beside it, locked for one writer at a time.
HRESULT lockStore(const std::string& path, std::optional<Fd>& lock) {
    lock.emplace(::open((path + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644));
    if (!lock->valid()) return STG_E_WRITEFAULT;
    while (::flock(lock->get(), LOCK_EX) != 0)
        if (errno != EINTR) return STG_E_WRITEFAULT;
    return S_OK;
}

// Under the lock every temporary file beside the store is a leftover of a writer that
// was killed mid-update (this one's own name, or an older PATH.tmp.<pid>): remove them.
void removeStaleTemporaries(const std::string& path) {
    const std::string dir = directoryOf(path);
    const std::string prefix = path.substr(path.rfind('/') + 1) + ".tmp";
    DIR* d = ::opendir(dir.c_str());
    if (d == nullptr) return;
    while (const dirent* entry = ::readdir(d)) {
        const std::string_view name = entry->d_name;
        if (name.substr(0, prefix.size()) == prefix) ::unlink((dir + "/" + std::string(name)).c_str());
    }
    ::closedir(d);
}

}  // namespace

const std::string* RegistrySection::value(std::string_view name) const {
    for (const auto& [n, v] : values)
        if (n == name) return &v;
    return nullptr;
}

std::string defaultRegistryPath() {
    if (const char* p = std::getenv("TALVIK_REGISTRY"); p != nullptr && *p != '\0') return p;
    std::string base;
    if (const char* x = std::getenv("XDG_DATA_HOME"); x != nullptr && *x == '/')
        base = x;
    else if (const char* h = std::getenv("HOME"); h != nullptr && *h != '\0')
        base = std::string(h) + "/.local/share";
    else
        base = ".";
    return base + "/talvik/registry.txt";
}

std::optional<RegistryData> parseRegistry(std::string_view text) {
    RegistryData data;
    std::set<std::string, std::less<>> keys;
    while (!text.empty()) {
        const auto nl = text.find('\n');
        const std::string_view line = trimEnd(text.substr(0, nl));
        text.remove_prefix(nl == std::string_view::npos ? text.size() : nl + 1);
        if (line.empty() || line.front() == '#') continue;
        if (line.front() == '[') {
            if (line.back() != ']' || line.size() < 3) return std::nullopt;
            std::string key(line.substr(1, line.size() - 2));
            if (key.find_first_of("[]") != std::string::npos || !keys.insert(key).second) return std::nullopt;
            data.push_back({std::move(key), {}});
            continue;
        }
        const auto eq = line.find('=');
        if (data.empty() || eq == std::string_view::npos || eq == 0) return std::nullopt;
        const std::string_view name = line.substr(0, eq);
        if (data.back().value(name) != nullptr) return std::nullopt;
        data.back().values.emplace_back(std::string(name), std::string(line.substr(eq + 1)));
    }
    return data;
}

std::string formatRegistry(const RegistryData& data) {
    std::string text = "# Registration store of in-process control libraries\n";
    for (const RegistrySection& s : data) {
        text += "\n[" + s.key + "]\n";
        for (const auto& [name, value] : s.values) text += name + "=" + value + "\n";
    }
    return text;
}

// Readers take no lock: the store is only ever replaced whole, by a rename.
HRESULT readRegistry(const std::string& path, RegistryData& out) { return readStore(path, out); }

HRESULT updateRegistry(const std::string& path, const std::function<void(RegistryData&)>& edit) {
    if (!makeDirectories(directoryOf(path))) return STG_E_WRITEFAULT;
    std::optional<Fd> lock;
    if (const HRESULT hr = lockStore(path, lock); !succeeded(hr)) return hr;

    RegistryData data;
    if (const HRESULT hr = readStore(path, data); !succeeded(hr)) return hr;
    edit(data);
    const std::string text = formatRegistry(data);

    // Created afresh and exclusively, never through a link: a file or link that someone
    // placed under this name makes the update fail instead of writing through it.
    removeStaleTemporaries(path);
    const std::string temp = path + ".tmp";
    Fd out(::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644));
    if (!out.valid()) return STG_E_WRITEFAULT;
    const bool written = writeAll(out.get(), text) && ::fsync(out.get()) == 0 && out.close();
    if (!written || ::rename(temp.c_str(), path.c_str()) != 0) {
        ::unlink(temp.c_str());
        return STG_E_WRITEFAULT;
    }
    // The rename itself is made durable with the directory.
    Fd dir(::open(directoryOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.valid()) ::fsync(dir.get());
    return S_OK;
}

}  // namespace talvik
