#pragma once
// Runs a script through the test container (a file, as a user would pass it) and gives
// its whole output, with the exit status appended when it is not 0.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace talvik::testing {

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

}  // namespace talvik::testing
