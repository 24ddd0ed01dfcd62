#pragma once

#include <QList>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QUndoCommand>
#include <QVariant>

#include <functional>

class Pagoline;
class QDesignerFormWindowInterface;
class QWidget;

// One change of a Pagoline on a form being designed, on the form's undo stack: the
// control's whole state and its pages before and after. Undo puts the state back, and a
// page the change added leaves the form (it is kept by the command until it comes back
// or the command goes).
class PagolineFormCommand : public QUndoCommand
{
public:
    struct Page
    {
        QPointer<QWidget> widget;
        QRect geometry;
        bool hidden = false;
        Qt::FocusPolicy focusPolicy = Qt::NoFocus;
        QVariant hiddenByShift;
    };
    struct State
    {
        QString contents;
        QRect geometry;
        QList<Page> pages;
        bool operator==(const State &other) const;
    };

    [[nodiscard]] static State Capture(const Pagoline &control);
    // Runs change on control and, when it changed the control or its pages, puts the
    // change on form's undo stack as one step named text.
    static void Record(QDesignerFormWindowInterface *form, Pagoline *control, const QString &text,
                       const std::function<void()> &change);

    PagolineFormCommand(QDesignerFormWindowInterface *form, Pagoline *control, const QString &text, State before,
                        State after);
    ~PagolineFormCommand() override;
    PagolineFormCommand(const PagolineFormCommand &) = delete;
    PagolineFormCommand &operator=(const PagolineFormCommand &) = delete;

    void undo() override;
    void redo() override;

private:
    void apply(const State &target);

    QPointer<QDesignerFormWindowInterface> m_form;
    QPointer<Pagoline> m_control;
    State m_before;
    State m_after;
    bool m_done = true; // pushed after the change was made
};
