#include "mainwin/browsedialog.h"

#include "dataaccess/windowspath.h"

#include <QAction>
#include <QFileInfo>
#include <QLineEdit>
#include <QToolButton>

BrowseDialog::BrowseDialog(QWidget *parent, const QString &title) : QFileDialog(parent, title)
{
    // A name typed for a file that does not exist goes into the box too; the
    // run answers it.
    setFileMode(QFileDialog::AnyFile);
    setAcceptMode(QFileDialog::AcceptOpen);
    // Qt's own dialog: its filters match names without regard to case, as
    // Windows does, where the programs' databases come from. The file type
    // reads as the filter's description alone.
    setOption(QFileDialog::DontUseNativeDialog);
    setOption(QFileDialog::HideNameFilterDetails);
    setOption(QFileDialog::ReadOnly);
    offerOnlyPicking();
}

// Read-only, the dialog refuses to delete, rename or make a folder; what it
// cannot do it does not offer either. Qt names these parts so.
void BrowseDialog::offerOnlyPicking()
{
    for (const char *name : {"qt_rename_action", "qt_delete_action", "qt_new_folder_action"}) {
        if (auto *action = findChild<QAction *>(QLatin1String(name)))
            action->setVisible(false);
    }
    if (auto *newFolder = findChild<QToolButton *>(QStringLiteral("newFolderButton")))
        newFolder->hide();
}

// Qt would take "C:\Karsela\..." for a name inside the folder shown. Read
// through the Wine prefix, a folder opens; anything else is the choice, as
// typed, for the run to read as it reads the box.
void BrowseDialog::accept()
{
    auto *nameField = findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    const QString typed = nameField ? nameField->text() : QString();
    const QString local = dataaccess::localFilePath(typed);
    if (local == typed) { // no drive letter
        QFileDialog::accept();
        return;
    }
    if (QFileInfo(local).isDir()) {
        setDirectory(local);
        nameField->clear();
        return;
    }
    Q_EMIT filesSelected({typed});
    Q_EMIT fileSelected(typed);
    QDialog::accept();
}
