#include "mainwin/framebuttonaccessible.h"

#include "mainwin/selectionframe.h"

#include <chrono>
#include <QAbstractButton>
#include <QTimer>

namespace {

// As long as Qt's own buttons show themselves pressed for assistive technology.
constexpr std::chrono::milliseconds PressDuration {100};

} // namespace

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
        pressForAMoment();
    else
        QAccessibleWidget::doAction(actionName);
}

// As Qt presses a button for assistive technology: down for a moment, then
// clicked. A run that begins meanwhile blocks the frame, and then the click
// does not come: it would change a choice, or open Browse, under the run.
void FrameButtonAccessible::pressForAMoment()
{
    QAbstractButton *pressed = button();
    pressed->setDown(true);
    QTimer::singleShot(PressDuration, pressed, [pressed] {
        pressed->setDown(false);
        if (!SelectionFrame::blocksInputTo(pressed))
            pressed->click(); // nothing while it is disabled
    });
}
