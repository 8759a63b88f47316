#pragma once

#include <QString>

class QFileDialog;
class QWidget;

// Every message box and every file-open dialog of the program passes through
// here, so that tests can answer them, and read their exact texts, without a
// modal loop waiting for a person.
class DialogSeam
{
public:
    virtual ~DialogSeam() = default;

    // A modal message: title "Valdoren", no icon, one OK button.
    virtual void showMessage(QWidget *parent, const QString &text) = 0;

    // Shows the dialog modally; the chosen file, or empty text when the
    // operator cancels.
    virtual QString chooseFile(QFileDialog &dialog) = 0;

    static DialogSeam &current();
    // Answers dialogs instead of the operator until set back to nullptr.
    static void setCurrent(DialogSeam *seam);
};

// The title of every message box: the program's name.
inline QString applicationTitle()
{
    return QStringLiteral("Valdoren");
}
