#include "fakedialogs.h"

#include <QFileDialog>

void FakeDialogs::showMessage(QWidget *parent, const QString &text)
{
    messages << text;
    messageParents << parent;
    if (whileMessageShown)
        whileMessageShown(text);
}

QString FakeDialogs::chooseFile(QFileDialog &dialog)
{
    fileDialogTitles << dialog.windowTitle();
    fileDialogFilters << dialog.nameFilters();
    fileDialogFolders << dialog.directory().path();
    return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
}
