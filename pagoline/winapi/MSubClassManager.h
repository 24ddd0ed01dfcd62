#pragma once

#include "pagoline/core/PagolineGlobal.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

class QEvent;
class QKeyEvent;

// Window subclassing and thread keyboard hooks, made of Qt event filters.
//
// A chain of procedures is attached to a widget as one event filter (the root). Each
// event is offered to the procedures, the most recently added first; one that sets
// MessageConsumed on gobjWindow() stops the event there. When none does, the event
// goes on to the widget's own handling, which is always the last member of the chain.
//
// A keyboard hook is an application event filter that sees every key event addressed
// to the widget with the input focus before that widget does.

// A procedure in a chain; returns the message result (0 when it has none).
using WindowProc = std::function<qintptr(QObject *watched, QEvent *event)>;

class PAGOLINE_EXPORT CWindow
{
public:
    WindowProc pWindowProc;    // empty for the widget's own handling
    QPointer<QObject> Object;  // the owner of the procedure
    bool MessageConsumed = false;
    bool Removed = false; // unhooked while a message was on its way through the chain

    [[nodiscard]] bool IsOriginalWindowProc() const { return !pWindowProc; }
    qintptr CallProc(QObject *watched, QEvent *event);
};

struct PAGOLINE_EXPORT ChainResult
{
    bool consumed = false;
    qintptr result = 0;
};

class PAGOLINE_EXPORT CChain : public QObject
{
public:
    CChain() = default;
    ~CChain() override;

    struct HookResult
    {
        QString key;   // empty on failure
        QString error; // "Invalid parameter." or "Window handle conflict."
    };
    [[nodiscard]] HookResult Hook(QWidget *hWnd, WindowProc procedure, QObject *owner);
    // Removes the procedure under key and clears key; false for an unknown key.
    bool Unhook(QString &key);
    [[nodiscard]] int Count() const { return static_cast<int>(m_windows.size()); }
    // 1-based, in calling order; nullptr outside 1..Count.
    [[nodiscard]] CWindow *Item(int index) const;

    // Offers the event to the procedures in order, as the root does. A procedure may
    // unhook members, or destroy the widget, while it runs.
    ChainResult Dispatch(QObject *watched, QEvent *event);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Member
    {
        QString key;
        std::shared_ptr<CWindow> window;
    };
    void restoreOriginal();

    QPointer<QWidget> m_hWnd;
    std::vector<Member> m_windows;
    int m_counter = 0;
};

// One keyboard hook; the procedure returns true when it consumes the key.
using KeyHookProc = std::function<bool(QObject *receiver, QKeyEvent *event)>;

struct PAGOLINE_EXPORT CKeyHookedCtrl
{
    int hHook = 0;
    QPointer<QWidget> hWnd;
    KeyHookProc procedure;
};

namespace MSubClassManager {

// Adds procedure to the chain of hWnd and returns its key; empty (with error set) when
// hWnd is null.
[[nodiscard]] PAGOLINE_EXPORT QString Subclass(QWidget *hWnd, WindowProc procedure, QObject *owner,
                                               QString *error = nullptr);
PAGOLINE_EXPORT bool Unsubclass(QString &key);
// The chain of hWnd, nullptr when it is not subclassed.
[[nodiscard]] PAGOLINE_EXPORT CChain *ChainOf(const QWidget *hWnd);
// The member whose procedure is running.
[[nodiscard]] PAGOLINE_EXPORT CWindow *gobjWindow();

// Delivers event to target as a sent message: through its chain and, unless consumed
// there, the widget's own event handling, without application filters, shortcuts or
// propagation to parents. Returns the chain's result.
PAGOLINE_EXPORT qintptr SendMessage(QWidget *target, QEvent *event);

// 0 when hWnd is already hooked.
[[nodiscard]] PAGOLINE_EXPORT int HookKeyboard(KeyHookProc procedure, QWidget *hWnd);
// Sets hHook to 0 once the hook is removed.
PAGOLINE_EXPORT void UnhookKeyboard(int &hHook);
[[nodiscard]] PAGOLINE_EXPORT QList<QWidget *> HookedControls();
[[nodiscard]] PAGOLINE_EXPORT int HookOf(const QWidget *hWnd);
[[nodiscard]] PAGOLINE_EXPORT int LastHook();

} // namespace MSubClassManager
