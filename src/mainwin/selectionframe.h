#pragma once

#include <QGroupBox>
#include <QList>
#include <QPointer>

// The frame that holds the operator's choices. During a run it takes no
// input for any control inside it, from the mouse, the keyboard or
// assistive technology, yet leaves their own state and their look alone:
// the operator keeps seeing the ticks, the file name and the progress bar in
// their normal colours, not greyed out. Assistive technology is told that
// they are unavailable meanwhile.
class SelectionFrame : public QGroupBox
{
    Q_OBJECT

public:
    explicit SelectionFrame(QWidget *parent = nullptr);

    // While blocked, no control inside takes a click, a key, a drop or the
    // focus (Tab passes them by); the focus, if inside, moves on to the next
    // control outside that takes it.
    void setInputBlocked(bool blocked);
    bool isInputBlocked() const { return m_blocked; }

    // True while control lies in a frame that blocks its input.
    static bool blocksInputTo(const QWidget *control);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct HeldFocus
    {
        QPointer<QWidget> control;
        Qt::FocusPolicy policy;
    };

    void moveFocusOutside();
    void tellAssistiveTechnology();

    bool m_blocked = false;
    QList<HeldFocus> m_heldFocus;
};
