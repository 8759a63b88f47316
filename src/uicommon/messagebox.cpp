#include "uicommon/messagebox.h"

#include "transfer/escapedcontrols.h"
#include "uicommon/dialogseam.h"
#include "uicommon/frameallowance.h"
#include "uicommon/messagetextaccessible.h"

#include <cmath>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTextDocument>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {

// The box is laid out as Qt's own, QMessageBox, lays out its box without an
// icon; the values below are read from Qt 6.4 (qmessagebox.cpp), and
// tst_mainwindow compares the two boxes.
// Before the text: a spacer of 15 pixels, and the style's spacing of 6.
constexpr int TextIndent = 15 + 6;

// A screen reader meets the box as it meets Qt's own: an alert named by its
// title, holding a label whose name and text are the message.
QAccessibleInterface *accessibleMessage(const QString &className, QObject *object)
{
    auto *widget = qobject_cast<QWidget *>(object);
    if (!widget)
        return nullptr;
    if (className == QLatin1String("MessageBox"))
        return new QAccessibleWidget(widget, QAccessible::AlertMessage);
    if (className == QLatin1String("QTextEdit") && qobject_cast<MessageBox *>(widget->parentWidget()))
        return new MessageTextAccessible(static_cast<QTextEdit *>(widget));
    return nullptr;
}

// The message laid out in lines at most width wide (none when negative):
// the width of its widest line and its height.
QSizeF laidOut(const QString &message, const QFont &font, QTextOption::WrapMode wrap, qreal width)
{
    QTextDocument document;
    document.setDocumentMargin(0);
    document.setDefaultFont(font);
    QTextOption option = document.defaultTextOption();
    option.setWrapMode(wrap);
    document.setDefaultTextOption(option);
    document.setPlainText(message);
    document.setTextWidth(width);
    return {document.idealWidth(), document.size().height()};
}

int wholePixels(qreal length)
{
    return static_cast<int>(std::ceil(length));
}

} // namespace

MessageBox::MessageBox(const QString &message, QWidget *parent) : QDialog(parent)
{
    QAccessible::installFactory(accessibleMessage);
    setWindowTitle(applicationTitle());
    createControls(message);
    fitOnScreen();
}

QString MessageBox::shownText() const
{
    return MessageTextAccessible::heldText(*m_text);
}

// Shown, the box is announced, as Qt's own is.
void MessageBox::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    QAccessibleEvent alert(this, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
}

void MessageBox::createControls(const QString &message)
{
    // Shown as written: a message that looks like markup is still only text,
    // and a character that a text box would turn into a line's end, or not
    // show, shows escaped. A read-only text box, not a label: a label cannot
    // break a line within a name, nor scroll.
    m_text = new QTextEdit(this);
    m_text->setReadOnly(true);
    m_text->setFrameShape(QFrame::NoFrame);
    m_text->viewport()->setAutoFillBackground(false); // the box's own background, as a label's
    m_text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_text->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    m_text->document()->setDocumentMargin(0);
    m_text->setPlainText(transfer::escapedControls(message, transfer::LineFeeds::Kept));
    m_text->installEventFilter(this);
    // A reader that met the text before it was set hears of the change.
    QAccessibleEvent named(m_text, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&named);

    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    m_buttons->setCenterButtons(style()->styleHint(QStyle::SH_MessageBox_CenterButtons, nullptr, this));
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    QPushButton *ok = m_buttons->button(QDialogButtonBox::Ok);
    ok->setDefault(true);
    ok->setFocus();

    auto *layout = new QVBoxLayout(this);
    QMargins margins = layout->contentsMargins();
    margins.setLeft(margins.left() + TextIndent);
    layout->setContentsMargins(margins);
    layout->addWidget(m_text);
    layout->addWidget(m_buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

// Qt's own rule for the box's width: a short message on one line; a longer
// one in lines that make the box half the screen wide, at most 500 pixels,
// or as wide as its longest word needs, up to 1000 pixels or the whole of a
// small screen, and no wider than the screen takes with the box's frame.
// Then as high as the lines need, as far as the screen takes it; beyond,
// the text scrolls.
void MessageBox::fitOnScreen()
{
    const QScreen *screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    const QRect room = screen->availableGeometry();
    const QMargins margins = layout()->contentsMargins();
    const int marginsWidth = margins.left() + margins.right();
    const int chromeHeight = margins.top() + margins.bottom() + layout()->spacing()
        + m_buttons->sizeHint().height() + FrameAllowance.height();
    const int softLimit = qMin(room.width() / 2, 500) - marginsWidth;
    const int qtsHardLimit = room.width() <= 1024 ? room.width() : qMin(room.width() - 480, 1000);
    const int hardLimit = qMin(qtsHardLimit, room.width() - FrameAllowance.width()) - marginsWidth;
    const QFont font = m_text->font();
    const QString text = shownText();
    int width = wholePixels(laidOut(text, font, QTextOption::NoWrap, -1).width());
    if (width > softLimit) {
        const int longestWord = wholePixels(laidOut(text, font, QTextOption::WordWrap, 1).width());
        width = qBound(softLimit, longestWord, hardLimit);
    }
    const int height
        = wholePixels(laidOut(text, font, QTextOption::WrapAtWordBoundaryOrAnywhere, width).height());
    const int roomForText = room.height() - chromeHeight;
    if (height <= roomForText) {
        m_text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_text->setFixedSize(width, height);
    } else {
        // The lines keep their width beside the scroll bar.
        m_text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        m_text->setFixedSize(width + m_text->verticalScrollBar()->sizeHint().width(), roomForText);
    }
}

void MessageBox::keyPressEvent(QKeyEvent *event)
{
    if (!copyWhole(event))
        QDialog::keyPressEvent(event);
}

// In the text, Ctrl+C with nothing selected copies the whole message too.
bool MessageBox::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_text && event->type() == QEvent::KeyPress && !m_text->textCursor().hasSelection())
        return copyWhole(static_cast<QKeyEvent *>(event));
    return QDialog::eventFilter(watched, event);
}

bool MessageBox::copyWhole(QKeyEvent *event)
{
    if (!event->matches(QKeySequence::Copy))
        return false;
    QGuiApplication::clipboard()->setText(shownText());
    return true;
}
