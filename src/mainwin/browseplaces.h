#pragma once

#include <QObject>
#include <QString>

class QFileDialog;
class QListView;

// The places at the side of the Browse dialog: the computer, the home folder
// and the Wine prefix's C: drive, each named whole, the drive "C:" as the
// operator knows it rather than by its folder's name. Set anew at every
// Browse: the places the dialog remembers from an earlier start may name
// the drive of a prefix that is gone.
class BrowsePlaces : public QObject
{
    Q_OBJECT

public:
    explicit BrowsePlaces(QFileDialog &dialog);

    // cDrive: the drive's folder, or empty text when the prefix has none.
    void offer(const QString &cDrive);

private:
    void nameDrive();
    void fitNames();

    QFileDialog &m_dialog;
    QListView *m_sidebar = nullptr;
    QString m_cDrive;
};
