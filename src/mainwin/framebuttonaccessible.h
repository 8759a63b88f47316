#pragma once

#include <QAccessibleWidget>

class QAbstractButton;

// What assistive technology sees of a tick box or button in the frame of
// choices: as Qt shows any button, except that while a run blocks the
// frame it reports itself unavailable and offers no action, so no screen
// reader can change a choice under the run.
class FrameButtonAccessible : public QAccessibleWidget
{
public:
    explicit FrameButtonAccessible(QWidget *button);

    QAccessible::Role role() const override;
    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;

private:
    QAbstractButton *button() const;
    bool acts() const;
    void pressForAMoment();
};
