#include "hosts/qt/DropEffects.h"

#include <QUrl>
#include <utility>

namespace talvik {

namespace {

constexpr std::pair<Qt::DropAction, std::int32_t> kEffects[] = {
    {Qt::CopyAction, kDropCopy}, {Qt::MoveAction, kDropMove}, {Qt::LinkAction, kDropLink}};

}  // namespace

std::int32_t dropEffects(Qt::DropActions actions) {
    std::int32_t effects = kDropNone;
    for (const auto& [action, effect] : kEffects)
        if (actions & action) effects |= effect;
    return effects;
}

Qt::DropAction dropActionFor(std::int32_t effect, Qt::DropActions possible, Qt::DropAction proposed) {
    const std::int32_t allowed = effect & dropEffects(possible);
    if ((allowed & dropEffects(proposed)) != 0) return proposed;
    for (const auto& [action, e] : kEffects)
        if ((allowed & e) != 0) return action;
    return Qt::IgnoreAction;
}

DataObject dataObjectOf(const QMimeData& mime) {
    DataObject data;
    if (mime.hasText()) data.SetData(mime.text().toLatin1().toStdString(), kFormatText);
    for (const QUrl& url : mime.urls())
        if (url.isLocalFile()) data.AddFile(url.toLocalFile().toStdString());
    return data;
}

}  // namespace talvik
