#include "fakedialogs.h"

#include "uicommon/messagebox.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QTest>
#include <QTimer>

// The very box the program shows, read as a screen reader reads it.
void FakeDialogs::showMessage(QWidget *parent, const QString &text)
{
    MessageBox box(text, parent);
    messages << readAloud(&box);
    messageParents << parent;
    if (whileMessageShown)
        whileMessageShown(messages.last());
}

// Each answer is typed into the dialog's own name field, and the dialog is
// told to take it, as Enter does: what it then reports is the choice.
QString FakeDialogs::chooseFile(QFileDialog &dialog)
{
    fileDialogTitles << dialog.windowTitle();
    fileDialogFilters << dialog.nameFilters();
    fileDialogFolders << dialog.directory().path();
    if (fileAnswers.isEmpty())
        return {};
    QString chosen;
    const auto answer = QObject::connect(&dialog, &QFileDialog::fileSelected,
                                         [&chosen](const QString &file) { chosen = file; });
    // As the operator types, what was picked before is let go.
    dialog.findChild<QListView *>(QStringLiteral("listView"))->clearSelection();
    dialog.findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(fileAnswers.takeFirst());
    QMetaObject::invokeMethod(&dialog, "accept");
    QObject::disconnect(answer);
    return chosen;
}

QString readAloud(QWidget *box)
{
    QAccessibleInterface *reader = QAccessible::queryAccessibleInterface(box);
    QStringList texts;
    for (int i = 0; i < reader->childCount(); ++i) {
        QAccessibleInterface *child = reader->child(i);
        if (child->role() == QAccessible::StaticText && !child->text(QAccessible::Name).isEmpty())
            texts << child->text(QAccessible::Name);
    }
    return texts.join(QLatin1Char('\n'));
}

QStringList contextMenuOf(QWidget *widget, const QPoint &point)
{
    QStringList entries;
    QTimer poll; // the menu shows at once, or only once the event is handled
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!menu)
            return;
        poll.stop();
        for (const QAction *action : menu->actions()) {
            if (action->isVisible() && !action->isSeparator())
                entries << action->text();
        }
        menu->close();
    });
    poll.start();
    QContextMenuEvent rightClick(QContextMenuEvent::Mouse, point, widget->mapToGlobal(point));
    QApplication::sendEvent(widget, &rightClick);
    static_cast<void>(QTest::qWaitFor([&poll] { return !poll.isActive(); })); // none: no entries
    return entries;
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
