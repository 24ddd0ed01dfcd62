#include "pagoline/winapi/MSubClassManager.h"

#include <QApplication>
#include <QHash>
#include <QKeyEvent>

namespace {

CWindow *g_current = nullptr;
int g_hookCounter = 0;

QString handleText(const QWidget *hWnd)
{
    return QString::number(quintptr(hWnd));
}

QHash<QString, CChain *> &chains()
{
    static QHash<QString, CChain *> all;
    return all;
}

QHash<QString, QString> &keyMap()
{
    static QHash<QString, QString> map;
    return map;
}

std::vector<CKeyHookedCtrl> &hooks()
{
    static std::vector<CKeyHookedCtrl> all;
    return all;
}

// Stands in for the thread keyboard hook: sees key events bound for the focus widget.
class KeyboardHookFilter : public QObject
{
public:
    static KeyboardHookFilter &instance()
    {
        static KeyboardHookFilter filter;
        return filter;
    }

protected:
    bool eventFilter(QObject *receiver, QEvent *event) override
    {
        const QEvent::Type type = event->type();
        if (type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::ShortcutOverride)
            return false;
        // Events passed on to parents are not new key strokes.
        if (receiver != QApplication::focusObject())
            return false;
        auto *key = static_cast<QKeyEvent *>(event);
        // The most recently installed hook runs first, as the platform calls them.
        const std::vector<CKeyHookedCtrl> snapshot = hooks();
        for (auto it = snapshot.rbegin(); it != snapshot.rend(); ++it) {
            if (it->procedure && it->procedure(receiver, key))
                return true;
        }
        return false;
    }
};

void dropChain(const QString &chainKey)
{
    CChain *chain = chains().take(chainKey);
    delete chain;
}

} // namespace

qintptr CWindow::CallProc(QObject *watched, QEvent *event)
{
    return pWindowProc ? pWindowProc(watched, event) : 0;
}

CChain::~CChain()
{
    restoreOriginal();
}

CChain::HookResult CChain::Hook(QWidget *hWnd, WindowProc procedure, QObject *owner)
{
    if (!hWnd)
        return {{}, QStringLiteral("Invalid parameter.")};
    if (m_windows.empty()) {
        m_hWnd = hWnd;
        hWnd->installEventFilter(this);
        m_windows.push_back({QString(), std::make_shared<CWindow>()});
    } else if (m_hWnd != hWnd) {
        return {{}, QStringLiteral("Window handle conflict.")};
    }
    ++m_counter;
    const QString key = QStringLiteral("w_%1_%2").arg(handleText(hWnd)).arg(m_counter);
    auto window = std::make_shared<CWindow>();
    window->pWindowProc = std::move(procedure);
    window->Object = owner;
    m_windows.insert(m_windows.begin(), {key, std::move(window)});
    return {key, {}};
}

bool CChain::Unhook(QString &key)
{
    for (auto it = m_windows.begin(); it != m_windows.end(); ++it) {
        if (!key.isEmpty() && it->key == key) {
            it->window->Removed = true;
            m_windows.erase(it);
            if (m_windows.size() == 1)
                restoreOriginal();
            key.clear();
            return true;
        }
    }
    return false;
}

void CChain::restoreOriginal()
{
    if (m_hWnd)
        m_hWnd->removeEventFilter(this);
    for (Member &member : m_windows)
        member.window->Removed = true;
    m_windows.clear();
}

CWindow *CChain::Item(int index) const
{
    if (index < 1 || index > Count())
        return nullptr;
    return m_windows[index - 1].window.get();
}

ChainResult CChain::Dispatch(QObject *watched, QEvent *event)
{
    // The walk keeps its own references: nothing of the chain is touched once a
    // procedure has run, as the procedure may have unhooked members or ended the chain.
    std::vector<std::shared_ptr<CWindow>> members;
    members.reserve(m_windows.size());
    for (const Member &member : m_windows)
        members.push_back(member.window);
    ChainResult outcome;
    CWindow *outer = g_current;
    for (const std::shared_ptr<CWindow> &window : members) {
        if (window->IsOriginalWindowProc())
            break;
        if (window->Removed)
            continue;
        g_current = window.get();
        window->MessageConsumed = false;
        outcome.result = window->CallProc(watched, event);
        if (window->MessageConsumed) {
            outcome.consumed = true;
            break;
        }
    }
    g_current = outer;
    if (!outcome.consumed)
        outcome.result = 0;
    return outcome;
}

bool CChain::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_hWnd)
        return false;
    return Dispatch(watched, event).consumed;
}

namespace MSubClassManager {

QString Subclass(QWidget *hWnd, WindowProc procedure, QObject *owner, QString *error)
{
    if (!hWnd) {
        if (error)
            *error = QStringLiteral("Invalid parameter.");
        return {};
    }
    const QString chainKey = QStringLiteral("c_") + handleText(hWnd);
    CChain *chain = chains().value(chainKey);
    if (!chain) {
        chain = new CChain;
        chains().insert(chainKey, chain);
        // A destroyed widget takes its chain with it.
        QObject::connect(hWnd, &QObject::destroyed, chain, [chainKey] {
            for (auto it = keyMap().begin(); it != keyMap().end();)
                it = it.value() == chainKey ? keyMap().erase(it) : std::next(it);
            if (CChain *gone = chains().take(chainKey))
                gone->deleteLater();
        });
    }
    const CChain::HookResult hooked = chain->Hook(hWnd, std::move(procedure), owner);
    if (hooked.key.isEmpty()) {
        if (error)
            *error = hooked.error;
        if (chain->Count() == 0)
            dropChain(chainKey);
        return {};
    }
    keyMap().insert(hooked.key, chainKey);
    return hooked.key;
}

bool Unsubclass(QString &key)
{
    const QString chainKey = keyMap().value(key);
    CChain *chain = chains().value(chainKey);
    if (!chain)
        return false;
    const QString removed = key;
    if (!chain->Unhook(key))
        return false;
    keyMap().remove(removed);
    if (chain->Count() == 0)
        dropChain(chainKey);
    return true;
}

CChain *ChainOf(const QWidget *hWnd)
{
    return chains().value(QStringLiteral("c_") + handleText(hWnd));
}

CWindow *gobjWindow()
{
    return g_current;
}

qintptr SendMessage(QWidget *target, QEvent *event)
{
    if (!target)
        return 0;
    CChain *chain = ChainOf(target);
    const ChainResult outcome = chain ? chain->Dispatch(target, event) : ChainResult();
    // Straight to the widget's own handling: a sent message meets no application filter,
    // no shortcut and no parent.
    if (!outcome.consumed)
        static_cast<QObject *>(target)->event(event);
    return outcome.result;
}

int HookKeyboard(KeyHookProc procedure, QWidget *hWnd)
{
    if (!hWnd || HookOf(hWnd) != 0)
        return 0;
    if (hooks().empty())
        qApp->installEventFilter(&KeyboardHookFilter::instance());
    CKeyHookedCtrl record;
    record.hHook = ++g_hookCounter;
    record.hWnd = hWnd;
    record.procedure = std::move(procedure);
    hooks().push_back(std::move(record));
    return g_hookCounter;
}

void UnhookKeyboard(int &hHook)
{
    auto &all = hooks();
    for (auto it = all.begin(); it != all.end(); ++it) {
        if (hHook != 0 && it->hHook == hHook) {
            all.erase(it);
            hHook = 0;
            if (all.empty() && qApp)
                qApp->removeEventFilter(&KeyboardHookFilter::instance());
            return;
        }
    }
}

QList<QWidget *> HookedControls()
{
    QList<QWidget *> out;
    for (const CKeyHookedCtrl &record : hooks()) {
        if (record.hWnd)
            out.append(record.hWnd);
    }
    return out;
}

int HookOf(const QWidget *hWnd)
{
    for (const CKeyHookedCtrl &record : hooks()) {
        if (record.hWnd == hWnd)
            return record.hHook;
    }
    return 0;
}

int LastHook()
{
    return hooks().empty() ? 0 : hooks().back().hHook;
}

} // namespace MSubClassManager
