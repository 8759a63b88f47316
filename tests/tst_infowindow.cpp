#include "fakedialogs.h"
#include "infowin/frminfo.h"
#include "infowin/helptext.h"
#include "infowin/linklabel.h"
#include "mainwin/frmvaldorendokumen.h"
#include "testdatabases.h"

#include "transfer/windowlanguage.h"

#include <QApplication>
#include <QBitmap>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace testsupport;
using Geometry = frmInfo::TwipsGeometry;

namespace {

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace

class TestInfoWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY(transfer::useWindowLanguage()); }
    void init()
    {
        m_folder.reset(new QTemporaryDir);
        // Where the operator's own folder stands in for the program folder.
        m_dataHome.reset(new QTemporaryDir);
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_dataHome->path()));
        qputenv("HOME", QFile::encodeName(m_dataHome->path())); // nor the operator's own
    }

    void savesTheTextOnEveryClosePath_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("text");
        const QString text = QStringLiteral("first line\r\nsecond line\r\n\r\nlast");
        for (const char *path : {"Close button", "access key", "Escape", "close box", "Enter on Close"})
            QTest::newRow(path) << path << text;
        QTest::newRow("empty text") << "Close button" << QString();
        QTest::newRow("lone line feeds kept as set") << "Escape" << QStringLiteral("a\nb\rc");
    }

    void savesTheTextOnEveryClosePath()
    {
        QFETCH(QString, path);
        QFETCH(QString, text);
        FakeDialogs dialogs;
        frmInfo info(m_folder->path());
        info.setText(text);
        info.show();
        QVERIFY(QTest::qWaitForWindowActive(&info));
        if (path == QLatin1String("Close button")) {
            QTest::mouseClick(info.cmdClose, Qt::LeftButton);
        } else if (path == QLatin1String("access key")) {
            QTest::keyClick(info.windowHandle(), Qt::Key_C, Qt::AltModifier);
        } else if (path == QLatin1String("Escape")) {
            QTest::keyClick(info.txtInfo, Qt::Key_Escape);
        } else if (path == QLatin1String("Enter on Close")) {
            info.cmdClose->setFocus();
            QTest::keyClick(info.cmdClose, Qt::Key_Return);
        } else {
            QVERIFY(info.close());
        }
        QTRY_VERIFY(!info.isVisible()); // an access key clicks with a short animation
        QVERIFY(dialogs.messages.isEmpty());
        QCOMPARE(fileBytes(info.lastInfoPath()), text.toUtf8() + "\r\n");
    }

    void enterInTheTextDoesNotClose()
    {
        frmInfo info(m_folder->path());
        info.setText(QStringLiteral("x"));
        info.show();
        QVERIFY(QTest::qWaitForWindowActive(&info));
        QCOMPARE(QApplication::focusWidget(), info.txtInfo);
        QTest::keyClick(info.txtInfo, Qt::Key_Return);
        QVERIFY(info.isVisible());
        QCOMPARE(info.txtInfo->toPlainText(), QStringLiteral("x")); // read-only
        QTest::keyClick(info.txtInfo, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), info.cmdClose);
        QTest::keyClick(info.txtInfo, Qt::Key_Escape);
    }

    void pathIsTheProgramFolder()
    {
        frmInfo info(QStringLiteral("/opt/valdoren"));
        QCOMPARE(info.lastInfoPath(),
                 QStringLiteral("/opt/valdoren") + QDir::separator() + QStringLiteral("LastInfo.txt"));
    }

    void layoutAtTheOpeningSize()
    {
        frmInfo info(m_folder->path());
        info.show();
        QVERIFY(QTest::qWaitForWindowExposed(&info));
        QCOMPARE(info.size(), QSize(467, 300)); // 7005 x 4500 twips
        QCOMPARE(info.closeButtonGeometry(), (Geometry {5750, 3965, 1155, 435}));
        QCOMPARE(info.textBoxGeometry(), (Geometry {100, 100, 6805, 3765}));
        QCOMPARE(info.cmdClose->geometry(), QRect(383, 264, 77, 29));
        QCOMPARE(info.txtInfo->geometry(), QRect(7, 7, 454, 251));
        QCOMPARE(info.cmdClip->geometry(), QRect(266, 272, 92, 13));
        QCOMPARE(info.windowTitle(), QStringLiteral("Info"));
        QVERIFY(info.windowIcon().isNull());
        info.reject();
    }

    void shrinkingKeepsTheLastValidSizes()
    {
        frmInfo info(m_folder->path());
        info.show();
        QVERIFY(QTest::qWaitForWindowExposed(&info));
        info.resize(100, 60); // 1500 x 900 twips
        QTRY_COMPARE(info.textBoxGeometry(), (Geometry {100, 100, 1300, 165}));
        QCOMPARE(info.closeButtonGeometry(), (Geometry {245, 365, 1155, 435}));
        info.resize(10, 40); // 150 x 600 twips: no room for the text box
        QTRY_COMPARE(info.closeButtonGeometry(), (Geometry {-1105, 65, 1155, 435}));
        QCOMPARE(info.textBoxGeometry(), (Geometry {100, 100, 1300, 165})); // unchanged
        info.resize(200, 200);
        QTRY_COMPARE(info.textBoxGeometry(), (Geometry {100, 100, 2800, 2265}));
        info.reject();
    }

    void textBoxProperties()
    {
        frmInfo info(m_folder->path());
        QVERIFY(info.txtInfo->isReadOnly());
        QCOMPARE(info.txtInfo->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QVERIFY(info.txtInfo->verticalScrollBarPolicy() != Qt::ScrollBarAlwaysOff);
        QCOMPARE(info.txtInfo->lineWrapMode(), QPlainTextEdit::WidgetWidth);
        QCOMPARE(info.txtInfo->palette().color(QPalette::Base), info.palette().color(QPalette::ToolTipBase));
        QVERIFY(info.txtInfo->textInteractionFlags() & Qt::TextSelectableByMouse);
        info.setText(QString(5000, QLatin1Char('w')) + QStringLiteral("\r\nend"));
        info.show();
        QVERIFY(QTest::qWaitForWindowExposed(&info));
        QTRY_VERIFY(info.txtInfo->verticalScrollBar()->maximum() > 0); // tall text scrolls
        // Qt's own menus, in Indonesian.
        QCOMPARE(contextMenuOf(info.txtInfo->viewport()),
                 QStringList({"&Salin\tCtrl+C", "Pilih Semua\tCtrl+A"}));
        QCOMPARE(contextMenuOf(info.txtInfo->verticalScrollBar()),
                 QStringList({"Gulir ke sini", "Paling atas", "Paling bawah", "Halaman ke atas",
                              "Halaman ke bawah", "Gulir ke atas", "Gulir ke bawah"}));
        info.reject();
    }

    void copyLinkLooksAndActsLikeALink()
    {
        frmInfo info(m_folder->path());
        LinkLabel *link = info.cmdClip;
        QCOMPARE(link->text(), QStringLiteral("Copy to ClipBoard"));
        QCOMPARE(link->toolTip(), QStringLiteral("Copy to ClipBoard"));
        QCOMPARE(link->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        QCOMPARE(link->focusPolicy(), Qt::NoFocus);
        const QFont font = link->font();
        QVERIFY(font.underline());
        QCOMPARE(font.weight(), QFont::Normal);
        QCOMPARE(font.pointSizeF(), 8.25);
        QCOMPARE(font.families().value(0), QStringLiteral("MS Sans Serif"));
        QVERIFY(QFontMetrics(font).horizontalAdvance(link->text()) <= link->width());
        const QCursor cursor = link->cursor();
        QCOMPARE(cursor.hotSpot(), QPoint(5, 0));
        QCOMPARE(cursor.bitmap().size(), QSize(32, 32));
        QCOMPARE(cursor.mask().size(), QSize(32, 32));
    }

    void copyPutsTheWholeTextOnTheClipboard_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("help text") << helpText();
        QTest::newRow("empty") << QString();
    }

    void copyPutsTheWholeTextOnTheClipboard()
    {
        QFETCH(QString, text);
        QApplication::clipboard()->setText(QStringLiteral("old"));
        FakeDialogs dialogs;
        frmInfo info(m_folder->path());
        info.setText(text);
        info.show();
        QVERIFY(QTest::qWaitForWindowExposed(&info));
        QTest::mouseClick(info.cmdClip, Qt::LeftButton);
        QCOMPARE(QApplication::clipboard()->text(), text);
        QCOMPARE(dialogs.messages, QStringList {"Text Copied"});
        QCOMPARE(dialogs.messageParents, QList<QWidget *> {&info});
        QTest::mouseClick(info.cmdClip, Qt::RightButton); // a click is the left button's
        QCOMPARE(dialogs.messages.size(), 1);
        info.reject();
    }

    // Where the program folder does not take the file, the operator's data
    // folder does; only when neither does, a message says so.
    void savesWhereAFolderTakesItAndTheWindowStillCloses_data()
    {
        QTest::addColumn<bool>("programFolderWritable");
        QTest::addColumn<bool>("dataHomeWritable");
        QTest::addColumn<QString>("savedIn");
        QTest::newRow("program folder writable") << true << true << "program folder";
        QTest::newRow("program folder read-only") << false << true << "data folder";
        QTest::newRow("neither writable: a message") << false << false << QString();
        QTest::newRow("a relative XDG_DATA_HOME is ignored") << false << true << "default data folder";
    }

    void savesWhereAFolderTakesItAndTheWindowStillCloses()
    {
        QFETCH(bool, programFolderWritable);
        QFETCH(bool, dataHomeWritable);
        QFETCH(QString, savedIn);
        const QString path = m_folder->filePath(QStringLiteral("LastInfo.txt"));
        QString standIn = m_dataHome->filePath(QStringLiteral("valdoren/LastInfo.txt"));
        if (savedIn == QLatin1String("default data folder")) { // under the home folder, not the working one
            qputenv("XDG_DATA_HOME", "relative");
            standIn = m_dataHome->filePath(QStringLiteral(".local/share/valdoren/LastInfo.txt"));
        }
        writeFile(path, "older text\r\n");
        const auto restore = qScopeGuard([&] {
            makeWritable(m_folder->path());
            makeWritable(m_dataHome->path());
        });
        if ((!programFolderWritable && !makeReadOnly(m_folder->path()))
            || (!dataHomeWritable && !makeReadOnly(m_dataHome->path())))
            QSKIP("cannot make a folder read-only here (chattr missing?)");
        FakeDialogs dialogs;
        frmInfo info(m_folder->path());
        info.setText(QStringLiteral("new text"));
        info.show();
        QVERIFY(QTest::qWaitForWindowExposed(&info));
        QTest::mouseClick(info.cmdClose, Qt::LeftButton);
        QVERIFY(!info.isVisible());
        QCOMPARE(fileBytes(path),
                 QByteArray(savedIn == "program folder" ? "new text\r\n" : "older text\r\n")); // not cut off
        QCOMPARE(fileBytes(standIn), QByteArray(savedIn.contains("data") ? "new text\r\n" : "<missing>"));
        QCOMPARE(dialogs.messages.size(), savedIn.isEmpty() ? 1 : 0);
        if (savedIn.isEmpty())
            QVERIFY2(dialogs.messages.first().startsWith(
                         QStringLiteral("Teks bantuan tidak dapat disimpan sebagai %1, maupun sebagai %2.\n"
                                        "Folder tidak dapat ditulisi (")
                             .arg(path, standIn)),
                     qPrintable(dialogs.messages.first()));
    }

    void helpButtonTwiceShowsTheSameTextAndSavesItEachTime()
    {
        FakeDialogs dialogs;
        frmValdorenDokumen window(m_folder->path());
        window.centreOnScreen();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QString saved = m_folder->filePath(QStringLiteral("LastInfo.txt"));
        for (int press = 0; press < 2; ++press) {
            QFile::remove(saved);
            bool seen = false;
            whenModalShows([&](QWidget *modal) {
                const auto closeIt = qScopeGuard([modal] { modal->close(); });
                auto *info = qobject_cast<frmInfo *>(modal);
                QVERIFY(info);
                QCOMPARE(info->txtInfo->toPlainText(),
                         QString(helpText()).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
                QCOMPARE(info->size(), QSize(467, 300));
                QVERIFY(info->windowIcon().isNull()); // not the opener's icon
                QVERIFY(qAbs(info->frameGeometry().center().x() - window.frameGeometry().center().x()) <= 2);
                QTRY_COMPARE(QApplication::focusWidget(), info->txtInfo); // once it is active
                info->resize(300, 200); // the next opening starts afresh
                seen = true;
            });
            QTest::mouseClick(window.Command4, Qt::LeftButton);
            QVERIFY(seen);
            QCOMPARE(fileBytes(saved), helpText().toUtf8() + "\r\n");
        }
        QVERIFY(dialogs.messages.isEmpty());
    }

    void helpTextIsSevenLines()
    {
        const QStringList lines = helpText().split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 7);
        QCOMPARE(lines.first(),
                 QStringLiteral("Program ini untuk memasukkan kode-kode satuan baru sesuai P-44/ZT/2009 "
                                "tanggal 23 November 2009 tentang Daftar Kode Standar Internasional yang "
                                "Digunakan untuk Pengisian Pemberitahuan Pabean, ke dalam Lorvanta."));
        QCOMPARE(lines.at(4), QStringLiteral("- Program LUG/ZT 23 versi 2.5 (dbLUG.mdb)"));
        QCOMPARE(lines.last(),
                 QStringLiteral("Klik [Browse] untuk mencari database dimaksud, kemudian klik [Ok]."));
        QVERIFY(!helpText().endsWith(QLatin1Char('\n')));
    }

    void helpDuringARunPausesIt()
    {
        CodeLists lists;
        for (int i = 0; i < 200; ++i)
            lists["Satuan"].append({QStringLiteral("S%1").arg(i), QStringLiteral("Satuan %1").arg(i)});
        makeSource(m_folder->filePath(QStringLiteral("NewCodes.mdb")), lists);
        const QString target = m_folder->filePath(QStringLiteral("dbROZ.mdb"));
        makeTarget(target, lorvanta::Program::Roz);
        FakeDialogs dialogs;
        frmValdorenDokumen window(m_folder->path());
        window.txtFileName->setText(target);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        bool helped = false;
        QTimer probe;
        probe.setInterval(0);
        connect(&probe, &QTimer::timeout, this, [&] {
            if (helped || !window.isRunning() || !window.lblInfo->text().startsWith(QStringLiteral("S20 ")))
                return;
            helped = true;
            whenModalShows([&](QWidget *modal) {
                const auto closeIt = qScopeGuard([modal] { modal->close(); });
                const QString shown = window.lblInfo->text();
                QTest::qWait(100); // events flow, yet the run waits
                QCOMPARE(window.lblInfo->text(), shown);
                QVERIFY(window.isRunning());
            });
            QTest::mouseClick(window.Command4, Qt::LeftButton);
        });
        probe.start();
        QTest::mouseClick(window.cmdOk, Qt::LeftButton);
        QVERIFY(helped);
        QCOMPARE(dialogs.messages, QStringList {"Selesai"});
        QCOMPARE(tableRows(target, QStringLiteral("GorvanPelikMiro"), QStringLiteral("tblSatuan")).size(),
                 200);
        QCOMPARE(fileBytes(m_folder->filePath(QStringLiteral("LastInfo.txt"))), helpText().toUtf8() + "\r\n");
    }

private:
    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<QTemporaryDir> m_dataHome;
};

QTEST_MAIN(TestInfoWindow)
#include "tst_infowindow.moc"
