#pragma once

#include <QFileDialog>

// The Browse dialog: Qt's own file dialog, made only to pick a file. It
// changes nothing on disk, neither deletes nor renames nor makes a folder,
// and takes a path typed with a drive letter in its name field as the
// file-name box takes it. It opens within the screen, however large the
// scale, and its columns show a file's size, type and date whole. The parts
// of Qt's dialog it reaches go by the names Qt 6.4 gives them (its
// qfiledialog.ui); tst_targetselection fails where a later Qt names them
// otherwise.
class BrowseDialog : public QFileDialog
{
    Q_OBJECT

public:
    BrowseDialog(QWidget *parent, const QString &title);

    void setVisible(bool visible) override;

protected:
    void accept() override;

private:
    void offerOnlyPicking();
    void fitColumnsToTheirText();
    void fitOnScreen();
};
