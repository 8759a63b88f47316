#pragma once

#include <QWidget>

class QCheckBox;
class QFileDialog;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class SingleProgressBar;

// The main window: the target database, the code categories to transfer, a
// progress bar and status line, and the Ok, Cancel and "?" buttons. The
// controls keep the names and the fixed places of the window's design.
class frmValdorenDokumen : public QWidget
{
    Q_OBJECT

public:
    explicit frmValdorenDokumen(QWidget *parent = nullptr);

    // Places the window in the middle of the screen it is on.
    void centreOnScreen();

    // The window's font: every text of the window fits its fixed place in it.
    static QFont designFont();

    // Controls, in the order of the window's definition.
    QPushButton *Command4;
    QGroupBox *Frame1;
    QFileDialog *CommonDialog1;
    QCheckBox *chkPelLN;
    QCheckBox *chkPelDN;
    QCheckBox *chkNegara;
    QCheckBox *chkValuta;
    QCheckBox *chkKemasan;
    QCheckBox *chkSatuan;
    QLineEdit *txtFileName;
    QPushButton *cmdBrowse;
    SingleProgressBar *ProgressBar1;
    QLabel *Label3;
    QLabel *Label1;
    QLabel *Label2;
    QPushButton *Command2;
    QPushButton *cmdOk;
    QLabel *lblInfo;

private:
    void createControls();
    void setTabOrder();
};
