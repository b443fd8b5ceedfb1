#pragma once
// Opening the library's module at run time and finding its four entry points.
#include <optional>
#include <string>

#include "frame/com/Interfaces.h"

namespace talvik::container {

// TalvikSkills.ocx in the directory of the running program.
std::string defaultModulePath();

// The module's entry points, or nullopt with the reason in `error`. The module stays
// loaded for the rest of the program: objects it made may live until the end.
std::optional<EntryPoints> loadModule(const std::string& path, std::string& error);

}  // namespace talvik::container
