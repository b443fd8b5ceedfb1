#pragma once
// The library's four entry points (declared with C linkage in frame/Interfaces.h) as
// this program links them.
#include "frame/com/Interfaces.h"

namespace talvik {

const EntryPoints& linkedEntryPoints();

}  // namespace talvik
