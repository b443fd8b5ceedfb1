// The Designer plugin as Designer loads it, and a form placing every widget, written as
// Designer writes one and compiled by uic.
#include <QDomDocument>
#include <QPluginLoader>
#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>
#include <gtest/gtest.h>

#include <set>

#include "frame/typelib/TypeLib.h"
#include "ui_all_widgets.h"

namespace talvik {
namespace {

TEST(DesignerPlugin, OffersTheElevenControlsInTheirGroup) {
    QPluginLoader loader(QStringLiteral(TALVIK_DESIGNER_PLUGIN));
    ASSERT_TRUE(loader.load()) << loader.errorString().toStdString();
    auto* collection = qobject_cast<QDesignerCustomWidgetCollectionInterface*>(loader.instance());
    ASSERT_NE(collection, nullptr);
    const QList<QDesignerCustomWidgetInterface*> widgets = collection->customWidgets();
    ASSERT_EQ(widgets.size(), 11);

    std::set<QString> names;
    for (const ClassDesc& c : typeLibrary().classes) names.insert("talvik::" + QString::fromLatin1(c.name.data(), c.name.size()));
    for (QDesignerCustomWidgetInterface* w : widgets) {
        SCOPED_TRACE(w->name().toStdString());
        EXPECT_EQ(names.erase(w->name()), 1u);
        EXPECT_EQ(w->group(), "TalvikSkills");
        EXPECT_EQ(w->icon().availableSizes().value(0), QSize(16, 15));
        EXPECT_FALSE(w->toolTip().isEmpty() || w->whatsThis().isEmpty() || w->isContainer());
        const QString bare = w->name().mid(int(sizeof("talvik::")) - 1);
        EXPECT_EQ(w->includeFile(), "hosts/qt/widgets/" + bare + ".h");

        QWidget form;
        QWidget* made = w->createWidget(&form);
        ASSERT_NE(made, nullptr);
        EXPECT_EQ(made->parent(), &form);
        EXPECT_EQ(QString::fromLatin1(made->metaObject()->className()), w->name());

        // The default geometry is the control's design size.
        QDomDocument dom;
        ASSERT_TRUE(bool(dom.setContent(w->domXml())));
        const QDomElement widget = dom.documentElement().firstChildElement("widget");
        EXPECT_EQ(widget.attribute("class"), w->name());
        const QDomElement rect = widget.firstChildElement("property").firstChildElement("rect");
        EXPECT_EQ(rect.firstChildElement("width").text().toInt(), made->sizeHint().width());
        EXPECT_EQ(rect.firstChildElement("height").text().toInt(), made->sizeHint().height());
    }
    EXPECT_TRUE(names.empty());
}

TEST(DesignerPlugin, AFormWithEveryWidgetRunsWithItsProperties) {
    QWidget form;
    Ui::AllWidgets ui;
    ui.setupUi(&form);
    form.show();

    EXPECT_EQ(ui.matrix->MaxItems(), 40);
    EXPECT_EQ(ui.matrix->result().size(), 40);
    EXPECT_EQ(ui.optionStrip->VelOptionChar(), VelOptionToolBar::VelUChar);
    EXPECT_EQ(ui.link->Text(), "Exam rules");
    EXPECT_TRUE(ui.link->ShowToolTip());
    EXPECT_FALSE(ui.clock->Enable());
    EXPECT_EQ(ui.clock->Duration(), 45.5f);
    EXPECT_EQ(ui.scrollBox->Style(), ScrollBox::Natural_bluebox);
    // The zoom box keeps at least 1595 twips of height in any style but 0, whatever
    // height the form gave it.
    EXPECT_GE(ui.zoomBox->height(), ui.zoomBox->scale().size(0, 1595).height());
    EXPECT_EQ(ui.infoBox->BackStyle(), vltInfoBox::Transparent_box);
    EXPECT_EQ(ui.box->Style(), vltBox::Natural_greenbox);
    EXPECT_TRUE(ui.banner->isVisible() && ui.header->isVisible());
}

}  // namespace
}  // namespace talvik
