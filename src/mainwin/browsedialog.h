#pragma once

#include <QFileDialog>

// The Browse dialog: Qt's own file dialog, made only to pick a file. It
// changes nothing on disk, neither deletes nor renames nor makes a folder,
// and takes a path typed with a drive letter in its name field as the
// file-name box takes it.
class BrowseDialog : public QFileDialog
{
    Q_OBJECT

public:
    BrowseDialog(QWidget *parent, const QString &title);

protected:
    void accept() override;

private:
    void offerOnlyPicking();
};
