#include "TalvikDesignerPlugin.h"

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <map>
#include <string>

#include "resources/Resources.h"

namespace talvik {

namespace {

struct Description {
    const char* toolTip;
    const char* whatsThis;
};

// What each control is for, as the widget box and the "What's this" help show it.
const std::map<std::string_view, Description> kDescriptions = {
    {"Banner", {"Banner", "The exam's title banner: a picture that stretches to the width it is given."}},
    {"Matrix",
     {"Answer sheet",
      "An answer sheet of numbered questions with the choices A to D. MaxItems questions, MaxItemPerCol to a "
      "column, in at most MaxCols columns; the candidate's marks are read through result."}},
    {"VelOptionToolBar",
     {"Option strip", "A row of up to nine option boxes, as check boxes or option buttons; VelValue holds the marks."}},
    {"URLLink", {"Hyperlink", "A text that opens URL when clicked; the GoToURL signal may change the address or cancel."}},
    {"TimerPicture", {"Analog clock", "A clock face that shows the time of day while Enable is on."}},
    {"ScrollBox", {"Box with scroll buttons", "A skinned box with a caption and scroll buttons; ButtonClick tells which."}},
    {"vltZoomBox", {"Box with zoom buttons", "A skinned box with shrink, enlarge and fit buttons (vltZoomBoxClick)."}},
    {"vltSwitch",
     {"Box with navigation buttons", "A skinned box with first, previous, next and last buttons (ButtonClick)."}},
    {"vltInfoBox", {"Information box", "A skinned box with a caption and a text (Info)."}},
    {"vltHeaderExam", {"Exam header", "A frame with a label for the header of an exam screen; it has no members."}},
    {"vltBox", {"Skinned box", "A skinned box with a caption in one of the box styles."}},
};

Description describe(std::string_view name) {
    const auto it = kDescriptions.find(name);
    return it != kDescriptions.end() ? it->second : Description{"", ""};
}

// The toolbox picture, its silver background transparent as a toolbox shows it.
QIcon toolboxIcon(int id) {
    const resources::Blob* blob = resources::findBitmap(std::to_string(id));
    if (blob == nullptr) return {};
    QImage img = QImage::fromData(blob->data, int(blob->size), "BMP").convertToFormat(QImage::Format_ARGB32);
    const QRgb silver = qRgb(192, 192, 192);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixel(x, y) == silver) img.setPixel(x, y, qRgba(0, 0, 0, 0));
    return QIcon(QPixmap::fromImage(img));
}

QString lowerFirst(QString s) {
    if (!s.isEmpty()) s[0] = s[0].toLower();
    return s;
}

}  // namespace

DesignerWidget::DesignerWidget(const WidgetClass& cls, int toolbox, QObject* parent)
    : QObject(parent), cls_(cls), toolbox_(toolbox) {}

QString DesignerWidget::name() const { return QString::fromLatin1(cls_.meta->className()); }
QString DesignerWidget::group() const { return QStringLiteral("TalvikSkills"); }
QString DesignerWidget::toolTip() const { return QString::fromUtf8(describe(cls_.name).toolTip); }
QString DesignerWidget::whatsThis() const { return QString::fromUtf8(describe(cls_.name).whatsThis); }
QString DesignerWidget::includeFile() const {
    return QStringLiteral("hosts/qt/widgets/") + QString::fromLatin1(cls_.name.data(), qsizetype(cls_.name.size())) +
           QStringLiteral(".h");
}
QIcon DesignerWidget::icon() const { return toolboxIcon(toolbox_); }
bool DesignerWidget::isContainer() const { return false; }
QWidget* DesignerWidget::createWidget(QWidget* parent) {
    // The form owns what Designer places on it.
    return cls_.create(parent).release();
}
bool DesignerWidget::isInitialized() const { return initialized_; }
void DesignerWidget::initialize(QDesignerFormEditorInterface*) { initialized_ = true; }

QString DesignerWidget::domXml() const {
    // The size a new control gives itself: its design size, as it settles once
    // initialised (the clock, say, fits its face).
    const QSize size = cls_.create(nullptr)->sizeHint();
    const QString cls = name();
    const QString object = lowerFirst(QString::fromLatin1(cls_.name.data(), qsizetype(cls_.name.size())));
    return QStringLiteral(
               "<ui language=\"c++\">\n"
               " <widget class=\"%1\" name=\"%2\">\n"
               "  <property name=\"geometry\">\n"
               "   <rect><x>0</x><y>0</y><width>%3</width><height>%4</height></rect>\n"
               "  </property>\n"
               "  <property name=\"toolTip\"><string>%5</string></property>\n"
               " </widget>\n"
               "</ui>\n")
        .arg(cls, object)
        .arg(size.width())
        .arg(size.height())
        .arg(toolTip().toHtmlEscaped());
}

DesignerWidgets::DesignerWidgets(QObject* parent) : QObject(parent) {
    // The toolbox pictures 30000 to 30010 follow the order of the type description.
    int id = 30000;
    for (const WidgetClass& w : widgetClasses()) widgets_.push_back(new DesignerWidget(w, id++, this));
}

QList<QDesignerCustomWidgetInterface*> DesignerWidgets::customWidgets() const { return widgets_; }

}  // namespace talvik
