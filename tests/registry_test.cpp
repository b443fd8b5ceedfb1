// The registration store: its text form, where it lives, this library's entries, and
// updates that keep other libraries' entries and never write through a planted link.
// Writers racing and killed, and stores that cannot be read, are the registry
// campaign's.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

#include "frame/registry/Registration.h"
#include "frame/registry/Registry.h"

namespace talvik {
namespace {

namespace fs = std::filesystem;

// A fresh directory for one test's store.
struct StoreDir {
    fs::path dir;
    std::string store = (dir / "registry.txt").string();
    explicit StoreDir(const char* name) : dir(fs::path(::testing::TempDir()) / (name + std::to_string(::getpid()))) {
        fs::remove_all(dir);
    }
    ~StoreDir() { fs::remove_all(dir); }
    std::string text() const {
        std::stringstream s;
        s << std::ifstream(store, std::ios::binary).rdbuf();
        return s.str();
    }
    void write(const std::string& text) const {
        fs::create_directories(dir);
        std::ofstream(store, std::ios::binary) << text;
    }
};

struct EnvVar {
    std::string name;
    std::optional<std::string> saved;
    EnvVar(const char* n, const char* value) : name(n) {
        if (const char* v = ::getenv(n)) saved = v;
        value ? ::setenv(n, value, 1) : ::unsetenv(n);
    }
    ~EnvVar() { saved ? ::setenv(name.c_str(), saved->c_str(), 1) : ::unsetenv(name.c_str()); }
};

const char* const kOtherLibrary =
    "[CLSID\\{11111111-2222-3333-4444-555555555555}]\n"
    "Module=/opt/other/Other.ocx\n"
    "Library=OtherLib\n"
    "Control=Gauge\n";

TEST(Registry, ParsesSectionsAndRefusesWhatIsNotAStore) {
    const struct { const char* what; const char* text; bool parses; } rows[] = {
        {"empty", "", true},
        {"comments and blank lines", "# note\n\n   \n", true},
        {"an empty value", "[A\\B]\nx=1\ny=\n", true},
        {"CRLF line ends", "[A]\r\nx=1\r\n", true},
        {"a value before any section", "x=1\n[A]\n", false},
        {"a line that is neither", "[A]\njunk\n", false},
        {"an unclosed section", "[A\nx=1\n", false},
        {"an empty section key", "[]\n", false},
        {"a section given twice", "[A]\n[A]\n", false},
        {"a name given twice", "[A]\nx=1\nx=2\n", false},
        {"a value without a name", "[A]\n=1\n", false},
        {"binary garbage", "\x7f" "ELF\x02\x01\x01", false},
    };
    for (const auto& r : rows) EXPECT_EQ(parseRegistry(r.text).has_value(), r.parses) << r.what;
    const RegistryData expected = {{"A\\B", {{"x", "1"}, {"y", "a=b"}}}, {"C", {}}};
    EXPECT_EQ(parseRegistry("# x\n[A\\B]\nx=1\ny=a=b\n\n[C]\n"), expected);
}

TEST(Registry, DefaultLocationFollowsTheEnvironment) {
    const struct { const char* talvik; const char* xdg; const char* home; const char* expected; } rows[] = {
        {"/tmp/r.txt", "/xdg", "/home/u", "/tmp/r.txt"},
        {nullptr, "/xdg", "/home/u", "/xdg/talvik/registry.txt"},
        {"", "/xdg", "/home/u", "/xdg/talvik/registry.txt"},
        {nullptr, nullptr, "/home/u", "/home/u/.local/share/talvik/registry.txt"},
        {nullptr, "relative", "/home/u", "/home/u/.local/share/talvik/registry.txt"},
    };
    for (const auto& r : rows) {
        EnvVar t("TALVIK_REGISTRY", r.talvik), x("XDG_DATA_HOME", r.xdg), h("HOME", r.home);
        EXPECT_EQ(defaultRegistryPath(), r.expected);
    }
}

TEST(Registration, RegisteringWritesEveryClassAndTheTypeLibrary) {
    StoreDir d("talvik-registry-register-");
    ASSERT_EQ(registerLibrary(d.store, "/lib/TalvikSkills.ocx"), S_OK);
    RegistryData data;
    ASSERT_EQ(readRegistry(d.store, data), S_OK);
    ASSERT_EQ(data.size(), 12u);
    const RegistrySection matrix = {"CLSID\\{1E2E8703-D9FD-48D0-9002-8B673A58920A}",
                                    {{"Module", "/lib/TalvikSkills.ocx"}, {"Library", "TalvikSkills"}, {"Control", "Matrix"},
                                     {"TypeLib", "{AD8BC1B3-2D95-4C15-8B3B-16F2FE11DFD3}"}, {"Version", "1.0"}}};
    EXPECT_EQ(data[1], matrix);
    const RegistrySection typeLib = {"TypeLib\\{AD8BC1B3-2D95-4C15-8B3B-16F2FE11DFD3}\\1.0",
                                     {{"Name", "TalvikSkills"}, {"Locale", "409"}, {"Module", "/lib/TalvikSkills.ocx"}}};
    EXPECT_EQ(data[11], typeLib);
    // Nothing but the store and its lock file is left in the directory.
    std::set<std::string> files;
    for (const auto& e : fs::directory_iterator(d.dir)) files.insert(e.path().filename().string());
    EXPECT_EQ(files, (std::set<std::string>{"registry.txt", "registry.txt.lock"}));
}

TEST(Registration, OtherLibrariesEntriesStayAsTheyWere) {
    StoreDir d("talvik-registry-others-");
    // Another library's class, and a stale entry of ours from an older location.
    d.write(std::string(kOtherLibrary) +
            "[CLSID\\{1E2E8703-D9FD-48D0-9002-8B673A58920A}]\nModule=/old/TalvikSkills.ocx\n");
    ASSERT_EQ(registerLibrary(d.store, "/new/TalvikSkills.ocx"), S_OK);
    RegistryData data;
    ASSERT_EQ(readRegistry(d.store, data), S_OK);
    ASSERT_EQ(data.size(), 13u);  // the other class, our eleven, our type library
    EXPECT_EQ(data[0], parseRegistry(kOtherLibrary)->front());
    EXPECT_EQ(*data[1].value("Module"), "/new/TalvikSkills.ocx");  // updated where it stood
    ASSERT_EQ(registerLibrary(d.store, "/new/TalvikSkills.ocx"), S_OK);
    ASSERT_EQ(readRegistry(d.store, data), S_OK);
    EXPECT_EQ(data.size(), 13u);  // registering twice adds nothing

    ASSERT_EQ(unregisterLibrary(d.store), S_OK);
    ASSERT_EQ(readRegistry(d.store, data), S_OK);
    EXPECT_EQ(data, *parseRegistry(kOtherLibrary));
}

TEST(Registration, UnwritableLocationsAndOddPathsFailCleanly) {
    StoreDir d("talvik-registry-unwritable-");
    d.write("");
    // A store path whose directory is a file cannot be written.
    EXPECT_EQ(registerLibrary(d.store + "/registry.txt", "/lib/T.ocx"), STG_E_WRITEFAULT);
    // A module path that would break the line-based store is refused.
    EXPECT_EQ(registerLibrary(d.store, "/lib/T\n[CLSID\\x].ocx"), E_INVALIDARG);
    EXPECT_EQ(d.text(), "");
    // Unregistering from a store that does not exist yet leaves an empty one.
    StoreDir fresh("talvik-registry-fresh-");
    EXPECT_EQ(unregisterLibrary(fresh.store), S_OK);
    RegistryData data;
    EXPECT_EQ(readRegistry(fresh.store, data), S_OK);
    EXPECT_TRUE(data.empty());
}

// Whoever can write the store's folder cannot make an update write through a link
// placed under the temporary file's name, and leftovers of killed writers go away.
TEST(Registration, TemporaryFilesAreNeverFollowedAndLeftoversAreCleared) {
    StoreDir d("talvik-registry-tmp-");
    d.write(kOtherLibrary);
    const fs::path victim = d.dir / "victim.txt";
    std::ofstream(victim) << "keep me";
    fs::create_symlink(victim, d.store + ".tmp");
    std::ofstream(d.store + ".tmp.4242") << "half an update";
    ASSERT_EQ(registerLibrary(d.store, "/lib/TalvikSkills.ocx"), S_OK);
    std::stringstream kept;
    kept << std::ifstream(victim).rdbuf();
    EXPECT_EQ(kept.str(), "keep me");
    RegistryData data;
    ASSERT_EQ(readRegistry(d.store, data), S_OK);
    EXPECT_EQ(data.size(), 13u);
    std::set<std::string> files;
    for (const auto& e : fs::directory_iterator(d.dir)) files.insert(e.path().filename().string());
    EXPECT_EQ(files, (std::set<std::string>{"registry.txt", "registry.txt.lock", "victim.txt"}));
}

}  // namespace
}  // namespace talvik
