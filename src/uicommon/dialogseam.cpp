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
