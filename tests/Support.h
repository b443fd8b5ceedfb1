#pragma once
// What the tests share: a control of one class initialized on a headless host, the
// resource a picture came from, the writes of a save, and the test container run in
// this process on a script or as the built program on a file.
#include <gtest/gtest.h>
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
// The built container on a script file, as a user would pass it: its whole output, with
// the exit status appended when it is not 0.
inline std::string runContainer(const std::string& name, const std::string& script) {
    const std::filesystem::path file =
        std::filesystem::path(::testing::TempDir()) / (name + "-" + std::to_string(::getpid()) + ".txt");
    std::ofstream(file) << script;
    std::string out;
    FILE* pipe = ::popen((std::string(TALVIK_CONTAINER_PATH) + " '" + file.string() + "'").c_str(), "r");
    if (pipe == nullptr) return "popen failed";
    char buf[4096];
    for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, pipe)) > 0;) out.append(buf, n);
    if (const int status = ::pclose(pipe); status != 0) out += "exit status " + std::to_string(status);
    std::filesystem::remove(file);
    return out;
}
#endif

}  // namespace talvik::testing
