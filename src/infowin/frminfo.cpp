#include "infowin/frminfo.h"

#include "infowin/linklabel.h"
#include "uicommon/designfont.h"
#include "uicommon/dialogseam.h"
#include "uicommon/twips.h"

#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QStringEncoder>

namespace {

QFont linkFont()
{
    QFont font;
    // The closest Debian has where MS Sans Serif is missing.
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                      QStringLiteral("Liberation Sans")});
    font.setPointSizeF(8.25);
    font.setWeight(QFont::Normal);
    font.setUnderline(true);
    return font;
}

// Where the program folder does not take LastInfo.txt: $XDG_DATA_HOME/valdoren,
// by default ~/.local/share/valdoren. A relative XDG_DATA_HOME is ignored,
// as the XDG rule says; Qt would take it from the working folder.
QString standInLastInfoPath()
{
    const QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    const QString folder
        = QDir::isAbsolutePath(dataHome) ? dataHome : QDir::home().filePath(QStringLiteral(".local/share"));
    return folder + QStringLiteral("/valdoren/LastInfo.txt");
}

// The bytes whole in place of the file, or nothing changed; false with the
// reason in error otherwise.
bool writeWhole(const QString &path, const QByteArray &bytes, QString *error)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    *error = file.errorString();
    return false;
}

} // namespace

frmInfo::frmInfo(const QString &programFolder, QWidget *parent)
    : QDialog(parent), m_programFolder(programFolder)
{
    setObjectName(QStringLiteral("frmInfo"));
    setWindowTitle(QStringLiteral("Info"));
    // No icon of its own, and none inherited from the opener: the window
    // manager shows its default.
    setWindowIcon(QIcon());
    setFont(designFont());
    resize(twipsToPixels(7005), twipsToPixels(4500));
    createControls();
}

void frmInfo::createControls()
{
    txtInfo = new QPlainTextEdit(this);
    txtInfo->setObjectName(QStringLiteral("txtInfo"));
    txtInfo->setReadOnly(true);
    txtInfo->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    txtInfo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    txtInfo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtInfo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QPalette palette = txtInfo->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::ToolTipBase));
    txtInfo->setPalette(palette);

    cmdClose = new QPushButton(QStringLiteral("&Close"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    // The window's cancel button (Escape), not its default one: Enter in the
    // text must not close it. Enter on the focused button still presses it.
    cmdClose->setAutoDefault(false);
    cmdClose->installEventFilter(this);
    connect(cmdClose, &QPushButton::clicked, this, &frmInfo::reject);

    cmdClip = new LinkLabel(QStringLiteral("Copy to ClipBoard"), this);
    cmdClip->setObjectName(QStringLiteral("cmdClip"));
    cmdClip->setGeometry(twipsRect(3990, 4080, 1380, 195));
    cmdClip->setFont(linkFont());
    QPalette blue = cmdClip->palette();
    blue.setColor(QPalette::WindowText, QColor(0, 0, 255));
    cmdClip->setPalette(blue);
    cmdClip->setToolTip(QStringLiteral("Copy to ClipBoard"));
    connect(cmdClip, &LinkLabel::clicked, this, &frmInfo::cmdClip_Click);

    place(txtInfo, m_textGeometry);
    place(cmdClose, m_closeGeometry);
    QWidget::setTabOrder(txtInfo, cmdClose);
    txtInfo->setFocus();
}

bool frmInfo::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == cmdClose && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            cmdClose->click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmInfo::setText(const QString &text)
{
    m_text = text;
    txtInfo->setPlainText(text);
}

QString frmInfo::lastInfoPath() const
{
    return m_programFolder + QDir::separator() + QStringLiteral("LastInfo.txt");
}

void frmInfo::place(QWidget *control, const TwipsGeometry &geometry)
{
    control->setGeometry(twipsRect(geometry.left, geometry.top, geometry.width, geometry.height));
}

void frmInfo::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    applyLayoutRule();
}

// Four steps, each on its own: a size that would come out negative keeps its
// last value, and the steps after it still run.
void frmInfo::applyLayoutRule()
{
    const int clientWidth = pixelsToTwips(width());
    const int clientHeight = pixelsToTwips(height());
    m_closeGeometry.top = clientHeight - (m_closeGeometry.height + 100);
    m_closeGeometry.left = clientWidth - (m_closeGeometry.width + 100);
    if (const int width = clientWidth - 200; width >= 0)
        m_textGeometry.width = width;
    if (const int height = clientHeight - (m_closeGeometry.height + 300); height >= 0)
        m_textGeometry.height = height;
    place(cmdClose, m_closeGeometry);
    place(txtInfo, m_textGeometry);
}

void frmInfo::cmdClip_Click()
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(m_text);
    DialogSeam::current().showMessage(this, QStringLiteral("Text Copied"));
}

void frmInfo::done(int result)
{
    saveLastInfo();
    QDialog::done(result);
}

// The text as it was set (a text box rewrites line ends its own way), then
// CR LF, in the system's 8-bit code page. Written aside and renamed, so a
// failure never leaves a cut-off file in place of the old one.
void frmInfo::saveLastInfo()
{
    QStringEncoder encoder(QStringConverter::System);
    const QByteArray bytes = encoder.encode(m_text + QStringLiteral("\r\n"));
    QString error;
    if (writeWhole(lastInfoPath(), bytes, &error))
        return;
    const QString path = standInLastInfoPath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (!writeWhole(path, bytes, &error))
        DialogSeam::current().showMessage(
            this,
            tr("The help text cannot be saved as %1, nor as %2.\n%3 (%4).\nAsk the administrator to make "
               "one of the two folders writable.")
                .arg(QDir::toNativeSeparators(lastInfoPath()), QDir::toNativeSeparators(path),
                     whyNotWritten(path), error));
}

// Most often the folder is one the operator may not write in.
QString frmInfo::whyNotWritten(const QString &path)
{
    if (!QFileInfo(QFileInfo(path).absolutePath()).isWritable())
        return tr("The folder does not take new files");
    return tr("The file cannot be written");
}
