#include "mainwin/frmvaldorendokumen.h"

#include "dataaccess/windowspath.h"
#include "infowin/frminfo.h"
#include "infowin/helptext.h"
#include "mainwin/browsedialog.h"
#include "mainwin/browseplaces.h"
#include "mainwin/defaulttargets.h"
#include "mainwin/selectionframe.h"
#include "mainwin/singleprogressbar.h"
#include "mainwin/systempollthrottle.h"
#include "transfer/codecategory.h"
#include "transfer/programfiles.h"
#include "transfer/transferrun.h"
#include "uicommon/designfont.h"
#include "uicommon/dialogseam.h"
#include "uicommon/twips.h"

#include <algorithm>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QScreen>
#include <QUrl>
#include <utility>

namespace {

// The tick boxes are 13 pixels high by design: their indicator must not be
// taller, or its lower edge is cut off.
class CompactIndicatorStyle : public QProxyStyle
{
public:
    using QProxyStyle::QProxyStyle;

    int pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const override
    {
        if (metric == PM_IndicatorWidth || metric == PM_IndicatorHeight)
            return qMin(TickIndicatorSize, QProxyStyle::pixelMetric(metric, option, widget));
        return QProxyStyle::pixelMetric(metric, option, widget);
    }

    static constexpr int TickIndicatorSize = 13;
};

// Every control keeps its designed place and size. A fixed size also spares
// the window a layout request each time a label's text changes.
template<typename Control> Control *place(Control *control, const QString &name, const QRect &geometry)
{
    control->setObjectName(name);
    control->setGeometry(geometry);
    control->setFixedSize(geometry.size());
    return control;
}

// Enter presses the button that has the focus, and no other: in a plain
// window (not a dialog) there is no default button to take it instead.
QPushButton *button(QWidget *parent, const QString &name, const QString &caption, const QRect &geometry)
{
    auto *control = place(new QPushButton(caption, parent), name, geometry);
    control->setAutoDefault(true);
    return control;
}

QCheckBox *tickBox(QWidget *parent, const QString &name, const QString &caption, const QRect &geometry,
                   QStyle *style)
{
    auto *control = place(new QCheckBox(caption, parent), name, geometry);
    control->setStyle(style);
    control->setChecked(true);
    return control;
}

// Shown as written: a code or description that looks like markup is still
// only text.
QLabel *label(QWidget *parent, const QString &name, const QString &caption, const QRect &geometry)
{
    auto *control = place(new QLabel(caption, parent), name, geometry);
    control->setTextFormat(Qt::PlainText);
    return control;
}

} // namespace

frmValdorenDokumen::frmValdorenDokumen(const QString &programFolder, QWidget *parent)
    : QWidget(parent), m_programFolder(programFolder)
{
    setObjectName(QStringLiteral("frmValdorenDokumen"));
    setWindowTitle(QStringLiteral("Valdoren Baru ke Lorvanta"));
    setWindowIcon(QIcon(QStringLiteral(":/valdoren.xpm")));
    setFont(designFont());
    setFixedSize(twipsToPixels(6525), twipsToPixels(3465));
    createControls();
    setTabOrder();
    connectHandlers();
    cmdOk->setFocus();
    Form_Load();
}

void frmValdorenDokumen::createControls()
{
    Command4 = button(this, QStringLiteral("Command4"), QStringLiteral("?"), twipsRect(4080, 2970, 465, 375));

    auto *tickStyle = new CompactIndicatorStyle;
    tickStyle->setParent(this);

    // An empty title: only the border shows.
    Frame1 = place(new SelectionFrame(this), QStringLiteral("Frame1"), twipsRect(90, 90, 6345, 2805));
    CommonDialog1 = new BrowseDialog(this, QStringLiteral("Ambil Database ROZ, VAM, LUG atau SOMA"));
    CommonDialog1->setObjectName(QStringLiteral("CommonDialog1"));
    m_browsePlaces = new BrowsePlaces(*CommonDialog1);
    // Each tick box's name and caption are its category's.
    const auto tickBoxFor = [this, tickStyle](QLatin1String sourceTable, const QRect &geometry) {
        const auto &categories = transfer::codeCategories();
        const auto category
            = std::find_if(categories.begin(), categories.end(),
                           [sourceTable](const auto &c) { return c.sourceTable == sourceTable; });
        return tickBox(Frame1, category->tickBoxName, category->caption, geometry, tickStyle);
    };
    chkPelLN = tickBoxFor(QLatin1String("PelLN"), twipsRect(2670, 1650, 2205, 195));
    chkPelDN = tickBoxFor(QLatin1String("PelDN"), twipsRect(2670, 1350, 2205, 195));
    chkNegara = tickBoxFor(QLatin1String("Negara"), twipsRect(2670, 1050, 2595, 195));
    chkValuta = tickBoxFor(QLatin1String("Valuta"), twipsRect(360, 1650, 1695, 195));
    chkKemasan = tickBoxFor(QLatin1String("Kemasan"), twipsRect(360, 1350, 1695, 195));
    chkSatuan = tickBoxFor(QLatin1String("Satuan"), twipsRect(360, 1050, 1695, 195));
    txtFileName
        = place(new QLineEdit(Frame1), QStringLiteral("txtFileName"), twipsRect(1380, 2220, 3945, 285));
    cmdBrowse = button(Frame1, QStringLiteral("cmdBrowse"), QStringLiteral("Browse"),
                       twipsRect(5400, 2220, 735, 345));
    ProgressBar1 = place(new SingleProgressBar(Frame1), QStringLiteral("ProgressBar1"),
                         twipsRect(180, 2610, 5985, 105));
    Label3 = label(Frame1, QStringLiteral("Label3"),
                   QStringLiteral("Pilih jenis kode tabel referensi untuk dimasukkan:"),
                   twipsRect(210, 570, 3600, 195));
    Label1 = label(Frame1, QStringLiteral("Label1"), QStringLiteral("Pilih Database"),
                   twipsRect(210, 2220, 1020, 195));
    Label2 = label(Frame1, QStringLiteral("Label2"),
                   QStringLiteral("Ini untuk valdoren Baru sesuai P-44/ZT/2009"),
                   twipsRect(210, 300, 3600, 195));

    Command2
        = button(this, QStringLiteral("Command2"), QStringLiteral("Cancel"), twipsRect(5580, 2970, 825, 375));
    cmdOk = button(this, QStringLiteral("cmdOk"), QStringLiteral("Ok"), twipsRect(4620, 2970, 885, 375));
    lblInfo
        = label(this, QStringLiteral("lblInfo"), QStringLiteral("Klik [Ok] untuk memasukkan kode-kode baru"),
                twipsRect(90, 3060, 3480, 195));
}

// By the design's tab indexes; labels, the frame and the progress bar take
// no focus and drop out of the chain.
void frmValdorenDokumen::setTabOrder()
{
    const QList<QWidget *> chain = {cmdOk,     Command2,  cmdBrowse, txtFileName, chkSatuan, chkKemasan,
                                    chkValuta, chkNegara, chkPelDN,  chkPelLN,    Command4};
    for (qsizetype i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain.at(i - 1), chain.at(i));
}

void frmValdorenDokumen::centreOnScreen()
{
    m_centreOnceFramed = true;
    moveToScreenCentre();
}

void frmValdorenDokumen::moveToScreenCentre()
{
    const QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
}

// Centred before it was mapped, the window was placed by its client area
// alone; once the window manager has framed it, the frame is centred.
void frmValdorenDokumen::moveEvent(QMoveEvent *event)
{
    QWidget::moveEvent(event);
    if (m_centreOnceFramed && frameGeometry() != geometry()) {
        m_centreOnceFramed = false;
        moveToScreenCentre();
    }
}

void frmValdorenDokumen::connectHandlers()
{
    connect(cmdOk, &QPushButton::clicked, this, &frmValdorenDokumen::cmdOk_Click);
    connect(Command2, &QPushButton::clicked, this, &frmValdorenDokumen::Command2_Click);
    connect(cmdBrowse, &QPushButton::clicked, this, &frmValdorenDokumen::cmdBrowse_Click);
    connect(Command4, &QPushButton::clicked, this, &frmValdorenDokumen::Command4_Click);
    m_statusPainter.setInterval(StatusPaintInterval);
    connect(&m_statusPainter, &QTimer::timeout, this, &frmValdorenDokumen::paintStatusLine);
}

void frmValdorenDokumen::Form_Load()
{
    bStop = true;
    const QString installed = defaulttargets::firstInstalled();
    if (!installed.isEmpty())
        txtFileName->setText(installed);
}

QString frmValdorenDokumen::browseFilter()
{
    return QStringLiteral("Database Lorvanta| dbROZ.mdb; dbVAM.mdb; dbLUG.mdb; dbSOMA.mdb");
}

// The dialog keeps its title and its last folder; the handler sets only the
// filter, and offers the Wine prefix's C: drive among the places. A
// cancelled dialog leaves the box as it was. A file on a drive of the
// prefix shows as the operator knows it, "C:\Karsela\...".
void frmValdorenDokumen::cmdBrowse_Click()
{
    CommonDialog1->setNameFilters(defaulttargets::qtNameFilters(browseFilter()));
    m_browsePlaces->offer(dataaccess::wineCDrive());
    const QString chosen = DialogSeam::current().chooseFile(*CommonDialog1);
    if (!chosen.isEmpty())
        txtFileName->setText(QDir::toNativeSeparators(dataaccess::windowsFormOf(chosen)));
}

// Modal: the window takes no input until the help closes, and a run that
// is active waits in its yield meanwhile.
void frmValdorenDokumen::Command4_Click()
{
    frmInfo info(m_programFolder, this);
    info.setText(helpText());
    info.exec();
}

void frmValdorenDokumen::closeEvent(QCloseEvent *event)
{
    if (!m_running) {
        event->accept();
        return;
    }
    event->ignore();
    bStop = true;
    m_closeAfterRun = true;
}

// The transfer runs inside this handler; its yields let the window repaint
// and Cancel and "?" react meanwhile.
void frmValdorenDokumen::cmdOk_Click()
{
    // Nor while Browse is open (assistive technology still reaches Ok): the
    // file picked there would go into the box under the run.
    if (m_running || CommonDialog1->isVisible())
        return;
    m_running = true;
    throttleStatusPainting(true);
    {
        const SystemPollThrottle pollOncePerMillisecond;
        transfer::TransferRun(*this, transfer::newCodesPath(m_programFolder)).run();
    }
    throttleStatusPainting(false);
    m_running = false;
    if (std::exchange(m_closeAfterRun, false))
        close();
}

// The status line changes with every row, thousands of times a second, but
// the screen shows at most one picture of it per refresh: painting it more
// often would cost the run several times its inserts. While throttled, the
// label keeps each new text and is painted by the timer.
void frmValdorenDokumen::throttleStatusPainting(bool throttle)
{
    lblInfo->setUpdatesEnabled(!throttle);
    if (throttle)
        m_statusPainter.start();
    else
        m_statusPainter.stop();
}

void frmValdorenDokumen::paintStatusLine()
{
    lblInfo->setUpdatesEnabled(true);
    lblInfo->repaint();
    lblInfo->setUpdatesEnabled(false);
}

void frmValdorenDokumen::Command2_Click()
{
    if (bStop)
        close();
    else
        bStop = true; // the run stops at its next check
}

bool frmValdorenDokumen::isTicked(const transfer::CodeCategory &category) const
{
    const auto *tick = findChild<QCheckBox *>(category.tickBoxName);
    return tick && tick->isChecked();
}

QString frmValdorenDokumen::targetPath() const
{
    return txtFileName->text();
}

float frmValdorenDokumen::progressValue() const
{
    return ProgressBar1->singleValue();
}

void frmValdorenDokumen::setProgressValue(float value)
{
    ProgressBar1->setSingleValue(value);
}

void frmValdorenDokumen::setStatusLine(const QString &text)
{
    lblInfo->setText(text);
}

void frmValdorenDokumen::setSelectionEnabled(bool enabled)
{
    Frame1->setInputBlocked(!enabled);
}

void frmValdorenDokumen::setOkEnabled(bool enabled)
{
    cmdOk->setEnabled(enabled);
}

void frmValdorenDokumen::setCancelCaption(const QString &caption)
{
    Command2->setText(caption);
}

void frmValdorenDokumen::showMessage(const QString &text)
{
    DialogSeam::current().showMessage(this, text);
}

void frmValdorenDokumen::yield()
{
    QCoreApplication::processEvents();
}
