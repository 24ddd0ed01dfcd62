// Pagoline in a form designer: the plugin library loaded through QPluginLoader the way a
// designer loads it and its widget built offscreen (run mode outside a designer); the
// container extension (pages for the tabs of a new control, a page per tab, pages off
// the page while their tab is not current, adding, inserting and removing pages); and
// a form with two pages of widgets saved by QFormBuilder and loaded back with the same
// tabs, pages and state. The designer's own windows, menus and undo stack are left out.
#include "pagoline/core/HostControls.h"
#include "pagoline/core/Pagoline.h"
#include "pagoline/designer/PagolineDesignerExtensions.h"

#include <QtDesigner/QDesignerCustomWidgetInterface>
#include <QtDesigner/QFormBuilder>

#include <QBuffer>
#include <QCheckBox>
#include <QLineEdit>
#include <QPluginLoader>
#include <QtTest>

namespace {

QDesignerCustomWidgetInterface *plugin()
{
    static QPluginLoader loader(QStringLiteral(PAGOLINE_PLUGIN_FILE));
    return qobject_cast<QDesignerCustomWidgetInterface *>(loader.instance());
}

QWidget *page(const QString &name)
{
    auto *widget = new QWidget;
    widget->setObjectName(name);
    return widget;
}

// Writes what a designer keeps of a form: the names, places and texts it set, and the
// control's saved state (the designer marks it changed), not every readable property.
class DesignerLikeWriter : public QFormBuilder
{
protected:
    bool checkProperty(QObject *, const QString &prop) const override
    {
        static const QStringList kept = {QStringLiteral("objectName"), QStringLiteral("geometry"),
                                         QStringLiteral("text"), QStringLiteral("PropertyBagContents")};
        return kept.contains(prop);
    }
};

bool onPage(const Pagoline &control, const QWidget *widget)
{
    return PagolineHostControls::OnCurrentPage(control, widget) && !widget->isHidden();
}

} // namespace

class DesignerPluginTest : public QObject
{
    Q_OBJECT

private slots:
    void pluginBuildsItsWidget()
    {
        QDesignerCustomWidgetInterface *iface = plugin();
        QVERIFY(iface);
        QCOMPARE(iface->name(), QStringLiteral("Pagoline"));
        QVERIFY(iface->isContainer());
        QVERIFY(iface->domXml().contains(QLatin1String("class=\"Pagoline\"")));
        QCOMPARE(iface->includeFile(), QStringLiteral("pagoline/core/Pagoline.h"));
        QWidget host;
        auto *control = qobject_cast<Pagoline *>(iface->createWidget(&host));
        QVERIFY(control);
        // Outside a designer the control runs.
        QVERIFY(control->UserMode());
        host.resize(300, 200);
        host.show();
        QCOMPARE(control->Tabs(), short(3));
        QCOMPARE(control->parentWidget(), &host);
    }

    void pagesFollowTheirTabs()
    {
        Pagoline control;
        control.resize(300, 200);
        PagolineContainerExtension pages(&control, nullptr);
        QWidget *first = page(QStringLiteral("page"));
        QWidget *second = page(QStringLiteral("page_2"));
        QWidget *third = page(QStringLiteral("page_3"));
        // A new control's three pages, as the widget box makes them; the third tab is current.
        for (QWidget *w : {first, second, third})
            pages.addWidget(w);
        QCOMPARE(pages.count(), 3);
        QCOMPARE(pages.currentIndex(), 2);
        QCOMPARE(pages.widget(0), first);
        QCOMPARE(pages.widget(1), second);
        QCOMPARE(pages.widget(2), third);
        QVERIFY(onPage(control, third));
        QVERIFY(!onPage(control, first));
        QCOMPARE(third->geometry(), control.PageRect());

        // A widget dropped on the current page goes with it.
        auto *edit = new QLineEdit(third);
        pages.setCurrentIndex(0);
        QVERIFY(onPage(control, first));
        QVERIFY(!onPage(control, third));
        QCOMPARE(edit->parentWidget(), third);
        QCOMPARE(pages.widget(2), third);
        QCOMPARE(pages.widget(0), first);

        QWidget *fourth = page(QStringLiteral("page_4"));
        pages.addWidget(fourth);
        QCOMPARE(pages.count(), 4);
        QCOMPARE(pages.widget(3), fourth);
        QVERIFY(!onPage(control, fourth));

        QWidget *inserted = page(QStringLiteral("page_5"));
        pages.insertWidget(1, inserted);
        QCOMPARE(pages.count(), 5);
        QCOMPARE(pages.widget(1), inserted);
        QCOMPARE(pages.widget(2), second);

        pages.remove(2);
        QCOMPARE(pages.count(), 4);
        QCOMPARE(pages.widget(2), third);
        QCOMPARE(pages.currentIndex(), 0);
        // The designer takes the removed page away itself.
        delete second;
        Pagoline single;
        single.setTabs(1);
        PagolineContainerExtension one(&single, nullptr);
        QVERIFY(!one.canRemove(0));
    }

    void formRoundTripKeepsTabsAndPages()
    {
        QDesignerCustomWidgetInterface *iface = plugin();
        QVERIFY(iface);
        QWidget form;
        form.setObjectName(QStringLiteral("FrmTest"));
        form.resize(400, 300);
        auto *control = qobject_cast<Pagoline *>(iface->createWidget(&form));
        QVERIFY(control);
        control->setObjectName(QStringLiteral("MainTab"));
        control->setGeometry(10, 10, 380, 280);
        control->setTabs(2);
        control->setTabCaption(0, QStringLiteral("&Eins"));
        control->setTabCaption(1, QStringLiteral("Ｗｉｄｅ"));
        control->setStyle(Pagoline::ssStylePropertyPage);
        PagolineContainerExtension pages(control, nullptr);
        QWidget *first = page(QStringLiteral("page"));
        QWidget *second = page(QStringLiteral("page_2"));
        pages.addWidget(first);
        pages.addWidget(second);
        auto *edit = new QLineEdit(first);
        edit->setObjectName(QStringLiteral("txtName"));
        auto *check = new QCheckBox(QStringLiteral("Option"), second);
        check->setObjectName(QStringLiteral("chkOption"));
        pages.setCurrentIndex(1);

        QByteArray ui;
        {
            QBuffer buffer(&ui);
            buffer.open(QIODevice::WriteOnly);
            DesignerLikeWriter writer;
            writer.save(&buffer, &form);
        }
        QVERIFY(ui.contains("PropertyBagContents"));


        QBuffer input(&ui);
        input.open(QIODevice::ReadOnly);
        QFormBuilder reader;
        reader.setPluginPath({QStringLiteral(PAGOLINE_PLUGIN_DIR)});
        std::unique_ptr<QWidget> loaded(reader.load(&input));
        QVERIFY2(loaded, qPrintable(reader.errorString()));
        auto *copy = loaded->findChild<Pagoline *>(QStringLiteral("MainTab"));
        QVERIFY(copy);
        QCOMPARE(copy->Tabs(), short(2));
        QCOMPARE(copy->Tab(), short(1));
        QCOMPARE(copy->TabCaption(0), QStringLiteral("&Eins"));
        QCOMPARE(copy->TabCaption(1), QStringLiteral("Ｗｉｄｅ"));
        QCOMPARE(copy->Style(), Pagoline::ssStylePropertyPage);
        loaded->show();
        auto *copiedCheck = copy->findChild<QCheckBox *>(QStringLiteral("chkOption"));
        auto *copiedEdit = copy->findChild<QLineEdit *>(QStringLiteral("txtName"));
        QVERIFY(copiedCheck && copiedEdit);
        QWidget *secondPage = copiedCheck->parentWidget();
        QWidget *firstPage = copiedEdit->parentWidget();
        QCOMPARE(secondPage->parentWidget(), copy);
        QCOMPARE(firstPage->parentWidget(), copy);
        QVERIFY(onPage(*copy, secondPage));
        QVERIFY(!PagolineHostControls::OnCurrentPage(*copy, firstPage));

        // A host puts the loaded pages away, so that the focus cannot reach them.
        copy->PlaceRecordedControls();
        QVERIFY(firstPage->isHidden());
        QVERIFY(onPage(*copy, secondPage));

        // The pages turn with the tabs in the loaded form too.
        copy->setTab(0);
        QVERIFY(onPage(*copy, firstPage));
        QVERIFY(PagolineHostControls::OnCurrentPage(*copy, firstPage));
        QVERIFY(!PagolineHostControls::OnCurrentPage(*copy, secondPage));
        QCOMPARE(firstPage->geometry(), copy->PageRect());
        PagolineContainerExtension copiedPages(copy, nullptr);
        QCOMPARE(copiedPages.widget(0), firstPage);
        QCOMPARE(copiedPages.widget(1), secondPage);
    }
};

QTEST_MAIN(DesignerPluginTest)
#include "tst_designerplugin.moc"
