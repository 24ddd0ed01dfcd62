#include "pagoline/designer/PagolineFormCommand.h"

#include "pagoline/core/HostControls.h"
#include "pagoline/core/Pagoline.h"

#include <QtDesigner/QDesignerFormWindowInterface>

#include <QSet>
#include <QUndoStack>
#include <QWidget>

#include <algorithm>

namespace {

bool samePage(const PagolineFormCommand::Page &a, const PagolineFormCommand::Page &b)
{
    return a.widget == b.widget && a.geometry == b.geometry && a.hidden == b.hidden
        && a.focusPolicy == b.focusPolicy && a.hiddenByShift == b.hiddenByShift;
}

bool holds(const PagolineFormCommand::State &state, const QWidget *widget)
{
    return std::any_of(state.pages.begin(), state.pages.end(),
                       [widget](const PagolineFormCommand::Page &page) { return page.widget == widget; });
}

} // namespace

bool PagolineFormCommand::State::operator==(const State &other) const
{
    return contents == other.contents && geometry == other.geometry
        && std::equal(pages.begin(), pages.end(), other.pages.begin(), other.pages.end(), samePage);
}

PagolineFormCommand::State PagolineFormCommand::Capture(const Pagoline &control)
{
    State state;
    state.contents = control.PropertyBagContents();
    state.geometry = control.geometry();
    const char *mark = PagolineHostControls::HiddenByShiftProperty();
    for (QWidget *widget : PagolineHostControls::HostControls(control))
        state.pages.append({widget, widget->geometry(), widget->isHidden(), widget->focusPolicy(), widget->property(mark)});
    return state;
}

void PagolineFormCommand::Record(QDesignerFormWindowInterface *form, Pagoline *control, const QString &text,
                                 const std::function<void()> &change)
{
    if (!form || !control) {
        change();
        return;
    }
    State before = Capture(*control);
    change();
    if (!control)
        return;
    State after = Capture(*control);
    if (before == after)
        return;
    form->commandHistory()->push(new PagolineFormCommand(form, control, text, std::move(before), std::move(after)));
}

PagolineFormCommand::PagolineFormCommand(QDesignerFormWindowInterface *form, Pagoline *control, const QString &text,
                                         State before, State after)
    : QUndoCommand(text), m_form(form), m_control(control), m_before(std::move(before)), m_after(std::move(after))
{
}

PagolineFormCommand::~PagolineFormCommand()
{
    // Pages that are off the form when the command goes are the command's.
    QSet<QWidget *> detached;
    for (const State *state : {&m_before, &m_after}) {
        for (const Page &page : state->pages) {
            if (page.widget && !page.widget->parentWidget())
                detached.insert(page.widget);
        }
    }
    qDeleteAll(detached);
}

void PagolineFormCommand::undo()
{
    apply(m_before);
}

void PagolineFormCommand::redo()
{
    if (m_done) {
        m_done = false;
        return;
    }
    apply(m_after);
}

void PagolineFormCommand::apply(const State &target)
{
    if (!m_form || !m_control)
        return;
    Pagoline &control = *m_control;
    for (QWidget *widget : PagolineHostControls::HostControls(control)) {
        if (holds(target, widget) || !(holds(m_before, widget) || holds(m_after, widget)))
            continue;
        m_form->unmanageWidget(widget);
        widget->hide();
        widget->setParent(nullptr);
    }
    for (const Page &page : target.pages) {
        if (page.widget && page.widget->parentWidget() != &control) {
            page.widget->setParent(&control);
            m_form->manageWidget(page.widget);
        }
    }
    control.setPropertyBagContents(target.contents);
    control.setGeometry(target.geometry);
    const char *mark = PagolineHostControls::HiddenByShiftProperty();
    for (const Page &page : target.pages) {
        if (!page.widget)
            continue;
        page.widget->setGeometry(page.geometry);
        page.widget->setFocusPolicy(page.focusPolicy);
        page.widget->setProperty(mark, page.hiddenByShift);
        page.widget->setVisible(!page.hidden);
    }
    m_form->setDirty(true);
    m_form->emitSelectionChanged();
}
