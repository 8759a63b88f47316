#include "mainwin/framelineeditaccessible.h"

#include "mainwin/selectionframe.h"

#include <QFontMetrics>
#include <QLineEdit>

FrameLineEditAccessible::FrameLineEditAccessible(QWidget *lineEdit)
    : QAccessibleWidget(lineEdit, QAccessible::EditableText)
{ }

QLineEdit *FrameLineEditAccessible::lineEdit() const
{
    return static_cast<QLineEdit *>(widget());
}

bool FrameLineEditAccessible::takesText() const
{
    return lineEdit()->isEnabled() && !lineEdit()->isReadOnly() && !SelectionFrame::blocksInputTo(lineEdit());
}

void FrameLineEditAccessible::setTextIfTaken(const QString &text)
{
    if (takesText())
        lineEdit()->setText(text);
}

// While the box takes no text it offers nothing to edit with.
void *FrameLineEditAccessible::interface_cast(QAccessible::InterfaceType t)
{
    if (t == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface *>(this);
    if (t == QAccessible::EditableTextInterface)
        return takesText() ? static_cast<QAccessibleEditableTextInterface *>(this) : nullptr;
    return QAccessibleWidget::interface_cast(t);
}

QString FrameLineEditAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Value)
        return lineEdit()->text();
    return QAccessibleWidget::text(t);
}

void FrameLineEditAccessible::setText(QAccessible::Text t, const QString &text)
{
    if (t == QAccessible::Value)
        setTextIfTaken(text);
    else
        QAccessibleWidget::setText(t, text);
}

QAccessible::State FrameLineEditAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.editable = true;
    state.readOnly = !takesText();
    state.disabled = SelectionFrame::blocksInputTo(lineEdit()) || !lineEdit()->isEnabled();
    state.selectableText = true;
    return state;
}

QStringList FrameLineEditAccessible::actionNames() const
{
    return SelectionFrame::blocksInputTo(lineEdit()) ? QStringList() : QAccessibleWidget::actionNames();
}

void FrameLineEditAccessible::selection(int selectionIndex, int *startOffset, int *endOffset) const
{
    *startOffset = *endOffset = 0;
    if (selectionIndex != 0 || !lineEdit()->hasSelectedText())
        return;
    *startOffset = lineEdit()->selectionStart();
    *endOffset = lineEdit()->selectionEnd();
}

int FrameLineEditAccessible::selectionCount() const
{
    return lineEdit()->hasSelectedText() ? 1 : 0;
}

void FrameLineEditAccessible::addSelection(int startOffset, int endOffset)
{
    setSelection(0, startOffset, endOffset);
}

void FrameLineEditAccessible::removeSelection(int selectionIndex)
{
    if (selectionIndex == 0)
        lineEdit()->deselect();
}

void FrameLineEditAccessible::setSelection(int selectionIndex, int startOffset, int endOffset)
{
    if (selectionIndex == 0)
        lineEdit()->setSelection(startOffset, endOffset - startOffset);
}

int FrameLineEditAccessible::cursorPosition() const
{
    return lineEdit()->cursorPosition();
}

void FrameLineEditAccessible::setCursorPosition(int position)
{
    lineEdit()->setCursorPosition(position);
}

QString FrameLineEditAccessible::text(int startOffset, int endOffset) const
{
    if (startOffset > endOffset)
        return {};
    return lineEdit()->text().mid(startOffset, endOffset - startOffset);
}

int FrameLineEditAccessible::characterCount() const
{
    return static_cast<int>(lineEdit()->text().size());
}

// Measured from the start of the text, as the box shows it unscrolled.
QRect FrameLineEditAccessible::characterRect(int offset) const
{
    const QString character = text(offset, offset + 1);
    if (character.isEmpty())
        return {};
    const QFontMetrics metrics(lineEdit()->font());
    const QRect contents = lineEdit()->contentsRect();
    const QRect rect(contents.left() + metrics.horizontalAdvance(lineEdit()->text().left(offset)),
                     contents.top(), metrics.horizontalAdvance(character), metrics.height());
    return rect.translated(lineEdit()->mapToGlobal(QPoint(0, 0)));
}

int FrameLineEditAccessible::offsetAtPoint(const QPoint &point) const
{
    return lineEdit()->cursorPositionAt(lineEdit()->mapFromGlobal(point));
}

void FrameLineEditAccessible::scrollToSubstring(int startIndex, int endIndex)
{
    lineEdit()->setCursorPosition(endIndex);
    lineEdit()->setCursorPosition(startIndex);
}

QString FrameLineEditAccessible::attributes(int offset, int *startOffset, int *endOffset) const
{
    *startOffset = *endOffset = offset; // plain text, no attributes
    return {};
}

void FrameLineEditAccessible::deleteText(int startOffset, int endOffset)
{
    setTextIfTaken(lineEdit()->text().remove(startOffset, endOffset - startOffset));
}

void FrameLineEditAccessible::insertText(int offset, const QString &text)
{
    setTextIfTaken(lineEdit()->text().insert(offset, text));
}

void FrameLineEditAccessible::replaceText(int startOffset, int endOffset, const QString &text)
{
    setTextIfTaken(lineEdit()->text().replace(startOffset, endOffset - startOffset, text));
}
