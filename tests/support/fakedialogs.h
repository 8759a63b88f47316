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
    FakeDialogs() { DialogSeam::setCurrent(this); }
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

// The text of a message box as a screen reader reads it: the names of its
// labels, line by line.
QString readAloud(QWidget *box);

// The entries of the menu that a right click at point shows over widget, as
// the operator reads them: the visible ones, separators left out.
QStringList contextMenuOf(QWidget *widget, const QPoint &point);

// Runs action on the next modal window once it shows, from inside its event
// loop (a window of the program's own, such as the info window).
void whenModalShows(std::function<void(QWidget *)> action);
