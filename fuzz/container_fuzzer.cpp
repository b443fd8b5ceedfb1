// Scripts of the test container, run in-process over the linked library: every
// command, control, element and event reached from arbitrary text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <system_error>

#include <unistd.h>

#include "apps/talvik-container/Container.h"
#include "frame/com/EntryPoints.h"

namespace {

const std::filesystem::path& scratch() {
    // In memory where there is such a file system: `register` syncs the store to disk,
    // which would otherwise take a quarter of the fuzzer's time.
    static const std::filesystem::path dir =
        (std::filesystem::is_directory("/dev/shm") ? std::filesystem::path("/dev/shm")
                                                   : std::filesystem::temp_directory_path()) /
        ("talvik-fuzz-container-" + std::to_string(::getpid()));
    return dir;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // `register` and `unregister` write the store named here, never the user's own.
    ::setenv("TALVIK_REGISTRY", (scratch() / "registry.txt").c_str(), 1);
    std::atexit([] {
        std::error_code ec;
        std::filesystem::remove_all(scratch(), ec);
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    std::ostringstream out;
    talvik::container::Container container(talvik::linkedEntryPoints(), out);
    container.runScript(in);
    return 0;
}
