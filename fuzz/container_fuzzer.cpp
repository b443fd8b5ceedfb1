// Scripts of the test container, run in-process over the linked library: every
// command, control, element and event reached from arbitrary text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "apps/talvik-container/Container.h"
#include "frame/com/EntryPoints.h"
#include "fuzz/Scratch.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // `register` and `unregister` write the store named here, never the user's own.
    ::setenv("TALVIK_REGISTRY", (talvik::fuzz::scratch("container") / "registry.txt").c_str(), 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    std::ostringstream out;
    talvik::container::Container container(talvik::linkedEntryPoints(), out);
    container.runScript(in);
    return 0;
}
