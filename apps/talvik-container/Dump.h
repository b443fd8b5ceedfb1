#pragma once
// The dump of an element: its kind and the members of its kind, as it holds them now.
#include <string>

#include "apps/talvik-container/Json.h"
#include "frame/model/Elements.h"
#include "frame/model/Surface.h"

namespace talvik::container {

// Adds "element", "kind" and the element's fields to an object that already holds
// "line" and "dump".
void dumpSurface(const Surface& s, Object& out);
void dumpElement(const Element& e, Object& out);

// What a dump prints for a picture: null for the empty picture, else where it comes
// from ("res:110", "tpl:Picture1(1)").
std::string pictureText(const Picture& p);

}  // namespace talvik::container
