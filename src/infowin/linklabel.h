#pragma once

#include <QLabel>

// A label that looks and acts like a link: it reacts to a mouse click and
// takes no focus.
class LinkLabel : public QLabel
{
    Q_OBJECT

public:
    explicit LinkLabel(const QString &text, QWidget *parent = nullptr);

    // The pointing hand shown over the label: 32 x 32, black and white, its
    // hot spot at the fingertip.
    static QCursor handCursor();

Q_SIGNALS:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    bool m_pressed = false;
};
