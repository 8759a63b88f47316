#include "uicommon/messagetextaccessible.h"

#include <QFontMetrics>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

MessageTextAccessible::MessageTextAccessible(QTextEdit *text)
    : QAccessibleWidget(text, QAccessible::StaticText)
{ }

// The document's raw text keeps every character (its plain text would turn
// a no-break space into a space); its lines end in paragraph separators.
QString MessageTextAccessible::heldText(const QTextEdit &text)
{
    return text.document()->toRawText().replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
}

QTextEdit *MessageTextAccessible::textEdit() const
{
    return static_cast<QTextEdit *>(widget());
}

QString MessageTextAccessible::held() const
{
    return heldText(*textEdit());
}

void *MessageTextAccessible::interface_cast(QAccessible::InterfaceType t)
{
    if (t == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface *>(this);
    return QAccessibleWidget::interface_cast(t);
}

QString MessageTextAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Name)
        return held();
    return QAccessibleWidget::text(t);
}

QAccessible::State MessageTextAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.readOnly = true;
    state.multiLine = true;
    state.selectableText = true;
    return state;
}

void MessageTextAccessible::selection(int selectionIndex, int *startOffset, int *endOffset) const
{
    const QTextCursor cursor = textEdit()->textCursor();
    *startOffset = *endOffset = 0;
    if (selectionIndex != 0 || !cursor.hasSelection())
        return;
    *startOffset = cursor.selectionStart();
    *endOffset = cursor.selectionEnd();
}

int MessageTextAccessible::selectionCount() const
{
    return textEdit()->textCursor().hasSelection() ? 1 : 0;
}

// Positions in the document are positions in the held text, one to a
// character and one to each line's end.
void MessageTextAccessible::select(int anchor, int position)
{
    const int end = characterCount();
    QTextCursor cursor(textEdit()->document());
    cursor.setPosition(qBound(0, anchor, end));
    cursor.setPosition(qBound(0, position, end), QTextCursor::KeepAnchor);
    textEdit()->setTextCursor(cursor);
}

void MessageTextAccessible::addSelection(int startOffset, int endOffset)
{
    setSelection(0, startOffset, endOffset);
}

void MessageTextAccessible::removeSelection(int selectionIndex)
{
    if (selectionIndex == 0)
        setCursorPosition(cursorPosition());
}

void MessageTextAccessible::setSelection(int selectionIndex, int startOffset, int endOffset)
{
    if (selectionIndex == 0)
        select(startOffset, endOffset);
}

int MessageTextAccessible::cursorPosition() const
{
    return textEdit()->textCursor().position();
}

void MessageTextAccessible::setCursorPosition(int position)
{
    select(position, position);
}

QString MessageTextAccessible::text(int startOffset, int endOffset) const
{
    if (startOffset > endOffset)
        return {};
    return held().mid(startOffset, endOffset - startOffset);
}

int MessageTextAccessible::characterCount() const
{
    return static_cast<int>(held().size());
}

QRect MessageTextAccessible::characterRect(int offset) const
{
    const QString character = text(offset, offset + 1);
    if (character.isEmpty())
        return {};
    QTextCursor cursor(textEdit()->document());
    cursor.setPosition(offset);
    QRect rect = textEdit()->cursorRect(cursor);
    rect.setWidth(QFontMetrics(textEdit()->font()).horizontalAdvance(character));
    return rect.translated(textEdit()->viewport()->mapToGlobal(QPoint(0, 0)));
}

int MessageTextAccessible::offsetAtPoint(const QPoint &point) const
{
    return textEdit()->cursorForPosition(textEdit()->viewport()->mapFromGlobal(point)).position();
}

void MessageTextAccessible::scrollToSubstring(int startIndex, int endIndex)
{
    for (const int position : {endIndex, startIndex}) {
        setCursorPosition(position);
        textEdit()->ensureCursorVisible();
    }
}

QString MessageTextAccessible::attributes(int offset, int *startOffset, int *endOffset) const
{
    *startOffset = *endOffset = offset; // plain text, no attributes
    return {};
}
