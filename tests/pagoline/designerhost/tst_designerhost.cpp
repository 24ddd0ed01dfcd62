// Pagoline in Qt Designer's own form editor, offscreen: the plugin found on the plugin
// path, a form with the control and three pages loaded into a form window, the control
// in design mode with its design-time message, the designer's container and context
// menu extensions, a click on a tab that turns the page and leaves the control selected
// for dragging, a page made for a new tab, and the form's contents loaded back into a
// second form window with the same tabs, captions and pages; a tab click and the property
// page's changes (a new tab with its page) as steps on the form's undo stack, undone and
// redone. The designer's main window,
// widget box and property editor are left out.
#include "pagoline/core/HostControls.h"
#include "pagoline/core/Pagoline.h"

#include <QtDesigner/QDesignerComponents>
#include <QtDesigner/QDesignerContainerExtension>
#include <QtDesigner/QDesignerFormEditorInterface>
#include <QtDesigner/QDesignerFormWindowCursorInterface>
#include <QtDesigner/QDesignerFormWindowInterface>
#include <QtDesigner/QDesignerFormWindowManagerInterface>
#include <QtDesigner/QDesignerIntegration>
#include <QtDesigner/QDesignerTaskMenuExtension>
#include <QtDesigner/QExtensionManager>

#include <QAction>
#include <QBuffer>
#include <QDialog>
#include <QLineEdit>
#include <QMainWindow>
#include <QTimer>
#include <QUndoStack>
#include <QtTest>

namespace {

const char kForm[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<ui version="4.0">
 <class>Form</class>
 <widget class="QWidget" name="Form">
  <property name="geometry"><rect><x>0</x><y>0</y><width>400</width><height>300</height></rect></property>
  <widget class="Pagoline" name="MainTab">
   <property name="geometry"><rect><x>10</x><y>10</y><width>300</width><height>200</height></rect></property>
   <widget class="QWidget" name="page">
    <widget class="QLineEdit" name="txtName">
     <property name="geometry"><rect><x>10</x><y>10</y><width>100</width><height>22</height></rect></property>
    </widget>
   </widget>
   <widget class="QWidget" name="page_2"/>
   <widget class="QWidget" name="page_3"/>
  </widget>
 </widget>
 <customwidgets>
  <customwidget><class>Pagoline</class><extends>QWidget</extends><header>pagoline/core/Pagoline.h</header><container>1</container></customwidget>
 </customwidgets>
</ui>
)";

} // namespace

class DesignerHostTest : public QObject
{
    Q_OBJECT

private:
    QMainWindow m_window;
    QDesignerFormEditorInterface *m_core = nullptr;

    QDesignerFormWindowInterface *load(const QByteArray &ui)
    {
        QDesignerFormWindowInterface *form = m_core->formWindowManager()->createFormWindow(&m_window);
        QBuffer buffer;
        buffer.setData(ui);
        buffer.open(QIODevice::ReadOnly);
        QString error;
        if (!form->setContents(&buffer, &error))
            qWarning() << error;
        m_core->formWindowManager()->setActiveFormWindow(form);
        form->show();
        QCoreApplication::processEvents();
        return form;
    }

    template <typename T>
    T extension(QObject *object)
    {
        return qt_extension<T>(m_core->extensionManager(), object);
    }

private slots:
    void initTestCase()
    {
        // The build's plugin alone, not one installed into Qt's own plugin folder.
        QCoreApplication::setLibraryPaths({QStringLiteral(PAGOLINE_PLUGINS_DIR)});
        m_core = QDesignerComponents::createFormEditor(&m_window);
        QDesignerComponents::initializeResources();
        QDesignerComponents::initializePlugins(m_core);
        m_core->setTopLevel(&m_window);
        new QDesignerIntegration(m_core, &m_window);
        m_window.show();
    }

    void controlIsDesignedAndRoundTrips()
    {
        QDesignerFormWindowInterface *form = load(QByteArray(kForm));
        auto *control = form->mainContainer()->findChild<Pagoline *>(QStringLiteral("MainTab"));
        QVERIFY(control);
        QVERIFY(!control->UserMode());

        auto *pages = extension<QDesignerContainerExtension *>(control);
        QVERIFY(pages);
        QCOMPARE(pages->count(), 3);
        QCOMPARE(pages->currentIndex(), 2);
        QWidget *first = pages->widget(0);
        QVERIFY(first && first->findChild<QLineEdit *>(QStringLiteral("txtName")));
        QVERIFY(!PagolineHostControls::OnCurrentPage(*control, first));
        QVERIFY(PagolineHostControls::OnCurrentPage(*control, pages->widget(2)));

        auto *menu = extension<QDesignerTaskMenuExtension *>(control);
        QVERIFY(menu);
        QStringList actions;
        for (QAction *action : menu->taskActions())
            actions << action->text();
        QCOMPARE(actions, QStringList({QStringLiteral("Properties..."), QStringLiteral("About Pagoline...")}));

        // A click on the first tab turns the page, and the designer still selects the control.
        const CTab *tab = control->TabList().Item(1);
        const QPoint at((tab->ULx() + tab->LRx()) / 2, (tab->ULy() + tab->LRy()) / 2);
        QTest::mouseClick(control, Qt::LeftButton, Qt::NoModifier, at);
        QCOMPARE(control->Tab(), short(0));
        QVERIFY(PagolineHostControls::OnCurrentPage(*control, first));
        QCOMPARE(form->cursor()->selectedWidgetCount(), 1);
        QCOMPARE(form->cursor()->selectedWidget(0), control);
        QVERIFY(form->isDirty());

        // Design mode shows the message for no tabs at all.
        QStringList messages;
        control->setMessageHandler([&messages](const QString &, const QString &text) { messages << text; });
        control->setTabs(0);
        QCOMPARE(messages, QStringList(QStringLiteral("There must always be at least one tab.")));

        // A new tab gets a page of its own.
        control->setTabCaption(0, QStringLiteral("&Eins"));
        control->setTabs(4);
        QCOMPARE(pages->count(), 4);
        QVERIFY(pages->widget(3));
        QVERIFY(pages->widget(3) != pages->widget(2));

        const QByteArray saved = form->contents().toUtf8();
        QVERIFY(saved.contains("PropertyBagContents"));
        QDesignerFormWindowInterface *again = load(saved);
        auto *copy = again->mainContainer()->findChild<Pagoline *>(QStringLiteral("MainTab"));
        QVERIFY(copy);
        QCOMPARE(copy->Tabs(), short(4));
        QCOMPARE(copy->Tab(), short(0));
        QCOMPARE(copy->TabCaption(0), QStringLiteral("&Eins"));
        auto *copiedPages = extension<QDesignerContainerExtension *>(copy);
        QCOMPARE(copiedPages->count(), 4);
        QVERIFY(copiedPages->widget(0)->findChild<QLineEdit *>(QStringLiteral("txtName")));
        QVERIFY(PagolineHostControls::OnCurrentPage(*copy, copiedPages->widget(0)));
        for (int i = 1; i < 4; ++i)
            QVERIFY(!PagolineHostControls::OnCurrentPage(*copy, copiedPages->widget(i)));
        QCOMPARE(copiedPages->widget(0)->geometry(), copy->PageRect());
    }

    void pageChangesUndoOnTheFormsStack()
    {
        QDesignerFormWindowInterface *form = load(QByteArray(kForm));
        auto *control = form->mainContainer()->findChild<Pagoline *>(QStringLiteral("MainTab"));
        QVERIFY(control);
        auto *pages = extension<QDesignerContainerExtension *>(control);
        QUndoStack *history = form->commandHistory();
        const int start = history->count();
        QWidget *first = pages->widget(0);

        // A click on a tab is a step of its own.
        const CTab *tab = control->TabList().Item(1);
        QTest::mouseClick(control, Qt::LeftButton, Qt::NoModifier,
                          QPoint((tab->ULx() + tab->LRx()) / 2, (tab->ULy() + tab->LRy()) / 2));
        QCOMPARE(control->Tab(), short(0));
        QCOMPARE(history->count(), start + 1);

        // The property page adds a tab and its page, and changes a caption, in one step.
        auto *menu = extension<QDesignerTaskMenuExtension *>(control);
        QTimer::singleShot(0, [] {
            auto *page = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            QVERIFY(page);
            page->findChild<QLineEdit *>(QStringLiteral("txtTabCount"))->setText(QStringLiteral("4"));
            page->findChild<QLineEdit *>(QStringLiteral("txtTabCaption"))->setText(QStringLiteral("Erste"));
            page->accept();
        });
        menu->preferredEditAction()->trigger();
        QCOMPARE(control->Tabs(), short(4));
        QCOMPARE(control->TabCaption(0), QStringLiteral("Erste"));
        QCOMPARE(pages->count(), 4);
        QPointer<QWidget> added = pages->widget(3);
        QVERIFY(added);
        QCOMPARE(history->count(), start + 2);

        // Undo takes back the added page and the caption, then the page change.
        history->undo();
        QCOMPARE(control->Tabs(), short(3));
        QCOMPARE(control->TabCaption(0), QStringLiteral("Tab 0"));
        QCOMPARE(pages->count(), 3);
        QVERIFY(added && added->parentWidget() != control);
        QVERIFY(!form->mainContainer()->findChildren<QWidget *>().contains(added.data()));
        history->undo();
        QCOMPARE(control->Tab(), short(2));
        QVERIFY(!PagolineHostControls::OnCurrentPage(*control, first));
        QVERIFY(PagolineHostControls::OnCurrentPage(*control, pages->widget(2)));

        // Redo brings both back, the same page widget included.
        history->redo();
        history->redo();
        QCOMPARE(control->Tab(), short(0));
        QVERIFY(PagolineHostControls::OnCurrentPage(*control, first));
        QCOMPARE(control->Tabs(), short(4));
        QCOMPARE(pages->widget(3), added.data());
        QCOMPARE(added->parentWidget(), control);
        QVERIFY(!PagolineHostControls::OnCurrentPage(*control, added));
    }
};

QTEST_MAIN(DesignerHostTest)
#include "tst_designerhost.moc"
