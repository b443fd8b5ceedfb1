// Every control of the library in one window, each in its own host widget, in every
// style the gallery lists, under a light or a dark palette: a check box switches
// between them, and `--dark` starts with the dark one (`--dark --screenshot FILE`).
#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPalette>
#include <QScrollArea>
#include <QStyle>
#include <QStyleFactory>
#include <QVBoxLayout>
#include <cstdio>
#include <cstring>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "GalleryEntries.h"
#include "frame/typelib/Catalogue.h"
#include "frame/host/HostError.h"
#include "hosts/qt/AppWindow.h"
#include "hosts/qt/DarkPalette.h"
#include "hosts/qt/QtControlWidget.h"

using namespace talvik;

namespace {

constexpr int kRowWidth = 1180;  // pixels a row of one class's entries may take

// An event argument as the log shows it: an object by the element it names.
std::string argText(const Variant& v) {
    if (v.type() != VarType::Object) return v.toString();
    const ObjectRef o = v.toObject();
    return o.element ? o.element.displayName() : o.data != nullptr ? "(data)" : "(none)";
}

// Takes `--dark` out of the arguments, which the window's own options do not know;
// whether it was there.
bool takeDarkOption(int& argc, char** argv) {
    bool dark = false;
    int kept = 0;
    for (int i = 0; i < argc; ++i) {
        if (i > 0 && (std::strcmp(argv[i], "--dark") == 0 || std::strcmp(argv[i], "-dark") == 0)) {
            dark = true;
            continue;
        }
        argv[kept++] = argv[i];
    }
    argc = kept;
    argv[argc] = nullptr;
    return dark;
}

// One placement: its title above the control, or the error that kept it from being made.
QWidget* makeCell(const GalleryEntry& entry) {
    auto* cell = new QWidget;
    auto* layout = new QVBoxLayout(cell);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* title = new QLabel(QString::fromStdString(entry.title));
    layout->addWidget(title);
    try {
        const PropertyBag* saved = entry.properties.entries().empty() ? nullptr : &entry.properties;
        // A class without an identity is the library's own: only its private factory makes it.
        const ControlClass* cls = findControlClass(entry.className);
        auto* control = cls->isPublic()
                            ? new QtControlWidget(entry.className, saved)
                            : new QtControlWidget(QtControlWidget::LibraryInternal{entry.className}, saved);
        // Every event a control raises, one line each, so that clicks can be followed.
        QObject::connect(control, &QtControlWidget::eventRaised,
                         [name = entry.className, title = entry.title](const EventDecl& ev, std::span<Variant> args) {
                             std::string line = name + " (" + title + "): " + std::string(ev.name);
                             for (std::size_t i = 0; i < args.size() && i < ev.args.size(); ++i)
                                 line += " " + std::string(ev.args[i].name) + "=" + argText(args[i]);
                             std::printf("%s\n", line.c_str());
                             std::fflush(stdout);
                         });
        // A demo opens no browser: the links of the gallery lead to placeholder
        // addresses, so each is cancelled once logged.
        QObject::connect(control, &QtControlWidget::eventRaised, [](const EventDecl& ev, std::span<Variant> args) {
            if (ev.name != "GoToURL" || args.size() < 2) return;
            args[1] = Variant(true);
            std::printf("  (not opened: the gallery cancels GoToURL)\n");
            std::fflush(stdout);
        });
        if (entry.width > 0 && entry.height > 0) control->setFixedSize(control->scale().size(entry.width, entry.height));
        layout->addWidget(control, 0, Qt::AlignLeft | Qt::AlignTop);
    } catch (const HostError& e) {
        auto* error = new QLabel(QStringLiteral("error %1: %2").arg(e.number).arg(QString::fromStdString(e.description)));
        layout->addWidget(error);
    }
    layout->addStretch(1);
    return cell;
}

QWidget* makeSection(const std::string& className, const std::vector<const GalleryEntry*>& entries) {
    auto* section = new QWidget;
    auto* layout = new QVBoxLayout(section);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* heading = new QLabel(QString::fromStdString(className));
    QFont f = heading->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.4);
    heading->setFont(f);
    layout->addWidget(heading);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(24);
    grid->setVerticalSpacing(16);
    int column = 0, row = 0, used = 0;
    for (const GalleryEntry* e : entries) {
        QWidget* cell = makeCell(*e);
        const int w = cell->sizeHint().width();
        if (column > 0 && used + w > kRowWidth) {
            ++row;
            column = 0;
            used = 0;
        }
        grid->addWidget(cell, row, column++, Qt::AlignLeft | Qt::AlignTop);
        used += w + grid->horizontalSpacing();
    }
    grid->setColumnStretch(grid->columnCount(), 1);
    layout->addLayout(grid);
    return section;
}

}  // namespace

int main(int argc, char** argv) {
    const bool dark = takeDarkOption(argc, argv);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("talvik-gallery"));
    QApplication::setApplicationDisplayName(QStringLiteral("Talvik gallery"));
    // Fusion draws with whatever palette it is given, on every platform.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    const QPalette light = QApplication::style()->standardPalette();
    QApplication::setPalette(dark ? darkPalette() : light);

    // Entries grouped by class, classes in the order they first appear.
    std::vector<std::string> order;
    std::map<std::string, std::vector<const GalleryEntry*>> byClass;
    const std::vector<GalleryEntry> entries = galleryEntries();
    for (const GalleryEntry& e : entries) {
        if (findControlClass(e.className) == nullptr) {
            std::fprintf(stderr, "talvik-gallery: %s is not in this build of the library\n", e.className.c_str());
            continue;
        }
        if (byClass[e.className].empty()) order.push_back(e.className);
        byClass[e.className].push_back(&e);
    }

    auto* contents = new QWidget;
    auto* layout = new QVBoxLayout(contents);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->setSpacing(28);
    for (const std::string& name : order) layout->addWidget(makeSection(name, byClass[name]));
    layout->addStretch(1);

    QWidget window;
    auto* column = new QVBoxLayout(&window);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(16, 8, 16, 8);
    auto* darkBox = new QCheckBox(QStringLiteral("&Dark palette"));
    darkBox->setChecked(dark);
    // Every control repaints in the new colours when the application's palette changes.
    QObject::connect(darkBox, &QCheckBox::toggled,
                     [light](bool on) { QApplication::setPalette(on ? darkPalette() : light); });
    bar->addWidget(darkBox);
    bar->addStretch(1);
    column->addLayout(bar);
    auto* scroll = new QScrollArea;
    scroll->setWidget(contents);
    scroll->setWidgetResizable(true);
    scroll->setBackgroundRole(QPalette::Base);
    column->addWidget(scroll, 1);
    window.resize(contents->sizeHint().boundedTo(QSize(1280, 900)) + QSize(24, 4 + bar->sizeHint().height()));
    return runMainWindow(window, contents);
}
