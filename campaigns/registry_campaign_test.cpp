// The registration store under fire: processes registering and unregistering the
// library through its loaded module, and others adding entries of their own, while
// the campaign kills one of them with SIGKILL at a random moment, again and again.
// After every kill the store must read as a whole store: the library's entries all
// there or all absent, every entry a writer saw committed still there. A store that
// cannot be read is never written over, however the writers die.
//
// TALVIK_REGISTRY_ROUNDS sets how many kills (3,000 by default, 600 under the address sanitizer).
#include <dlfcn.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "frame/com/Interfaces.h"
#include "frame/registry/Registration.h"
#include "frame/registry/Registry.h"

namespace talvik {
namespace {

namespace fs = std::filesystem;

// Forking a process under the address sanitizer costs several times as much, so its
// default run is shorter, to stay within the same minute.
#if defined(__SANITIZE_ADDRESS__)
constexpr int kDefaultRounds = 600;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr int kDefaultRounds = 600;
#else
constexpr int kDefaultRounds = 3000;
#endif
#else
constexpr int kDefaultRounds = 3000;
#endif

int rounds() {
    if (const char* r = std::getenv("TALVIK_REGISTRY_ROUNDS"); r != nullptr && std::atoi(r) > 0) return std::atoi(r);
    return kDefaultRounds;
}

// The module as a container opens it; the children inherit it mapped.
struct Module {
    void* handle = ::dlopen(TALVIK_MODULE_PATH, RTLD_NOW | RTLD_LOCAL);
    HRESULT (*registerServer)() = handle ? reinterpret_cast<HRESULT (*)()>(::dlsym(handle, "DllRegisterServer")) : nullptr;
    HRESULT (*unregisterServer)() =
        handle ? reinterpret_cast<HRESULT (*)()>(::dlsym(handle, "DllUnregisterServer")) : nullptr;
};

const Module& module() {
    static const Module m;
    return m;
}

std::string readBytes(const std::string& path) {
    std::stringstream s;
    s << std::ifstream(path, std::ios::binary).rdbuf();
    return s.str();
}

struct Campaign {
    fs::path dir = fs::path(::testing::TempDir()) / ("talvik-registry-campaign-" + std::to_string(::getpid()));
    std::string store = (dir / "registry.txt").string();
    std::string previousEnv;
    bool hadEnv = false;
    int pipeFds[2] = {-1, -1};  // writers report each committed key here

    Campaign() {
        fs::remove_all(dir);
        fs::create_directories(dir);
        if (const char* v = ::getenv("TALVIK_REGISTRY")) hadEnv = true, previousEnv = v;
        ::setenv("TALVIK_REGISTRY", store.c_str(), 1);
        if (::pipe(pipeFds) == 0) ::fcntl(pipeFds[0], F_SETFL, O_NONBLOCK);
    }
    ~Campaign() {
        hadEnv ? ::setenv("TALVIK_REGISTRY", previousEnv.c_str(), 1) : ::unsetenv("TALVIK_REGISTRY");
        for (int fd : pipeFds)
            if (fd >= 0) ::close(fd);
        fs::remove_all(dir);
    }
};

// Fixed-size records, so that a pipe write is atomic and the reader splits them simply.
constexpr std::size_t kRecord = 32;

// A child's life: it only ends by a kill (or by _exit with the step that went wrong).
[[noreturn]] void registrar(bool expectCorrupt) {
    for (;;) {
        const HRESULT expected = expectCorrupt ? REGDB_E_CORRUPT : S_OK;
        if (module().registerServer() != expected) ::_exit(10);
        if (module().unregisterServer() != expected) ::_exit(11);
    }
}

[[noreturn]] void writer(const Campaign& c, int tag, bool expectCorrupt) {
    for (int i = 0;; ++i) {
        char key[kRecord] = {};
        std::snprintf(key, sizeof key, "Other\\%d-%d", tag, i);
        const std::string k = key;
        const HRESULT hr = updateRegistry(c.store, [&](RegistryData& data) { data.push_back({k, {{"By", std::to_string(tag)}}}); });
        if (hr != (expectCorrupt ? REGDB_E_CORRUPT : S_OK)) ::_exit(12);
        if (!expectCorrupt && ::write(c.pipeFds[1], key, kRecord) != static_cast<ssize_t>(kRecord)) ::_exit(13);
    }
}

pid_t spawn(const Campaign& c, int slot, int generation, bool expectCorrupt) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (slot % 2 == 0) registrar(expectCorrupt);
        writer(c, slot * 1000000 + generation, expectCorrupt);
    }
    return pid;
}

// The library's own entries, whole, as registering the module at that path writes them.
std::map<std::string, RegistrySection> ourEntries() {
    std::map<std::string, RegistrySection> out;
    for (RegistrySection& s : libraryEntries(TALVIK_MODULE_PATH)) out.emplace(s.key, std::move(s));
    return out;
}

TEST(RegistryCampaign, KilledWritersNeverTearOrLoseTheStore) {
    ASSERT_NE(module().registerServer, nullptr) << ::dlerror();
    Campaign c;
    ASSERT_GE(c.pipeFds[0], 0);
    const auto ours = ourEntries();
    ASSERT_FALSE(ours.empty());

    constexpr int kChildren = 4;  // two registrars, two writers
    std::mt19937 random(20261206);
    std::array<pid_t, kChildren> pids{};
    std::array<int, kChildren> generation{};
    for (int s = 0; s < kChildren; ++s) ASSERT_GT(pids[s] = spawn(c, s, 0, false), 0);

    std::set<std::string> committed;
    const auto drain = [&] {
        char buf[kRecord * 64];
        for (;;) {
            const ssize_t n = ::read(c.pipeFds[0], buf, sizeof buf);
            if (n <= 0) return;
            for (ssize_t at = 0; at + static_cast<ssize_t>(kRecord) <= n; at += kRecord) committed.insert(buf + at);
        }
    };

    const int total = rounds();
    int torn = 0, partial = 0, lost = 0, failedChildren = 0;
    std::size_t storesSeen = 0, oursWhole = 0;
    for (int round = 0; round < total; ++round) {
        const int slot = std::uniform_int_distribution<int>(0, kChildren - 1)(random);
        ::usleep(std::uniform_int_distribution<useconds_t>(0, 1500)(random));
        ::kill(pids[slot], SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(pids[slot], &status, 0), pids[slot]);
        if (!(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)) {
            ++failedChildren;
            ADD_FAILURE() << "round " << round << ": child " << slot << " ended by itself, status " << status;
        }
        ASSERT_GT(pids[slot] = spawn(c, slot, ++generation[slot], false), 0);

        drain();
        RegistryData data;
        const HRESULT hr = readRegistry(c.store, data);
        if (hr != S_OK) {
            ++torn;
            ADD_FAILURE() << "round " << round << ": the store does not read (" << hr << "):\n" << readBytes(c.store);
            continue;
        }
        ++storesSeen;
        std::size_t mine = 0;
        std::set<std::string> keys;
        for (const RegistrySection& s : data) {
            keys.insert(s.key);
            if (const auto it = ours.find(s.key); it != ours.end()) {
                ++mine;
                if (!(s == it->second)) ++partial;
            }
        }
        oursWhole += mine == ours.size();
        if (mine != 0 && mine != ours.size()) {
            ++partial;
            ADD_FAILURE() << "round " << round << ": " << mine << " of the library's " << ours.size() << " entries";
        }
        // Read after the drain: every key reported so far was committed before this read.
        for (const std::string& k : committed)
            if (!keys.count(k)) {
                ++lost;
                ADD_FAILURE() << "round " << round << ": committed entry " << k << " is gone";
            }
        if (torn + partial + lost + failedChildren > 5) break;
    }
    for (pid_t p : pids) {
        ::kill(p, SIGKILL);
        ::waitpid(p, nullptr, 0);
    }
    drain();
    EXPECT_GT(committed.size(), 0u) << "no writer ever got an update through";

    // The killed writers left no lock behind: a fresh registration goes through.
    const pid_t last = ::fork();
    if (last == 0) ::_exit(module().registerServer() == S_OK ? 0 : 1);
    int status = 0;
    ASSERT_EQ(::waitpid(last, &status, 0), last);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    RegistryData data;
    ASSERT_EQ(readRegistry(c.store, data), S_OK);
    std::size_t mine = 0;
    for (const RegistrySection& s : data) mine += ours.count(s.key);
    EXPECT_EQ(mine, ours.size());
    std::printf("registry campaign: %d kills, %zu stores read (the library registered in %zu), %zu committed entries, "
                "torn %d, partial %d, lost %d\n",
                total, storesSeen, oursWhole, committed.size(), torn, partial, lost);
}

TEST(RegistryCampaign, ACorruptStoreIsNeverWrittenOver) {
    ASSERT_NE(module().registerServer, nullptr) << ::dlerror();
    const char* const kinds[] = {
        "[CLSID\\{1E2E8703-D9FD-48D0-9002-8B673A58920A}]\nControl=Matrix\nthis line is no entry\n",
        "[Half a section\nModule=/x\n",
        ("\x7f" "ELF\x02\x01\x01\0\0\0"),
    };
    for (const char* text : kinds) {
        Campaign c;
        const std::string bytes(text, std::strlen(text) + (text[0] == '\x7f' ? 3 : 0));
        { std::ofstream(c.store, std::ios::binary) << bytes; }
        struct stat before {};
        ASSERT_EQ(::stat(c.store.c_str(), &before), 0);

        std::mt19937 random(7);
        for (int round = 0; round < 40; ++round) {
            const int slot = round % 4;
            const pid_t pid = spawn(c, slot, round, true);
            ASSERT_GT(pid, 0);
            ::usleep(std::uniform_int_distribution<useconds_t>(0, 3000)(random));
            ::kill(pid, SIGKILL);
            int status = 0;
            ASSERT_EQ(::waitpid(pid, &status, 0), pid);
            EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "a call did not answer REGDB_E_CORRUPT, status " << status;
        }
        struct stat after {};
        ASSERT_EQ(::stat(c.store.c_str(), &after), 0);
        EXPECT_EQ(readBytes(c.store), bytes);
        EXPECT_EQ(after.st_ino, before.st_ino) << "the store was replaced";
        EXPECT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
        EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
        RegistryData data;
        EXPECT_EQ(readRegistry(c.store, data), REGDB_E_CORRUPT);
    }
}

}  // namespace
}  // namespace talvik
