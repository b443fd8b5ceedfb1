#pragma once
// Qt drag and drop as the OLE drag events see it: drop actions as drop effects, the
// action Qt carries out for the effect a drop target chose, and Qt's data of a drag as
// the events' data object.
#include <QMimeData>
#include <Qt>
#include <cstdint>

#include "frame/model/DataObject.h"
#include "frame/model/Events.h"

namespace talvik {

// Copy 1, move 2, link 4; other actions have no effect.
std::int32_t dropEffects(Qt::DropActions actions);
// The proposed action when the chosen effect allows it, else the first of copy, move
// and link that both the effect and the source allow; IgnoreAction when none does.
Qt::DropAction dropActionFor(std::int32_t effect, Qt::DropActions possible, Qt::DropAction proposed);
// The text of the drag in the text format (characters outside Latin-1 become '?'),
// and its local files as the data object's files.
DataObject dataObjectOf(const QMimeData& mime);

}  // namespace talvik
