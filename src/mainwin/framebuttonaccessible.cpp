#include "mainwin/framebuttonaccessible.h"

#include "mainwin/selectionframe.h"

#include <QAbstractButton>

FrameButtonAccessible::FrameButtonAccessible(QWidget *button) : QAccessibleWidget(button) { }

QAbstractButton *FrameButtonAccessible::button() const
{
    return static_cast<QAbstractButton *>(widget());
}

bool FrameButtonAccessible::acts() const
{
    return button()->isEnabled() && !SelectionFrame::blocksInputTo(button());
}

QAccessible::Role FrameButtonAccessible::role() const
{
    return button()->isCheckable() ? QAccessible::CheckBox : QAccessible::Button;
}

QString FrameButtonAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Name && button()->accessibleName().isEmpty())
        return QString(button()->text()).remove(QLatin1Char('&'));
    return QAccessibleWidget::text(t);
}

QAccessible::State FrameButtonAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.checkable = button()->isCheckable();
    state.checked = button()->isChecked();
    state.pressed = button()->isDown();
    state.disabled = !acts();
    return state;
}

QStringList FrameButtonAccessible::actionNames() const
{
    if (!acts())
        return {};
    return QStringList {button()->isCheckable() ? toggleAction() : pressAction()}
    + QAccessibleWidget::actionNames();
}

void FrameButtonAccessible::doAction(const QString &actionName)
{
    if (!acts())
        return;
    if (actionName == toggleAction() && button()->isCheckable())
        button()->toggle();
    else if (actionName == pressAction())
        button()->animateClick();
    else
        QAccessibleWidget::doAction(actionName);
}
