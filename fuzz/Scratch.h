#pragma once
// A folder of the fuzzer's own for the files a harness writes, removed when the process
// ends. In memory where there is such a file system: the stores sync every update, and
// a sync to disk would take much of the fuzzer's time.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace talvik::fuzz {

inline const std::filesystem::path& scratch(const char* harness) {
    namespace fs = std::filesystem;
    static const fs::path dir =
        (fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path()) /
        ("talvik-fuzz-" + std::string(harness) + "-" + std::to_string(::getpid()));
    // Registered once the path is made, so that it runs before the path is destroyed.
    [[maybe_unused]] static const bool removedAtExit = [] {
        fs::create_directories(dir);
        std::atexit([] {
            std::error_code ec;
            fs::remove_all(dir, ec);
        });
        return true;
    }();
    return dir;
}

}  // namespace talvik::fuzz
