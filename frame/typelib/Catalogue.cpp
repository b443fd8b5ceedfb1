#include "frame/typelib/Catalogue.h"

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "answer/Matrix.h"
#include "answer/VelOptionToolBar.h"
#include "boxes/ScrollBox.h"
#include "boxes/vltBox.h"
#include "boxes/vltInfoBox.h"
#include "boxes/vltSwitch.h"
#include "boxes/vltZoomBox.h"
#include "controls/Banner.h"
#include "controls/TimerPicture.h"
#include "controls/URLLink.h"
#include "controls/vltGraphButton.h"
#include "controls/vltHeaderExam.h"

namespace talvik {

namespace {
const ControlClass* const kRows[] = {
    &controls::Banner::Class,
    &controls::Matrix::Class,
    &controls::VelOptionToolBar::Class,
    &controls::URLLink::Class,
    &controls::TimerPicture::Class,
    &controls::ScrollBox::Class,
    &controls::vltZoomBox::Class,
    &controls::vltSwitch::Class,
    &controls::vltInfoBox::Class,
    &controls::vltHeaderExam::Class,
    &controls::vltBox::Class,
    &controls::vltGraphButton::Class,
};

std::vector<const ControlClass*>& testRows() {
    static std::vector<const ControlClass*> rows;
    return rows;
}
}  // namespace

std::span<const ControlClass* const> catalogue() { return kRows; }

const ControlClass* findCatalogued(std::string_view name) {
    for (const ControlClass* c : kRows)
        if (c->name == name) return c;
    for (const ControlClass* c : testRows())
        if (c->name == name) return c;
    return nullptr;
}

const ControlClass* findControlClass(std::string_view name) {
    const ControlClass* c = findCatalogued(name);
    return c != nullptr && c->implemented() ? c : nullptr;
}

ScopedPrivateClass::ScopedPrivateClass(const ControlClass& cls) : cls_(cls) {
    if (cls.isPublic()) throw std::logic_error(std::string(cls.name) + " has an identity: it cannot be added");
    if (findCatalogued(cls.name) != nullptr) throw std::logic_error(std::string(cls.name) + " is already catalogued");
    testRows().push_back(&cls);
}

ScopedPrivateClass::~ScopedPrivateClass() { std::erase(testRows(), &cls_); }

}  // namespace talvik
