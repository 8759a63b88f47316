#pragma once

#include <QAccessibleWidget>

class QTextEdit;

// What a screen reader meets of a message box's text: a label whose name,
// characters and lines are the text the box holds when they are asked for,
// not when the label was first met (which, with a screen reader connected,
// is before the box has its text).
class MessageTextAccessible : public QAccessibleWidget, public QAccessibleTextInterface
{
public:
    explicit MessageTextAccessible(QTextEdit *text);

    // The text a text box holds, character for character: its lines end in
    // line feeds.
    static QString heldText(const QTextEdit &text);

    void *interface_cast(QAccessible::InterfaceType t) override;
    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;

    // QAccessibleTextInterface
    void selection(int selectionIndex, int *startOffset, int *endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint &point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int *startOffset, int *endOffset) const override;

private:
    QTextEdit *textEdit() const;
    QString held() const;
    void select(int anchor, int position);
};
