#pragma once

#include "pagoline/core/PagolineGlobal.h"

#include <QList>

class CTab;
class Pagoline;
class QWidget;

// The controls a host placed directly on the control, and how they are kept on their
// own pages: those of the pages not on show stay 75000 host units to the left, with
// their tab stop off, and hidden so that the focus cannot reach them.
//
// A host control's Name is its objectName; a member of a control array carries its
// index in the dynamic property "Index" (int); its tab stop is Qt::TabFocus in its
// focus policy.
class PAGOLINE_EXPORT PagolineHostControls
{
public:
    [[nodiscard]] static QList<QWidget *> HostControls(const Pagoline &control);
    // -1 when the widget is not a control-array member.
    [[nodiscard]] static int ControlIndex(const QWidget *widget);
    [[nodiscard]] static bool TabStop(const QWidget *widget);
    static void SetTabStop(QWidget *widget, bool tabStop);
    // Left position in host units.
    [[nodiscard]] static double Left(const Pagoline &control, const QWidget *widget);
    [[nodiscard]] static bool OnCurrentPage(const Pagoline &control, const QWidget *widget);

    static void LeavePage(Pagoline &control);
    static void EnterPage(Pagoline &control, CTab &tab);
    // Moves off the page every control recorded on a tab other than the current one that
    // still stands on the page.
    static void PlaceRecorded(Pagoline &control);

    // One container widget per page, the way a form designer builds the pages: the page
    // of a tab is the first control recorded on it, or for the current tab the first
    // control on the page; nullptr when it has none.
    [[nodiscard]] static QWidget *PageOf(const Pagoline &control, const CTab &tab);
    // The tab whose records name widget, nullptr when none does.
    [[nodiscard]] static CTab *RecordedTab(const Pagoline &control, const QWidget *widget);
    // Makes widget the page of tab: it fills the page and, unless tab is current, is
    // recorded on tab and kept off the page.
    static void AssignPage(Pagoline &control, QWidget *widget, CTab &tab);
    // The dynamic property that marks a control hidden because it was moved off its page.
    [[nodiscard]] static const char *HiddenByShiftProperty();

private:
    static void shift(Pagoline &control, QWidget *widget, int hostUnits);
    static void tidy(Pagoline &control, CTab &current);
};
