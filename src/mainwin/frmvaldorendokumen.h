#pragma once

#include "transfer/runwindow.h"

#include <chrono>
#include <QTimer>
#include <QWidget>

class BrowsePlaces;
class QCheckBox;
class QFileDialog;
class QLabel;
class QLineEdit;
class QPushButton;
class SelectionFrame;
class SingleProgressBar;

// The main window: the target database, the code categories to transfer, a
// progress bar and status line, and the Ok, Cancel and "?" buttons. The
// controls keep the names and the fixed places of the window's design.
// Design names: Command4 is "?", Command2 Cancel (later "Close"), Frame1 the frame of choices.
class frmValdorenDokumen : public QWidget, private transfer::RunWindow
{
    Q_OBJECT

public:
    // programFolder: where NewCodes.mdb lies.
    explicit frmValdorenDokumen(const QString &programFolder, QWidget *parent = nullptr);

    // Places the window, with the frame the window manager gives it, in the
    // middle of the screen it is on. The frame is known only once the window
    // is mapped; the window is centred again then.
    void centreOnScreen();

    // Controls, in the order of the window's definition.
    QPushButton *Command4;
    SelectionFrame *Frame1;
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

    // The stop flag: true while no run is active, and once a stop is requested.
    bool bStop = true;

    // True while the transfer run is active.
    bool isRunning() const { return m_running; }

    // The Browse dialog's filter, in the common dialog's form.
    static QString browseFilter();

protected:
    // A close request during a run asks the run to stop, and the window
    // closes once the run has ended: the run holds the window's controls.
    void closeEvent(QCloseEvent *event) override;
    void moveEvent(QMoveEvent *event) override;

private:
    void createControls();
    void setTabOrder();
    void moveToScreenCentre();
    void connectHandlers();

    void throttleStatusPainting(bool throttle);
    void paintStatusLine();

    void Form_Load();
    void cmdOk_Click();
    void Command2_Click();
    void cmdBrowse_Click();
    void Command4_Click();

    // transfer::RunWindow
    bool stopFlag() const override { return bStop; }
    void setStopFlag(bool stop) override { bStop = stop; }
    bool isTicked(const transfer::CodeCategory &category) const override;
    QString targetPath() const override;
    float progressValue() const override;
    void setProgressValue(float value) override;
    void setStatusLine(const QString &text) override;
    void setSelectionEnabled(bool enabled) override;
    void setOkEnabled(bool enabled) override;
    void setCancelCaption(const QString &caption) override;
    void showMessage(const QString &text) override;
    void yield() override;

    static constexpr std::chrono::milliseconds StatusPaintInterval {16}; // a 60 Hz screen's refresh

    QString m_programFolder;
    BrowsePlaces *m_browsePlaces = nullptr;
    QTimer m_statusPainter;
    bool m_running = false;
    bool m_closeAfterRun = false;
    bool m_centreOnceFramed = false;
};
