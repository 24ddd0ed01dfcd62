#include "pagoline/designer/PagolineDesignerExtensions.h"

#include "pagoline/designer/PagolineFormCommand.h"

#include "pagoline/core/HostControls.h"
#include "pagoline/core/PGeneral.h"
#include "pagoline/core/Pagoline.h"

#include <QtDesigner/QDesignerFormWindowInterface>

#include <QAction>

PagolineContainerExtension::PagolineContainerExtension(Pagoline *control, QObject *parent)
    : QObject(parent), m_control(control)
{
}

int PagolineContainerExtension::count() const
{
    return m_control ? m_control->Tabs() : 0;
}

QWidget *PagolineContainerExtension::widget(int index) const
{
    const CTab *tab = m_control ? m_control->TabList().Item(index + 1) : nullptr;
    return tab ? PagolineHostControls::PageOf(*m_control, *tab) : nullptr;
}

int PagolineContainerExtension::currentIndex() const
{
    return m_control ? m_control->Tab() : -1;
}

void PagolineContainerExtension::setCurrentIndex(int index)
{
    if (m_control)
        m_control->setTab(short(index));
}

// A page that a tab's records name goes back to that tab (a form being loaded); any
// other goes to the first tab without a page, or to a new tab at the end.
void PagolineContainerExtension::addWidget(QWidget *page)
{
    if (!m_control || !page)
        return;
    Pagoline &control = *m_control;
    CTab *target = PagolineHostControls::RecordedTab(control, page);
    for (const auto &tab : control.TabList()) {
        if (target)
            break;
        QWidget *existing = PagolineHostControls::PageOf(control, *tab);
        if (!existing || existing == page)
            target = tab.get();
    }
    if (!target) {
        control.InsertTab(control.Tabs());
        target = control.TabList().Item(control.Tabs());
    }
    PagolineHostControls::AssignPage(control, page, *target);
}

void PagolineContainerExtension::insertWidget(int index, QWidget *page)
{
    if (!m_control || !page)
        return;
    if (index < 0 || index >= m_control->Tabs()) {
        addWidget(page);
        return;
    }
    m_control->InsertTab(short(index));
    PagolineHostControls::AssignPage(*m_control, page, *m_control->TabList().Item(index + 1));
}

bool PagolineContainerExtension::canRemove(int index) const
{
    // The control always keeps one tab.
    return m_control && m_control->Tabs() > 1 && index >= 0 && index < m_control->Tabs();
}

void PagolineContainerExtension::remove(int index)
{
    if (canRemove(index))
        m_control->RemoveTab(short(index));
}

PagolineTaskMenu::PagolineTaskMenu(Pagoline *control, QObject *parent)
    : QObject(parent), m_control(control), m_properties(new QAction(QStringLiteral("Properties..."), this)),
      m_about(new QAction(QStringLiteral("About Pagoline..."), this))
{
    connect(m_properties, &QAction::triggered, this, &PagolineTaskMenu::showPropertyPage);
    connect(m_about, &QAction::triggered, this, [this] {
        if (m_control)
            m_control->AboutBox();
    });
}

QList<QAction *> PagolineTaskMenu::taskActions() const
{
    return {m_properties, m_about};
}

void PagolineTaskMenu::showPropertyPage()
{
    if (!m_control)
        return;
    PGeneral page(m_control->window());
    page.SelectionChanged({m_control.data()});
    // Everything the page applies, pages it adds included, is one step to undo.
    PagolineFormCommand::Record(QDesignerFormWindowInterface::findFormWindow(m_control), m_control,
                                QStringLiteral("Change Pagoline properties"), [&page] { page.exec(); });
}

PagolineExtensionFactory::PagolineExtensionFactory(QExtensionManager *parent) : QExtensionFactory(parent) {}

QObject *PagolineExtensionFactory::createExtension(QObject *object, const QString &iid, QObject *parent) const
{
    auto *control = qobject_cast<Pagoline *>(object);
    if (!control)
        return nullptr;
    if (iid == Q_TYPEID(QDesignerContainerExtension))
        return new PagolineContainerExtension(control, parent);
    if (iid == Q_TYPEID(QDesignerTaskMenuExtension))
        return new PagolineTaskMenu(control, parent);
    return nullptr;
}
