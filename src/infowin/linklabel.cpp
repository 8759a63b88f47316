#include "infowin/linklabel.h"

#include <QBitmap>
#include <QImage>
#include <QMouseEvent>
#include <utility>

LinkLabel::LinkLabel(const QString &text, QWidget *parent) : QLabel(text, parent)
{
    setFocusPolicy(Qt::NoFocus);
    setCursor(handCursor());
}

QCursor LinkLabel::handCursor()
{
    static constexpr int HotSpotX = 5;
    static constexpr int HotSpotY = 0;
    const QImage image = QImage(QStringLiteral(":/handcursor.xpm")).convertToFormat(QImage::Format_ARGB32);
    // A monochrome cursor: a bitmap of the black pixels, and a mask of all
    // the pixels drawn (black or white).
    QImage black(image.size(), QImage::Format_MonoLSB);
    QImage drawn(image.size(), QImage::Format_MonoLSB);
    black.fill(0);
    drawn.fill(0);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (qAlpha(pixel) == 0)
                continue;
            drawn.setPixel(x, y, 1);
            if (qGray(pixel) < 128)
                black.setPixel(x, y, 1);
        }
    }
    return QCursor(QBitmap::fromImage(black), QBitmap::fromImage(drawn), HotSpotX, HotSpotY);
}

void LinkLabel::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton;
    event->accept();
}

// A click is a press and a release over the label, as with a button.
void LinkLabel::mouseReleaseEvent(QMouseEvent *event)
{
    const bool wasPressed = std::exchange(m_pressed, false);
    event->accept();
    if (wasPressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
}
