#include "fakedialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QTimer>

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

void whenModalShows(std::function<void(QWidget *)> action)
{
    auto *poll = new QTimer;
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, action] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible())
            return;
        poll->stop();
        poll->deleteLater();
        action(modal);
    });
    poll->start();
}
