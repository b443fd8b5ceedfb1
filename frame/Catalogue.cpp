#include "frame/Catalogue.h"

#include "answer/Matrix.h"
#include "answer/VelOptionToolBar.h"
#include "boxes/vltBox.h"
#include "controls/vltHeaderExam.h"

namespace talvik {

namespace {
// One line a control: adding a control to the library means adding its class here.
const ControlClass* const kClasses[] = {
    &Matrix::Class,
    &VelOptionToolBar::Class,
    &vltBox::Class,
    &vltHeaderExam::Class,
};
}  // namespace

std::span<const ControlClass* const> controlClasses() { return kClasses; }

const ControlClass* findControlClass(std::string_view name) {
    for (const ControlClass* c : kClasses)
        if (c->name == name) return c;
    return nullptr;
}

}  // namespace talvik
