#include "mainwin/selectionframe.h"

#include "mainwin/framebuttonaccessible.h"
#include "mainwin/framelineeditaccessible.h"

#include <QAccessible>
#include <QEvent>

namespace {

// Qt's own accessible buttons and line edits know only a control's enabled
// state, which the frame leaves alone: the controls of a frame get
// interfaces that also know when it blocks them.
QAccessibleInterface *frameControlAccessible(const QString &className, QObject *object)
{
    auto *control = qobject_cast<QWidget *>(object);
    if (!control || !qobject_cast<SelectionFrame *>(control->parentWidget()))
        return nullptr;
    if (className == QLatin1String("QLineEdit"))
        return new FrameLineEditAccessible(control);
    if (className == QLatin1String("QCheckBox") || className == QLatin1String("QPushButton"))
        return new FrameButtonAccessible(control);
    return nullptr;
}

bool isInput(const QEvent *event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
    case QEvent::InputMethod:
        return true;
    default:
        // Mouse, keys, wheel, hover, touch, tablet, context menu.
        return event->isInputEvent();
    }
}

} // namespace

SelectionFrame::SelectionFrame(QWidget *parent) : QGroupBox(parent)
{
    QAccessible::installFactory(frameControlAccessible); // once: a second install is ignored
}

bool SelectionFrame::blocksInputTo(const QWidget *control)
{
    for (const QWidget *w = control; w; w = w->parentWidget()) {
        if (auto *frame = qobject_cast<const SelectionFrame *>(w))
            return frame->isInputBlocked();
    }
    return false;
}

void SelectionFrame::setInputBlocked(bool blocked)
{
    if (blocked == m_blocked)
        return;
    m_blocked = blocked;
    if (blocked) {
        for (QWidget *control : findChildren<QWidget *>()) {
            control->installEventFilter(this);
            m_heldFocus.append({control, control->focusPolicy()});
            control->setFocusPolicy(Qt::NoFocus);
        }
        moveFocusOutside();
    } else {
        for (const HeldFocus &held : std::as_const(m_heldFocus)) {
            if (held.control) {
                held.control->removeEventFilter(this);
                held.control->setFocusPolicy(held.policy);
            }
        }
        m_heldFocus.clear();
    }
    tellAssistiveTechnology();
}

// A screen reader keeps what it learnt of a control until told it changed.
void SelectionFrame::tellAssistiveTechnology()
{
    if (!QAccessible::isActive())
        return;
    QAccessible::State changed;
    changed.disabled = true;
    changed.focusable = true;
    changed.readOnly = true;
    for (QWidget *control : findChildren<QWidget *>()) {
        QAccessibleStateChangeEvent event(control, changed);
        QAccessible::updateAccessibility(&event);
    }
}

bool SelectionFrame::eventFilter(QObject *watched, QEvent *event)
{
    if (m_blocked && isInput(event)) {
        event->accept(); // taken here, so it goes to no parent either
        return true;
    }
    return QGroupBox::eventFilter(watched, event);
}

// The same way Tab goes, past every control that cannot take the focus now.
void SelectionFrame::moveFocusOutside()
{
    QWidget *focused = window()->focusWidget();
    if (!focused || !isAncestorOf(focused))
        return;
    for (QWidget *next = focused->nextInFocusChain(); next != focused; next = next->nextInFocusChain()) {
        if (!isAncestorOf(next) && next != this && next->window() == window()
            && (next->focusPolicy() & Qt::TabFocus) && next->isEnabled() && next->isVisibleTo(window())) {
            next->setFocus(Qt::TabFocusReason);
            return;
        }
    }
    focused->clearFocus();
}
