#include "uicommon/dialogseam.h"

#include "uicommon/messagebox.h"

#include <QFileDialog>

namespace {

class ModalDialogs : public DialogSeam
{
public:
    void showMessage(QWidget *parent, const QString &text) override
    {
        MessageBox box(text, parent);
        box.exec();
    }

    // What the dialog reports choosing, which for a typed path need not be
    // among its selected files.
    QString chooseFile(QFileDialog &dialog) override
    {
        QString chosen;
        const auto answer = QObject::connect(&dialog, &QFileDialog::fileSelected,
                                             [&chosen](const QString &file) { chosen = file; });
        const bool accepted = dialog.exec() == QDialog::Accepted;
        QObject::disconnect(answer);
        return accepted ? chosen : QString();
    }
};

DialogSeam *installed = nullptr;

} // namespace

DialogSeam &DialogSeam::current()
{
    static ModalDialogs modal;
    return installed ? *installed : modal;
}

void DialogSeam::setCurrent(DialogSeam *seam)
{
    installed = seam;
}
