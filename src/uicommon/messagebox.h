#pragma once

#include <QDialog>
#include <QString>

class QDialogButtonBox;
class QTextEdit;

// The program's message box, as Qt's own looks: titled "Valdoren", no icon,
// one OK button, the message as plain text. The text is the message itself,
// character for character, for the eye, for a screen reader and for Ctrl+C
// alike; only what a text box cannot hold as it is (a carriage return, a
// paragraph separator, a noncharacter) shows escaped, as valdoren-db shows it. A long path shows whole,
// broken within a name where no line holds it; however long, the box stays on the screen, and what does not
// fit scrolls.
class MessageBox : public QDialog
{
    Q_OBJECT

public:
    explicit MessageBox(const QString &message, QWidget *parent = nullptr);

    // The text the box shows, as it holds it: what a screen reader reads
    // and Ctrl+C copies.
    QString shownText() const;

protected:
    void showEvent(QShowEvent *event) override;
    // Ctrl+C copies the message, or the part of it the operator selected.
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createControls(const QString &message);
    void fitOnScreen();
    bool copyWhole(QKeyEvent *event);

    QTextEdit *m_text = nullptr;
    QDialogButtonBox *m_buttons = nullptr;
};
