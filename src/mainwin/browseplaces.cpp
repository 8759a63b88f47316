#include "mainwin/browseplaces.h"

#include <QDir>
#include <QFileDialog>
#include <QListView>
#include <QUrl>

BrowsePlaces::BrowsePlaces(QFileDialog &dialog) : QObject(&dialog), m_dialog(dialog)
{
    // Qt's dialog names its side panel so; without it there is nothing to name.
    m_sidebar = dialog.findChild<QListView *>(QStringLiteral("sidebar"));
    if (!m_sidebar)
        return;
    // The dialog names each place by its folder again whenever it looks at
    // the folder anew.
    connect(m_sidebar->model(), &QAbstractItemModel::dataChanged, this, &BrowsePlaces::nameDrive);
}

void BrowsePlaces::offer(const QString &cDrive)
{
    m_cDrive = cDrive;
    QList<QUrl> places = {QUrl(QStringLiteral("file:")), QUrl::fromLocalFile(QDir::homePath())};
    if (!cDrive.isEmpty())
        places << QUrl::fromLocalFile(cDrive);
    m_dialog.setSidebarUrls(places);
    nameDrive();
}

void BrowsePlaces::nameDrive()
{
    if (!m_sidebar || m_cDrive.isEmpty())
        return;
    QAbstractItemModel *places = m_sidebar->model();
    const QString driveFolder = QDir::toNativeSeparators(QDir(m_cDrive).absolutePath());
    for (int row = 0; row < places->rowCount(); ++row) {
        const QModelIndex place = places->index(row, 0);
        // The tooltip is the place's whole path.
        const bool isDrive = QDir::toNativeSeparators(place.data(Qt::ToolTipRole).toString()) == driveFolder;
        if (isDrive && place.data(Qt::DisplayRole).toString() != QLatin1String("C:"))
            places->setData(place, QStringLiteral("C:"), Qt::DisplayRole);
    }
    fitNames();
}

// However narrow the dialog remembers its side panel, and whatever the font,
// every name shows whole.
void BrowsePlaces::fitNames()
{
    const int widest = m_sidebar->sizeHintForColumn(0);
    if (widest > 0)
        m_sidebar->setMinimumWidth(widest + 2 * m_sidebar->frameWidth() + m_sidebar->spacing() * 2);
}
