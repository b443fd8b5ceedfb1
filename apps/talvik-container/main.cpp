// talvik-container [--module PATH] [--registry FILE] [SCRIPT]
//
// Runs a script of container commands (or standard input) against the library's
// module and writes what happens as JSON lines. Exit status 0 when every line was
// understood, 2 when one was not, 1 when the module or the script cannot be opened.
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>

#include "apps/talvik-container/Container.h"
#include "apps/talvik-container/ModuleLoader.h"

namespace {

int usage() {
    std::cerr << "usage: talvik-container [--module PATH] [--registry FILE] [SCRIPT]\n";
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    std::string modulePath = talvik::container::defaultModulePath();
    std::optional<std::string> script;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if ((arg == "--module" || arg == "--registry") && i + 1 < argc) {
            const std::string v = argv[++i];
            if (arg == "--module")
                modulePath = v;
            else
                ::setenv("TALVIK_REGISTRY", v.c_str(), 1);  // where the module's registration writes
        } else if (arg.rfind("--", 0) == 0 || script) {
            return usage();
        } else {
            script = arg;
        }
    }

    std::ifstream file;
    if (script) {
        file.open(*script);
        if (!file) {
            std::cerr << "talvik-container: cannot open " << *script << "\n";
            return 1;
        }
    }
    std::istream& in = script ? file : std::cin;

    std::string error;
    const std::optional<talvik::EntryPoints> entry = talvik::container::loadModule(modulePath, error);
    if (!entry) {
        std::cerr << "talvik-container: " << error << "\n";
        return 1;
    }

    bool understood = true;
    {
        talvik::container::Container container(*entry, std::cout);
        understood = container.runScript(in);
    }
    return understood ? 0 : 2;
}
