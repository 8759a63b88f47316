#include "uicommon/dialogseam.h"

#include <QFileDialog>
#include <QMessageBox>

namespace {

class ModalDialogs : public DialogSeam
{
public:
    void showMessage(QWidget *parent, const QString &text) override
    {
        QMessageBox box(QMessageBox::NoIcon, applicationTitle(), text, QMessageBox::Ok, parent);
        box.setTextFormat(Qt::PlainText);
        box.exec();
    }

    QString chooseFile(QFileDialog &dialog) override
    {
        if (dialog.exec() != QDialog::Accepted)
            return {};
        return dialog.selectedFiles().value(0);
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
