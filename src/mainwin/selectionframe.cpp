#include "mainwin/selectionframe.h"

#include <QEvent>

namespace {

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

SelectionFrame::SelectionFrame(QWidget *parent) : QGroupBox(parent) { }

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
        return;
    }
    for (const HeldFocus &held : std::as_const(m_heldFocus)) {
        if (held.control) {
            held.control->removeEventFilter(this);
            held.control->setFocusPolicy(held.policy);
        }
    }
    m_heldFocus.clear();
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
