#pragma once
// What the tests share: a control of one class initialized on a headless host, the
// resource a picture came from, the writes of a save, and the test container run in
// this process on a script or as the built program.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "apps/talvik-container/Container.h"
#include "hosts/headless/HeadlessHost.h"

namespace talvik::testing {

// A control of class C, created and initialized on its own headless host.
template <class C>
struct Hosted : HeadlessHost {
    C& ctl = static_cast<C&>(*control());
    Hosted() : HeadlessHost(C::Class) { Initialize(); }
};

// The resource a picture was loaded from, "" for none.
inline std::string origin(const Picture& p) { return p.empty() ? "" : p.bitmap()->origin; }

// The WriteProperty calls a save made, in order: key, value and default each.
inline void expectWrites(const PropertyBag& bag, const std::vector<PropertyBag::Write>& expected) {
    ASSERT_EQ(bag.writes().size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(expected[i].key);
        EXPECT_EQ(bag.writes()[i].key, expected[i].key);
        EXPECT_EQ(bag.writes()[i].value, expected[i].value);
        EXPECT_EQ(bag.writes()[i].defaultValue, expected[i].defaultValue);
    }
}

inline std::string lines(const std::vector<std::string>& ls) {
    std::string s;
    for (const std::string& l : ls) s += l + "\n";
    return s;
}

// The container in this process, one script line a command, on these entry points.
inline std::string runScript(const std::vector<std::string>& script, const EntryPoints& entry = linkedEntryPoints()) {
    std::ostringstream out;
    container::Container c(entry, out);
    for (std::size_t i = 0; i < script.size(); ++i) c.run(script[i], static_cast<int>(i + 1));
    return out.str();
}

#ifdef TALVIK_CONTAINER_PATH
inline std::string quoted(const std::string& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// What the built container printed, and its exit status (-1 when it did not exit).
struct Ran {
    std::string out;
    int status = -1;
};

// The built container as a user runs it: these arguments (quoted for the shell where
// needed) and the script on its standard input.
inline Ran runContainer(const std::string& script, const std::string& args = "") {
    const std::filesystem::path in =
        std::filesystem::path(::testing::TempDir()) / ("talvik-script-" + std::to_string(::getpid()) + ".txt");
    std::ofstream(in, std::ios::binary) << script;
    Ran r;
    if (FILE* p = ::popen((quoted(TALVIK_CONTAINER_PATH) + " " + args + " < " + quoted(in.string())).c_str(), "r")) {
        char buf[4096];
        for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) r.out.append(buf, n);
        const int status = ::pclose(p);
        r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::filesystem::remove(in);
    return r;
}
#endif

}  // namespace talvik::testing
