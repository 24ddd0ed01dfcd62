#include "pagoline/core/HostControls.h"

#include "pagoline/core/Pagoline.h"

#include <QVariant>
#include <QWidget>

#include <algorithm>

namespace {

// Set on a control that was visible when it was moved off its page.
const char *const kHiddenByShift = "_pagolineHiddenByShift";

bool matches(const CControl &record, const QWidget *widget)
{
    const int index = PagolineHostControls::ControlIndex(widget);
    return record.Name == widget->objectName() && (record.Index == index || index == -1);
}

} // namespace

const char *PagolineHostControls::HiddenByShiftProperty()
{
    return kHiddenByShift;
}

QList<QWidget *> PagolineHostControls::HostControls(const Pagoline &control)
{
    QList<QWidget *> out;
    for (QObject *child : control.children()) {
        auto *widget = qobject_cast<QWidget *>(child);
        if (widget && !widget->isWindow())
            out.append(widget);
    }
    return out;
}

int PagolineHostControls::ControlIndex(const QWidget *widget)
{
    bool ok = false;
    const int index = widget->property("Index").toInt(&ok);
    return ok ? index : -1;
}

bool PagolineHostControls::TabStop(const QWidget *widget)
{
    return (widget->focusPolicy() & Qt::TabFocus) != 0;
}

void PagolineHostControls::SetTabStop(QWidget *widget, bool tabStop)
{
    const int policy = widget->focusPolicy();
    widget->setFocusPolicy(Qt::FocusPolicy(tabStop ? (policy | Qt::TabFocus) : (policy & ~Qt::TabFocus)));
}

double PagolineHostControls::Left(const Pagoline &control, const QWidget *widget)
{
    return control.PixelsToHost(widget->x());
}

bool PagolineHostControls::OnCurrentPage(const Pagoline &control, const QWidget *widget)
{
    return Left(control, widget) > Pagoline::kOffPageThreshold;
}

void PagolineHostControls::shift(Pagoline &control, QWidget *widget, int hostUnits)
{
    const int x = control.HostToPixels(Left(control, widget) + hostUnits);
    widget->move(x, widget->y());
    if (hostUnits < 0 && widget->isVisibleTo(&control)) {
        widget->setProperty(kHiddenByShift, true);
        widget->hide();
    } else if (hostUnits > 0 && widget->property(kHiddenByShift).toBool()) {
        widget->setProperty(kHiddenByShift, QVariant());
        widget->show();
    }
}

void PagolineHostControls::LeavePage(Pagoline &control)
{
    CTab *current = control.CurrentTab();
    if (!current || control.DontShiftControls())
        return;
    current->ContainedControls.clear();
    for (QWidget *widget : HostControls(control)) {
        if (!OnCurrentPage(control, widget))
            continue;
        current->ContainedControls.append({widget->objectName(), TabStop(widget), ControlIndex(widget)});
        SetTabStop(widget, false);
        shift(control, widget, -Pagoline::kShiftOffset);
    }
    tidy(control, *current);
}

void PagolineHostControls::tidy(Pagoline &control, CTab &current)
{
    const QList<QWidget *> controls = HostControls(control);
    // A control that could not be moved stays on every page, so it belongs to none.
    for (QWidget *widget : controls) {
        if (!OnCurrentPage(control, widget))
            continue;
        current.ContainedControls.removeIf([&](const CControl &record) {
            return record.Name == widget->objectName() && record.Index == ControlIndex(widget);
        });
    }
    // A control that became an array member keeps the page recorded under its bare name.
    for (QWidget *widget : controls) {
        const int index = ControlIndex(widget);
        const bool recorded = std::any_of(current.ContainedControls.begin(), current.ContainedControls.end(),
                                          [&](const CControl &r) {
                                              return r.Name == widget->objectName() && r.Index == index;
                                          });
        if (recorded)
            continue;
        for (const auto &tab : control.TabList()) {
            if (tab.get() == &current)
                continue;
            for (CControl &record : tab->ContainedControls) {
                if (record.Name == widget->objectName() && record.Index == -1)
                    record.Index = index;
            }
        }
    }
}

void PagolineHostControls::EnterPage(Pagoline &control, CTab &tab)
{
    if (control.DontShiftControls())
        return;
    control.m_shifting = true;
    const QList<QWidget *> controls = HostControls(control);
    for (const CControl &record : tab.ContainedControls) {
        for (QWidget *widget : controls) {
            // A control already on the page is not pushed off to the right.
            if (!matches(record, widget) || OnCurrentPage(control, widget))
                continue;
            SetTabStop(widget, record.TabStop);
            shift(control, widget, Pagoline::kShiftOffset);
            break;
        }
    }
    control.m_shifting = false;
}

void PagolineHostControls::PlaceRecorded(Pagoline &control)
{
    if (control.DontShiftControls())
        return;
    const CTab *current = control.CurrentTab();
    const QList<QWidget *> controls = HostControls(control);
    for (const auto &tab : control.TabList()) {
        if (tab.get() == current)
            continue;
        for (const CControl &record : tab->ContainedControls) {
            for (QWidget *widget : controls) {
                if (!matches(record, widget))
                    continue;
                if (OnCurrentPage(control, widget)) {
                    SetTabStop(widget, false);
                    shift(control, widget, -Pagoline::kShiftOffset);
                } else if (widget->isVisibleTo(&control)) {
                    // Loaded already off its page (a form file keeps the places): hidden
                    // too, so that the focus cannot reach the widgets inside it.
                    widget->setProperty(kHiddenByShift, true);
                    widget->hide();
                }
                break;
            }
        }
    }
}

QWidget *PagolineHostControls::PageOf(const Pagoline &control, const CTab &tab)
{
    const QList<QWidget *> controls = HostControls(control);
    if (&tab == control.CurrentTab()) {
        for (QWidget *widget : controls) {
            if (OnCurrentPage(control, widget))
                return widget;
        }
        return nullptr;
    }
    for (const CControl &record : tab.ContainedControls) {
        for (QWidget *widget : controls) {
            if (matches(record, widget))
                return widget;
        }
    }
    return nullptr;
}

CTab *PagolineHostControls::RecordedTab(const Pagoline &control, const QWidget *widget)
{
    for (const auto &tab : control.TabList()) {
        for (const CControl &record : tab->ContainedControls) {
            if (matches(record, widget))
                return tab.get();
        }
    }
    return nullptr;
}

void PagolineHostControls::AssignPage(Pagoline &control, QWidget *widget, CTab &tab)
{
    if (!widget)
        return;
    if (widget->parentWidget() != &control)
        widget->setParent(&control);
    const bool current = &tab == control.CurrentTab();
    // Off its page it keeps its place there, so that it comes back to the page's inside.
    widget->setGeometry(control.PageRect());
    if (current) {
        widget->show();
        return;
    }
    const bool recorded = std::any_of(tab.ContainedControls.begin(), tab.ContainedControls.end(),
                                      [widget](const CControl &record) { return matches(record, widget); });
    if (!recorded)
        tab.ContainedControls.append({widget->objectName(), TabStop(widget), ControlIndex(widget)});
    SetTabStop(widget, false);
    widget->show();
    shift(control, widget, -Pagoline::kShiftOffset);
}
