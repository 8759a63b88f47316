#include "mainwin/browsedialog.h"

#include "dataaccess/windowspath.h"
#include "uicommon/frameallowance.h"

#include <QAction>
#include <QFileInfo>
#include <QHeaderView>
#include <QLineEdit>
#include <QScreen>
#include <QToolButton>
#include <QTreeView>

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
    fitColumnsToTheirText();
}

// Opened, it lies within the screen with its frame: Qt's own size would
// put its bottom row, and Cancel, below the edge of a small or scaled
// screen. Qt places it once it knows its size.
void BrowseDialog::setVisible(bool visible)
{
    if (visible)
        fitOnScreen();
    QFileDialog::setVisible(visible);
}

void BrowseDialog::fitOnScreen()
{
    const QSize room
        = (parentWidget() ? parentWidget()->screen() : screen())->availableGeometry().size() - FrameAllowance;
    resize(size().boundedTo(room).expandedTo(minimumSizeHint()));
}

// Each column as wide as its text: a file's name, size, type (such as
// "Basis data JET") and date show whole, the last column takes what room
// is left, and what the view cannot hold scrolls.
void BrowseDialog::fitColumnsToTheirText()
{
    if (auto *details = findChild<QTreeView *>(QStringLiteral("treeView")))
        details->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
}

// Read-only, the dialog refuses to delete, rename or make a folder; what it
// cannot do it does not offer either.
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
