#pragma once
// The type description as the container's `typelib` command prints it.
#include <string>

namespace talvik::container {

// {"name":"TalvikSkills",...,"classes":[...],"enums":[...]}
std::string typeLibraryJson();

}  // namespace talvik::container
