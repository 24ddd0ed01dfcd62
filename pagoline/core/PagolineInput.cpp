// Mouse, keyboard and drag-and-drop of the control: its procedure in the event-filter
// chain of its own widget, its keyboard hook, and the default handling behind them.
#include "pagoline/core/Pagoline.h"

#include "pagoline/core/TabLayout.h"
#include "pagoline/winapi/MSubClassManager.h"
#include "pagoline/winapi/VirtualKeys.h"

#include <QApplication>
#include <QDrag>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>

namespace {

// The control's procedure in the chain: finds the control through the running member.
qintptr controlProcedure(QObject *watched, QEvent *event)
{
    CWindow *self = MSubClassManager::gobjWindow();
    if (!self)
        return 0;
    self->MessageConsumed = false;
    auto *control = qobject_cast<Pagoline *>(self->Object);
    return control ? control->WndProc(watched, event) : 0;
}

void consume()
{
    if (CWindow *self = MSubClassManager::gobjWindow())
        self->MessageConsumed = true;
}

short buttonCode(Qt::MouseButtons buttons)
{
    short code = 0;
    if (buttons & Qt::LeftButton)
        code |= 1;
    if (buttons & Qt::RightButton)
        code |= 2;
    if (buttons & Qt::MiddleButton)
        code |= 4;
    return code;
}

// Drop effects as the drag events carry them: 1 copy, 2 move, 4 link.
int effectFromActions(Qt::DropActions actions)
{
    int effect = 0;
    if (actions & Qt::CopyAction)
        effect |= 1;
    if (actions & Qt::MoveAction)
        effect |= 2;
    if (actions & Qt::LinkAction)
        effect |= 4;
    return effect;
}

Qt::DropActions actionsFromEffect(int effect)
{
    Qt::DropActions actions;
    if (effect & 1)
        actions |= Qt::CopyAction;
    if (effect & 2)
        actions |= Qt::MoveAction;
    if (effect & 4)
        actions |= Qt::LinkAction;
    return actions;
}

Qt::DropAction firstAction(int effect)
{
    if (effect & 2)
        return Qt::MoveAction;
    if (effect & 1)
        return Qt::CopyAction;
    if (effect & 4)
        return Qt::LinkAction;
    return Qt::IgnoreAction;
}

// Where a drag stands: its buttons, the shift keys and the position in host units.
struct DragPoint
{
    short button = 0;
    short shift = 0;
    float x = 0;
    float y = 0;
};

DragPoint dragPoint(const Pagoline &control, const QDropEvent *event)
{
    const QPoint at = event->position().toPoint();
    return {buttonCode(event->buttons()), VirtualKeys::ShiftState(event->modifiers()),
            float(control.PixelsToHost(at.x())), float(control.PixelsToHost(at.y()))};
}

// A drag entering (state 0) or moving over (2) the control: the host may change the
// effect, and 0 refuses the drop.
void reportDragOver(Pagoline &control, QDragMoveEvent *event, short state)
{
    int effect = effectFromActions(event->possibleActions());
    const DragPoint p = dragPoint(control, event);
    emit control.OLEDragOver(event->mimeData(), effect, p.button, p.shift, p.x, p.y, state);
    if (effect == 0) {
        event->ignore();
        return;
    }
    event->setDropAction(firstAction(effect));
    event->accept();
}

// Drag data whose formats the source may fill in only when a target asks for them.
class PagolineMimeData : public QMimeData
{
public:
    explicit PagolineMimeData(Pagoline *source) : m_source(source) {}

protected:
    QVariant retrieveData(const QString &mimeType, QMetaType type) const override
    {
        if (m_source && data(mimeType).isEmpty()) {
            short format = mimeType == QLatin1String("text/plain") ? 1 : 0;
            emit m_source->OLESetData(const_cast<PagolineMimeData *>(this), format);
        }
        return QMimeData::retrieveData(mimeType, type);
    }

private:
    QPointer<Pagoline> m_source;
};

} // namespace

void Pagoline::startInput()
{
    if (m_subclassKey.isEmpty())
        m_subclassKey = MSubClassManager::Subclass(this, &controlProcedure, this);
    if (m_userMode && m_keyHook == 0)
        m_keyHook = MSubClassManager::HookKeyboard(&Pagoline::KeyHookProcedure, this);
}

void Pagoline::stopInput()
{
    if (m_keyHook != 0)
        MSubClassManager::UnhookKeyboard(m_keyHook);
    if (!m_subclassKey.isEmpty())
        MSubClassManager::Unsubclass(m_subclassKey);
}

QWidget *Pagoline::hostWindow() const
{
    QWidget *form = window();
    return form != this ? form : parentWidget();
}

bool Pagoline::isUserInput(const QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress: case QEvent::KeyRelease: case QEvent::ShortcutOverride:
    case QEvent::MouseButtonPress: case QEvent::MouseButtonRelease: case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: case QEvent::Wheel:
    case QEvent::DragEnter: case QEvent::DragMove: case QEvent::Drop:
        return true;
    default:
        return false;
    }
}

qintptr Pagoline::WndProc(QObject *watched, QEvent *event)
{
    if (watched != this)
        return 0;
    // A disabled control takes no input and raises no events for it; a drag over it
    // finds no target.
    if (!m_enabled && isUserInput(event)) {
        event->ignore();
        consume();
        return 0;
    }
    switch (event->type()) {
    case QEvent::FocusIn:
    case QEvent::FocusOut:
        // The focus rectangle and the accelerator underlines follow the focus.
        if (m_userMode)
            Redraw(false);
        return 0;
    case QEvent::KeyPress: {
        qintptr result = 0;
        if (m_userMode && handleKeyDownMessage(static_cast<QKeyEvent *>(event), result)) {
            consume();
            return result;
        }
        return 0;
    }
    case QEvent::MouseButtonPress:
        if (handleLeftButtonMessage(static_cast<QMouseEvent *>(event)))
            consume();
        return 0;
    default:
        return 0;
    }
}

bool Pagoline::handleKeyDownMessage(QKeyEvent *event, qintptr &result)
{
    const int key = VirtualKeys::FromQtKey(event->key());
    if (event->modifiers() & Qt::AltModifier) {
        const CTab *current = CurrentTab();
        if (current && current->AcceleratorKey() > 0 && key == current->AcceleratorKey()) {
            Redraw(false);
            setFocus(Qt::ShortcutFocusReason);
            result = 0;
        } else {
            if (event->key() == Qt::Key_Alt)
                Redraw(false); // the underlines show while Alt is held
            result = 1;
        }
        return true;
    }
    if (key == VirtualKeys::VK_TAB) {
        short code = VirtualKeys::VK_TAB;
        emit KeyDown(code, VirtualKeys::ShiftState(event->modifiers()));
        // The host moves the focus on from the control.
        if (QWidget *host = hostWindow())
            QCoreApplication::postEvent(host, new QKeyEvent(QEvent::KeyPress, event->key(), event->modifiers()));
        result = 0;
        return true;
    }
    return false;
}

bool Pagoline::handleLeftButtonMessage(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return false;
    const QPoint at = event->position().toPoint();
    if (!SelectTab(HitTest(at.x(), at.y())))
        return false;
    QWidget *host = hostWindow();
    if (!host)
        return true;
    // Hosts get the click at the same place on their own window.
    const QPointF hostPoint = mapTo(host, at);
    const QPointF global = event->globalPosition();
    QMouseEvent press(QEvent::MouseButtonPress, hostPoint, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, hostPoint, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(host, &press);
    QCoreApplication::sendEvent(host, &release);
    if (!m_userMode) {
        // Lets a form designer select and drag the control it hosts.
        QMouseEvent designerPress(QEvent::MouseButtonPress, hostPoint, global, Qt::LeftButton, Qt::LeftButton,
                                  Qt::NoModifier);
        QCoreApplication::sendEvent(host, &designerPress);
    }
    return true;
}

bool Pagoline::KeyHookProcedure(QObject *receiver, QKeyEvent *event)
{
    const int key = VirtualKeys::FromQtKey(event->key());
    const bool navigation = key == VirtualKeys::VK_TAB || (key >= VirtualKeys::VK_LEFT && key <= VirtualKeys::VK_DOWN);
    QList<QWidget *> hooked = MSubClassManager::HookedControls();
    // A disabled control claims no key; the host's own handling then sees it.
    hooked.removeIf([](const QWidget *widget) {
        const auto *control = qobject_cast<const Pagoline *>(widget);
        return control && !control->Enabled();
    });
    auto *focus = qobject_cast<QWidget *>(receiver);
    if (event->type() == QEvent::ShortcutOverride) {
        // Claims the key from the host's shortcuts, so that it arrives as a key press.
        bool claim = navigation && hooked.contains(focus);
        if (!navigation && (event->modifiers() & Qt::AltModifier)) {
            for (QWidget *widget : hooked) {
                const auto *control = qobject_cast<Pagoline *>(widget);
                const CTab *current = control ? control->CurrentTab() : nullptr;
                claim = claim || (current && current->AcceleratorKey() == key);
            }
        }
        if (claim)
            event->accept();
        return claim;
    }
    if (navigation) {
        if (!hooked.contains(focus))
            return false;
        QKeyEvent copy(event->type(), event->key(), event->modifiers(), event->text(), event->isAutoRepeat());
        MSubClassManager::SendMessage(focus, &copy);
        return true;
    }
    if (!(event->modifiers() & Qt::AltModifier))
        return false;
    for (QWidget *widget : hooked) {
        QKeyEvent copy(event->type(), event->key(), event->modifiers(), event->text(), event->isAutoRepeat());
        if (MSubClassManager::SendMessage(widget, &copy) == 0 && event->type() == QEvent::KeyPress)
            return true;
    }
    return false;
}

void Pagoline::keyPressEvent(QKeyEvent *event)
{
    short code = short(VirtualKeys::FromQtKey(event->key()));
    emit KeyDown(code, VirtualKeys::ShiftState(event->modifiers()));
    const bool arrow = code >= VirtualKeys::VK_LEFT && code <= VirtualKeys::VK_DOWN;
    if (m_userMode && arrow)
        navigate(code);
    if (!event->text().isEmpty() && event->text().at(0).isPrint()) {
        short ascii = short(event->text().at(0).unicode());
        emit KeyPress(ascii);
    }
    if (arrow)
        event->accept();
    else
        event->ignore();
}

void Pagoline::navigate(int key)
{
    const CTab *current = CurrentTab();
    const int n = int(m_visible.size());
    if (!current || n == 0 || current->Index < 1)
        return;
    const int target = TabLayout::ArrowTarget(key, current->Index, n, m_tabsPerRow);
    if (target >= 1 && SelectTab(m_visible[target - 1]->FixedIndex))
        Redraw(false);
}

void Pagoline::keyReleaseEvent(QKeyEvent *event)
{
    short code = short(VirtualKeys::FromQtKey(event->key()));
    emit KeyUp(code, VirtualKeys::ShiftState(event->modifiers()));
    if (event->key() == Qt::Key_Alt)
        Redraw(false);
    event->ignore();
}

void Pagoline::emitMouse(void (Pagoline::*signal)(short, short, float, float), QMouseEvent *event)
{
    const QPoint at = event->position().toPoint();
    const Qt::MouseButtons buttons = event->type() == QEvent::MouseMove ? event->buttons() : event->button();
    emit(this->*signal)(buttonCode(buttons), VirtualKeys::ShiftState(event->modifiers()),
                        float(PixelsToHost(at.x())), float(PixelsToHost(at.y())));
}

void Pagoline::mousePressEvent(QMouseEvent *event)
{
    emitMouse(&Pagoline::MouseDown, event);
}

void Pagoline::mouseMoveEvent(QMouseEvent *event)
{
    emitMouse(&Pagoline::MouseMove, event);
}

void Pagoline::mouseReleaseEvent(QMouseEvent *event)
{
    emitMouse(&Pagoline::MouseUp, event);
}

void Pagoline::mouseDoubleClickEvent(QMouseEvent *)
{
    emit DblClick();
}

// --- drag and drop ---------------------------------------------------------------

void Pagoline::OLEDrag()
{
    if (m_dragInProgress)
        return;
    auto *payload = new PagolineMimeData(this);
    int allowed = 1 | 2;
    m_dragInProgress = true;
    emit OLEStartDrag(payload, allowed);
    auto *drag = new QDrag(this);
    drag->setMimeData(payload);
    connect(drag, &QDrag::actionChanged, this, [this](Qt::DropAction action) {
        int effect = effectFromActions(action);
        bool defaultCursors = true;
        emit OLEGiveFeedback(effect, defaultCursors);
    });
    int effect = allowed == 0 ? 0 : effectFromActions(drag->exec(actionsFromEffect(allowed)));
    drag->deleteLater();
    m_dragInProgress = false;
    emit OLECompleteDrag(effect);
}

void Pagoline::dragEnterEvent(QDragEnterEvent *event)
{
    reportDragOver(*this, event, 0); // entering
}

void Pagoline::dragMoveEvent(QDragMoveEvent *event)
{
    reportDragOver(*this, event, 2); // over
}

void Pagoline::dragLeaveEvent(QDragLeaveEvent *)
{
    int effect = 0;
    short state = 1; // leaving
    emit OLEDragOver(nullptr, effect, 0, 0, 0.0f, 0.0f, state);
}

void Pagoline::dropEvent(QDropEvent *event)
{
    int effect = effectFromActions(event->dropAction());
    const DragPoint p = dragPoint(*this, event);
    emit OLEDragDrop(event->mimeData(), effect, p.button, p.shift, p.x, p.y);
    event->setDropAction(firstAction(effect));
    event->accept();
}
