#include "pagoline/designer/PagolinePlugin.h"

#include "pagoline/core/HostControls.h"
#include "pagoline/core/Pagoline.h"
#include "pagoline/designer/PagolineDesignerExtensions.h"
#include "pagoline/designer/PagolineFormCommand.h"

#include <QtDesigner/QDesignerFormEditorInterface>
#include <QtDesigner/QDesignerFormWindowInterface>
#include <QtDesigner/QDesignerPropertySheetExtension>
#include <QtDesigner/QDesignerWidgetFactoryInterface>
#include <QtDesigner/QExtensionManager>

#include <QApplication>
#include <QIcon>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QTimer>

PagolinePlugin::PagolinePlugin(QObject *parent) : QObject(parent) {}

QString PagolinePlugin::whatsThis() const
{
    return QStringLiteral("A tabbed-dialog control with Unicode captions. Drop widgets on a page; they belong "
                          "to the tab that is current. Its context menu opens its property page.");
}

QIcon PagolinePlugin::icon() const
{
    QPixmap picture(22, 22);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setPen(Qt::black);
    painter.setBrush(QColor(192, 192, 192));
    painter.drawRect(1, 7, 19, 13);
    painter.drawRect(1, 2, 7, 5);
    painter.drawRect(8, 3, 7, 4);
    return QIcon(picture);
}

QString PagolinePlugin::domXml() const
{
    // A new control: 2640 x 2085 twips, three tabs with a page each.
    return QStringLiteral(
        "<ui language=\"c++\">\n"
        " <widget class=\"Pagoline\" name=\"pagoline\">\n"
        "  <property name=\"geometry\"><rect><x>0</x><y>0</y><width>176</width><height>139</height></rect></property>\n"
        "  <widget class=\"QWidget\" name=\"page\"/>\n"
        "  <widget class=\"QWidget\" name=\"page_2\"/>\n"
        "  <widget class=\"QWidget\" name=\"page_3\"/>\n"
        " </widget>\n"
        " <customwidgets>\n"
        "  <customwidget>\n"
        "   <class>Pagoline</class>\n"
        "   <extends>QWidget</extends>\n"
        "   <header>pagoline/core/Pagoline.h</header>\n"
        "   <container>1</container>\n"
        "  </customwidget>\n"
        " </customwidgets>\n"
        "</ui>\n");
}

void PagolinePlugin::initialize(QDesignerFormEditorInterface *core)
{
    if (m_core || !core)
        return;
    m_core = core;
    QExtensionManager *manager = core->extensionManager();
    auto *factory = new PagolineExtensionFactory(manager);
    manager->registerExtensions(factory, Q_TYPEID(QDesignerContainerExtension));
    manager->registerExtensions(factory, Q_TYPEID(QDesignerTaskMenuExtension));
    // Sees a click before the designer's own handling takes it for selecting.
    qApp->installEventFilter(this);
}

QWidget *PagolinePlugin::createWidget(QWidget *parent)
{
    auto *control = new Pagoline(parent);
    if (!m_core)
        return control;
    control->setUserMode(false);
    // Whether the control sits on a form being designed is known once it is placed;
    // a preview or a loader's copy runs.
    QTimer::singleShot(0, control, [this, control] {
        if (QDesignerFormWindowInterface::findFormWindow(control))
            adopt(control);
        else
            control->setUserMode(true);
    });
    return control;
}

void PagolinePlugin::adopt(Pagoline *control)
{
    control->setMessageHandler(nullptr);
    connect(control, &Pagoline::PropertyChanged, this,
            [this, control](const QString &name) { stateChanged(control, name); });
    stateChanged(control, QString());
}

// The saved state follows every change, and each tab keeps a page of its own.
void PagolinePlugin::stateChanged(Pagoline *control, const QString &name)
{
    QDesignerFormWindowInterface *form = QDesignerFormWindowInterface::findFormWindow(control);
    if (!form)
        return;
    if (name == QLatin1String("Tabs"))
        ensurePages(control);
    placePages(control);
    auto *sheet = qt_extension<QDesignerPropertySheetExtension *>(m_core->extensionManager(), control);
    if (sheet) {
        const int index = sheet->indexOf(QStringLiteral("PropertyBagContents"));
        if (index >= 0)
            sheet->setChanged(index, true);
    }
    if (!name.isEmpty())
        form->setDirty(true);
}

void PagolinePlugin::ensurePages(Pagoline *control)
{
    QDesignerFormWindowInterface *form = QDesignerFormWindowInterface::findFormWindow(control);
    if (!form)
        return;
    for (const auto &tab : control->TabList()) {
        if (PagolineHostControls::PageOf(*control, *tab))
            continue;
        QWidget *page = m_core->widgetFactory()->createWidget(QStringLiteral("QWidget"), control);
        page->setObjectName(QStringLiteral("page"));
        form->ensureUniqueObjectName(page);
        PagolineHostControls::AssignPage(*control, page, *tab);
        form->manageWidget(page);
    }
}

// Every page fills the inside of the page border, which moves with the size and the rows.
void PagolinePlugin::placePages(Pagoline *control)
{
    for (const auto &tab : control->TabList()) {
        if (QWidget *page = PagolineHostControls::PageOf(*control, *tab))
            control->PlaceHostControl(page, control->PageRect());
    }
}

bool PagolinePlugin::eventFilter(QObject *watched, QEvent *event)
{
    // Every event of the designer passes here: the cheap test first.
    if (event->type() != QEvent::Resize && event->type() != QEvent::MouseButtonPress)
        return false;
    auto *control = qobject_cast<Pagoline *>(watched);
    if (control && event->type() == QEvent::Resize && !control->UserMode()
        && QDesignerFormWindowInterface::findFormWindow(control)) {
        placePages(control);
        return false;
    }
    if (event->type() != QEvent::MouseButtonPress)
        return false;
    auto *mouse = static_cast<QMouseEvent *>(event);
    if (!control || control->UserMode() || mouse->button() != Qt::LeftButton)
        return false;
    const QPoint at = mouse->position().toPoint();
    const int hit = control->HitTest(at.x(), at.y());
    if (hit > 0 && hit - 1 != control->Tab()) {
        QDesignerFormWindowInterface *form = QDesignerFormWindowInterface::findFormWindow(control);
        PagolineFormCommand::Record(form, control, QStringLiteral("Change Pagoline page"),
                                    [control, hit] { control->setTab(short(hit - 1)); });
        if (form)
            form->emitSelectionChanged();
    }
    // The designer goes on to select the control and lets it be dragged.
    return false;
}
