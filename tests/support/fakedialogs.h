#pragma once

#include "uicommon/dialogseam.h"

#include <functional>
#include <QPoint>
#include <QStringList>

// Answers the program's message boxes and file dialogs in place of the
// operator while it lives, and keeps what they showed.
class FakeDialogs : public DialogSeam
{
public:
    // Accessibility is on from then on, as with a screen reader connected.
    FakeDialogs();
    ~FakeDialogs() override { DialogSeam::setCurrent(nullptr); }

    void showMessage(QWidget *parent, const QString &text) override;
    QString chooseFile(QFileDialog &dialog) override;

    QStringList messages;
    QList<QWidget *> messageParents;
    // Answers for the file dialog, taken in turn; none left means "cancel".
    QStringList fileAnswers;
    QStringList fileDialogTitles;
    QList<QStringList> fileDialogFilters;
    QStringList fileDialogFolders;
    // Runs while a message is "shown", as an operator could act then.
    std::function<void(const QString &)> whileMessageShown;
};

class QWidget;

// Accessibility on, as it is once a screen reader connects: the program's
// parts are met as they are made, not when a test first asks.
void listenAsAScreenReader();
// A message box's text as a screen reader reads it: its labels' names and
// their characters.
QString readAloud(QWidget *box);
// The visible entries of the menu a right click at point shows over widget.
QStringList contextMenuOf(QWidget *widget, const QPoint &point = QPoint(5, 5));

// Runs action on the next modal window once it shows, from inside its event
// loop (a window of the program's own, such as the info window).
void whenModalShows(std::function<void(QWidget *)> action);
