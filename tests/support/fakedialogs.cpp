#include "fakedialogs.h"

#include "uicommon/messagebox.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QListView>
#include <QSignalSpy>
#include <QTimer>
// The switch a screen reader's arrival turns on: Qt keeps it in the
// platform's accessibility, which has no public face.
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>
#include <QtGui/private/qguiapplication_p.h>

FakeDialogs::FakeDialogs()
{
    DialogSeam::setCurrent(this);
    listenAsAScreenReader();
}

void FakeDialogs::showMessage(QWidget *parent, const QString &text)
{
    MessageBox box(text, parent); // the very box the program shows
    messages << readAloud(&box);
    messageParents << parent;
    if (whileMessageShown)
        whileMessageShown(messages.last());
}

QString FakeDialogs::chooseFile(QFileDialog &dialog)
{
    fileDialogTitles << dialog.windowTitle();
    fileDialogFilters << dialog.nameFilters();
    fileDialogFolders << dialog.directory().path();
    if (fileAnswers.isEmpty())
        return {};
    // Typed into its own name field, and taken as Enter takes it.
    QSignalSpy chosen(&dialog, &QFileDialog::fileSelected);
    dialog.findChild<QListView *>(QStringLiteral("listView"))->clearSelection(); // as typing lets it go
    dialog.findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(fileAnswers.takeFirst());
    QMetaObject::invokeMethod(&dialog, "accept");
    return chosen.isEmpty() ? QString() : chosen.first().first().toString();
}

void listenAsAScreenReader()
{
    QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(true);
}

// A label whose text, read character by character, is not its name reads
// as both, so that a comparison with the message fails.
QString readAloud(QWidget *box)
{
    QAccessibleInterface *reader = QAccessible::queryAccessibleInterface(box);
    QStringList texts;
    for (int i = 0; i < reader->childCount(); ++i) {
        QAccessibleInterface *label = reader->child(i);
        if (label->role() != QAccessible::StaticText)
            continue;
        const QString name = label->text(QAccessible::Name);
        QAccessibleTextInterface *text = label->textInterface();
        const QString characters = text ? text->text(0, text->characterCount()) : QString();
        texts << (characters == name ? name : QStringLiteral("name: %1, text: %2").arg(name, characters));
    }
    return texts.join(QLatin1Char('\n'));
}

QStringList contextMenuOf(QWidget *widget, const QPoint &point)
{
    QStringList entries;
    const auto read = [&entries] {
        if (QWidget *menu = QApplication::activePopupWidget()) {
            for (const QAction *action : menu->actions())
                entries << (action->isVisible() ? action->text() : QString()); // a separator has none
            entries.removeAll(QString());
            menu->close();
        }
    };
    QTimer poll; // a menu that runs a loop of its own is read from inside it
    QObject::connect(&poll, &QTimer::timeout, read);
    poll.start(5);
    QContextMenuEvent rightClick(QContextMenuEvent::Mouse, point, widget->mapToGlobal(point));
    QApplication::sendEvent(widget, &rightClick);
    read(); // one that shows once the click is handled
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
