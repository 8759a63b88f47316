#include "uicommon/dialogseam.h"

#include <QFileDialog>
#include <QMessageBox>

namespace {

// A path has no space to wrap at, and Qt breaks a line after a slash but
// neither after a backslash nor within a name: left so, a long one is cut at
// the box's edge, the file name with it. An invisible break opportunity
// after each separator, and every so many characters of a longer name, shows
// it whole.
QString withPathsBreakable(const QString &text)
{
    constexpr qsizetype LongestUnbroken = 32;
    const QChar breakOpportunity(0x200B); // zero width space
    QString breakable;
    breakable.reserve(text.size() + text.size() / 8);
    qsizetype unbroken = 0;
    for (const QChar c : text) {
        breakable += c;
        unbroken = c.isSpace() ? 0 : unbroken + 1;
        const bool longEnough = unbroken >= LongestUnbroken && !c.isHighSurrogate(); // never within a pair
        if (c == QLatin1Char('\\') || c == QLatin1Char('/') || longEnough) {
            breakable += breakOpportunity;
            unbroken = 0;
        }
    }
    return breakable;
}

class ModalDialogs : public DialogSeam
{
public:
    void showMessage(QWidget *parent, const QString &text) override
    {
        QMessageBox box(QMessageBox::NoIcon, applicationTitle(), withPathsBreakable(text), QMessageBox::Ok,
                        parent);
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
