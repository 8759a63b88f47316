#include "fakedialogs.h"
#include "mainwin/defaulttargets.h"
#include "mainwin/frmvaldorendokumen.h"
#include "mainwin/selectionframe.h"
#include "mainwin/singleprogressbar.h"
#include "transfer/windowlanguage.h"
#include "uicommon/designfont.h"
#include "uicommon/frameallowance.h"
#include "uicommon/messagebox.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QFileDialog>
#include <QFontInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRawFont>
#include <QScopeGuard>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSplitter>
#include <QStyleOptionButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

namespace {

// A click in the middle of a tick box may miss its text and box.
const QPoint OnTheTick(6, 6);

QRect fromTwips(int left, int top, int width, int height)
{
    return QRect(left / 15, top / 15, width / 15, height / 15);
}

QString captionOf(const QWidget *control)
{
    if (auto *button = qobject_cast<const QAbstractButton *>(control))
        return button->text();
    if (auto *label = qobject_cast<const QLabel *>(control))
        return label->text();
    if (auto *edit = qobject_cast<const QLineEdit *>(control))
        return edit->text();
    if (auto *frame = qobject_cast<const QGroupBox *>(control))
        return frame->title();
    return {};
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { m_window = std::make_unique<frmValdorenDokumen>(m_programFolder.path()); }
    void cleanup() { m_window.reset(); }

    void windowProperties()
    {
        frmValdorenDokumen &w = *m_window;
        QCOMPARE(w.objectName(), QStringLiteral("frmValdorenDokumen"));
        QCOMPARE(w.windowTitle(), QStringLiteral("Valdoren Baru ke Lorvanta"));
        QVERIFY(w.isWindow());
        QVERIFY(!qobject_cast<QDialog *>(&w));
        QCOMPARE(w.size(), QSize(435, 231)); // 6525 x 3465 twips
        QVERIFY(w.findChildren<QMenuBar *>().isEmpty());
        const QImage icon = w.windowIcon().pixmap(32, 32).toImage();
        QCOMPARE(icon.size(), QSize(32, 32));
    }

    void iconIs32By32InAtMost256Colours()
    {
        const QImage icon(QStringLiteral(":/valdoren.xpm"));
        QCOMPARE(icon.size(), QSize(32, 32));
        QSet<QRgb> colours;
        for (int y = 0; y < icon.height(); ++y)
            for (int x = 0; x < icon.width(); ++x)
                colours.insert(icon.pixel(x, y));
        QVERIFY(colours.size() > 2);
        QVERIFY(colours.size() <= 256);
    }

    void layout_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("parent");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<QString>("caption");

        auto row = [](const char *name, const char *kind, const char *parent, int l, int t, int w, int h,
                      const char *caption) {
            QTest::newRow(name) << name << kind << parent << fromTwips(l, t, w, h) << caption;
        };
        row("Frame1", "SelectionFrame", "frmValdorenDokumen", 90, 90, 6345, 2805, "");
        row("lblInfo", "QLabel", "frmValdorenDokumen", 90, 3060, 3480, 195,
            "Klik [Ok] untuk memasukkan kode-kode baru");
        row("Command4", "QPushButton", "frmValdorenDokumen", 4080, 2970, 465, 375, "?");
        row("cmdOk", "QPushButton", "frmValdorenDokumen", 4620, 2970, 885, 375, "Ok");
        row("Command2", "QPushButton", "frmValdorenDokumen", 5580, 2970, 825, 375, "Cancel");
        row("Label2", "QLabel", "Frame1", 210, 300, 3600, 195, "Ini untuk valdoren Baru sesuai P-44/ZT/2009");
        row("Label3", "QLabel", "Frame1", 210, 570, 3600, 195,
            "Pilih jenis kode tabel referensi untuk dimasukkan:");
        row("chkSatuan", "QCheckBox", "Frame1", 360, 1050, 1695, 195, "Satuan");
        row("chkKemasan", "QCheckBox", "Frame1", 360, 1350, 1695, 195, "Kemasan");
        row("chkValuta", "QCheckBox", "Frame1", 360, 1650, 1695, 195, "Valuta Asing");
        row("chkNegara", "QCheckBox", "Frame1", 2670, 1050, 2595, 195, "Negara");
        row("chkPelDN", "QCheckBox", "Frame1", 2670, 1350, 2205, 195, "Pelabuhan Dalam Negeri");
        row("chkPelLN", "QCheckBox", "Frame1", 2670, 1650, 2205, 195, "Pelabuhan Luar Negeri");
        row("Label1", "QLabel", "Frame1", 210, 2220, 1020, 195, "Pilih Database");
        row("txtFileName", "QLineEdit", "Frame1", 1380, 2220, 3945, 285, "");
        row("cmdBrowse", "QPushButton", "Frame1", 5400, 2220, 735, 345, "Browse");
        row("ProgressBar1", "SingleProgressBar", "Frame1", 180, 2610, 5985, 105, "");
    }

    void layout()
    {
        QFETCH(QString, name);
        QFETCH(QString, kind);
        QFETCH(QString, parent);
        QFETCH(QRect, geometry);
        QFETCH(QString, caption);
        auto *control = m_window->findChild<QWidget *>(name);
        QVERIFY(control);
        QCOMPARE(QString::fromLatin1(control->metaObject()->className()), kind);
        QCOMPARE(control->parentWidget()->objectName(), parent);
        QCOMPARE(control->geometry(), geometry);
        QCOMPARE(captionOf(control), caption);
        QVERIFY(control->isEnabledTo(m_window.get()));
        QVERIFY(!control->isHidden());
        if (auto *tick = qobject_cast<QCheckBox *>(control))
            QVERIFY(tick->isChecked());
        if (auto *button = qobject_cast<QAbstractButton *>(control))
            QVERIFY(button->shortcut().isEmpty()); // no access keys
        // No control sets a font of its own.
        QCOMPARE(control->font(), m_window->font());
    }

    void membersAreTheNamedControls()
    {
        frmValdorenDokumen &w = *m_window;
        const QList<QWidget *> members
            = {w.Command4,   w.Frame1,    w.chkPelLN,    w.chkPelDN,  w.chkNegara,    w.chkValuta,
               w.chkKemasan, w.chkSatuan, w.txtFileName, w.cmdBrowse, w.ProgressBar1, w.Label3,
               w.Label1,     w.Label2,    w.Command2,    w.cmdOk,     w.lblInfo};
        for (QWidget *control : members)
            QCOMPARE(m_window->findChild<QWidget *>(control->objectName()), control);
        // A row that looks like markup shows, and reads aloud, as written.
        w.lblInfo->setText(QStringLiteral("<b>K1</b> - <i>Kotak</i>"));
        QCOMPARE(QAccessible::queryAccessibleInterface(w.lblInfo)->text(QAccessible::Name),
                 w.lblInfo->text());
    }

    void progressBarHoldsASingleValue()
    {
        SingleProgressBar *bar = m_window->ProgressBar1;
        QCOMPARE(bar->singleValue(), 0.0f);
        QCOMPARE(SingleProgressBar::Minimum, 0.0f);
        QCOMPARE(SingleProgressBar::Maximum, 100.0f);
        QVERIFY(!bar->isTextVisible());
        QCOMPARE(bar->height(), 7);
        QCOMPARE(bar->orientation(), Qt::Horizontal);
        const float almostFull = 99.99999f;
        bar->setSingleValue(almostFull);
        QVERIFY(bar->singleValue() == almostFull); // read back exactly
        QVERIFY(bar->singleValue() < 100.0f);
        bar->setSingleValue(150.0f);
        QCOMPARE(bar->singleValue(), 100.0f);
        bar->setSingleValue(-1.0f);
        QCOMPARE(bar->singleValue(), 0.0f);
        bar->setSingleValue(std::numeric_limits<float>::quiet_NaN());
        QCOMPARE(bar->singleValue(), 0.0f);
    }

    void commonDialogLivesWithTheWindow()
    {
        QFileDialog *dialog = m_window->CommonDialog1;
        QCOMPARE(dialog->objectName(), QStringLiteral("CommonDialog1"));
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Ambil Database ROZ, VAM, LUG atau SOMA"));
        QCOMPARE(dialog->parent(), m_window.get());
        QVERIFY(!dialog->isVisible());
        // The file type reads as the filter's description; a typed name of a
        // file that is not there is taken, for the run to answer.
        dialog->setNameFilters(defaulttargets::qtNameFilters(frmValdorenDokumen::browseFilter()));
        QCOMPARE(dialog->findChild<QComboBox *>(QStringLiteral("fileTypeCombo"))->currentText(),
                 QStringLiteral("Database Lorvanta"));
        // In Indonesian, Qt's own words too; its places each named whole,
        // however narrow the panel was left, the drive as the operator knows it.
        QVERIFY(transfer::useWindowLanguage());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
        QCOMPARE(dialog->findChild<QLabel *>(QStringLiteral("lookInLabel"))->text(),
                 QStringLiteral("Cari di:"));
        QCOMPARE(contextMenuOf(dialog->findChild<QHeaderView *>()->viewport()),
                 QStringList({"Tampilkan Ukuran", "Tampilkan Jenis", "Tampilkan Tanggal Diubah"}));
        const QStringList menu = contextMenuOf(m_window->txtFileName);
        QCOMPARE(menu,
                 QStringList({"&Urungkan\tCtrl+Z", "U&langi\tCtrl+Y", "&Potong\tCtrl+X", "&Salin\tCtrl+C",
                              "&Tempel\tCtrl+V", "Hapus", "Pilih Semua\tCtrl+A"}));
        QStringList keys;
        for (const QString &entry : menu)
            keys << entry.section(QLatin1Char('&'), 1).left(1).toLower();
        keys.removeAll(QString());
        QCOMPARE(QSet<QString>(keys.begin(), keys.end()).size(), keys.size()); // each entry its own key
        QTemporaryDir prefix;
        QDir(prefix.path()).mkdir(QStringLiteral("drive_c"));
        const QByteArray prefixBefore = qgetenv("WINEPREFIX");
        const auto restore = qScopeGuard([&] { qputenv("WINEPREFIX", prefixBefore); });
        qputenv("WINEPREFIX", QFile::encodeName(prefix.path()));
        QTest::mouseClick(m_window->cmdBrowse, Qt::LeftButton); // answered by m_dialogs
        auto *places = dialog->findChild<QListView *>(QStringLiteral("sidebar"));
        QStringList names;
        for (int row = 0; row < places->model()->rowCount(); ++row)
            names << places->model()->index(row, 0).data().toString();
        QCOMPARE(names, QStringList({"Komputer", QDir::home().dirName(), "C:"}));
        dialog->findChild<QSplitter *>(QStringLiteral("splitter"))->setSizes({1, 1000});
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        QVERIFY2(places->viewport()->width() >= places->sizeHintForColumn(0),
                 qPrintable(QString::number(places->viewport()->width())));
        dialog->hide();
        const QString missing = m_programFolder.filePath(QStringLiteral("dbROZ.mdb"));
        QSignalSpy chosen(dialog, &QFileDialog::fileSelected);
        QTimer refusal; // would close the warning a refused name brings
        connect(&refusal, &QTimer::timeout, this, [] {
            if (QWidget *warning = QApplication::activeModalWidget())
                warning->close();
        });
        refusal.start(10);
        dialog->selectFile(missing);
        QMetaObject::invokeMethod(dialog, "accept");
        QCOMPARE(chosen.value(0).value(0).toString(), missing);
        QPointer<QFileDialog> guard(dialog);
        m_window.reset();
        QVERIFY(guard.isNull());
    }

    void frameBlocksItsControlsWithoutChangingThem()
    {
        frmValdorenDokumen &w = *m_window;
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        const QList<QWidget *> inside = {w.chkSatuan, w.chkKemasan, w.chkValuta,   w.chkNegara,
                                         w.chkPelDN,  w.chkPelLN,   w.txtFileName, w.cmdBrowse};
        w.txtFileName->setFocus();
        w.Frame1->setInputBlocked(true);
        QVERIFY(
            !w.Frame1->isAncestorOf(QApplication::focusWidget())); // no focus left where input is not taken
        for (QWidget *control : inside)
            QVERIFY(control->isEnabled()); // its own state is untouched
        QTest::mouseClick(w.chkSatuan, Qt::LeftButton, {}, OnTheTick);
        QVERIFY(w.chkSatuan->isChecked());
        QSignalSpy browse(w.cmdBrowse, &QPushButton::clicked);
        QTest::mouseClick(w.cmdBrowse, Qt::LeftButton);
        QCOMPARE(browse.count(), 0);
        QTest::keyClicks(w.txtFileName, QStringLiteral("typed"));
        QCOMPARE(w.txtFileName->text(), QString());
        // Nor from assistive technology, which learns they are unavailable.
        for (QWidget *control : inside) {
            QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(control);
            QVERIFY2(accessible->state().disabled, qPrintable(control->objectName()));
            QVERIFY(accessible->actionInterface()->actionNames().isEmpty());
        }
        QAccessible::queryAccessibleInterface(w.chkSatuan)
            ->actionInterface()
            ->doAction(QStringLiteral("Toggle"));
        QVERIFY(w.chkSatuan->isChecked());
        QAccessible::queryAccessibleInterface(w.txtFileName)
            ->setText(QAccessible::Value, QStringLiteral("typed"));
        QCOMPARE(w.txtFileName->text(), QString());
        for (int tab = 0; tab < 12; ++tab) { // Tab goes round the window past the frame
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QVERIFY2(!w.Frame1->isAncestorOf(QApplication::focusWidget()),
                     qPrintable(QApplication::focusWidget()->objectName()));
        }
        w.Frame1->setInputBlocked(false);
        QTest::mouseClick(w.chkSatuan, Qt::LeftButton, {}, OnTheTick);
        QVERIFY(!w.chkSatuan->isChecked());
        QAccessible::queryAccessibleInterface(w.chkSatuan)
            ->actionInterface()
            ->doAction(QStringLiteral("Toggle"));
        QVERIFY(w.chkSatuan->isChecked());
        QVERIFY(!QAccessible::queryAccessibleInterface(w.txtFileName)->state().disabled);
        w.txtFileName->setFocus();
        QCOMPARE(QApplication::focusWidget(), w.txtFileName);

        w.Frame1->setInputBlocked(true); // the buttons on the window itself still work
        for (QPushButton *button : {w.Command4, w.cmdOk, w.Command2}) {
            if (button == w.Command4)
                whenModalShows([](QWidget *help) { help->close(); });
            QSignalSpy clicked(button, &QPushButton::clicked);
            QTest::mouseClick(button, Qt::LeftButton);
            QCOMPARE(clicked.count(), 1);
        }
    }

    void focusStartsOnOkAndFollowsTheTabIndexes()
    {
        frmValdorenDokumen &w = *m_window;
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QCOMPARE(QApplication::focusWidget(), w.cmdOk);
        const QList<QWidget *> order
            = {w.Command2,  w.cmdBrowse, w.txtFileName, w.chkSatuan, w.chkKemasan, w.chkValuta,
               w.chkNegara, w.chkPelDN,  w.chkPelLN,    w.Command4,  w.cmdOk};
        for (QWidget *expected : order) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget()->objectName(), expected->objectName());
        }
    }

    void enterAndSpacePressOnlyTheFocusedButton_data()
    {
        QTest::addColumn<QString>("focused");
        QTest::addColumn<int>("key");
        for (const char *name : {"cmdOk", "Command2", "Command4", "cmdBrowse"}) {
            QTest::addRow("Enter on %s", name) << name << int(Qt::Key_Return);
            QTest::addRow("keypad Enter on %s", name) << name << int(Qt::Key_Enter);
            QTest::addRow("Space on %s", name) << name << int(Qt::Key_Space);
        }
    }

    void enterAndSpacePressOnlyTheFocusedButton()
    {
        QFETCH(QString, focused);
        QFETCH(int, key);
        frmValdorenDokumen &w = *m_window;
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QMap<QString, int> clicks;
        for (QPushButton *button : w.findChildren<QPushButton *>()) {
            connect(button, &QPushButton::clicked, this,
                    [&clicks, button] { ++clicks[button->objectName()]; });
        }
        auto *target = w.findChild<QPushButton *>(focused);
        if (target == w.Command4)
            whenModalShows([](QWidget *help) { help->close(); });
        target->setFocus();
        QTest::keyClick(target, Qt::Key(key));
        QCOMPARE(clicks, (QMap<QString, int> {{focused, 1}}));
    }

    void enterRightAfterOpeningPressesOk()
    {
        frmValdorenDokumen &w = *m_window;
        QSignalSpy ok(w.cmdOk, &QPushButton::clicked);
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QTest::keyClick(w.windowHandle(), Qt::Key_Return); // delivered as the platform would
        QCOMPARE(ok.count(), 1);
    }

    void enterElsewherePressesNoButton()
    {
        frmValdorenDokumen &w = *m_window;
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QSignalSpy ok(w.cmdOk, &QPushButton::clicked);
        w.txtFileName->setFocus();
        QTest::keyClick(w.txtFileName, Qt::Key_Return);
        w.chkNegara->setFocus();
        QTest::keyClick(w.chkNegara, Qt::Key_Return);
        QCOMPARE(ok.count(), 0);
        QVERIFY(w.chkNegara->isChecked());
    }

    void escapeDoesNothing()
    {
        frmValdorenDokumen &w = *m_window;
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QSignalSpy cancel(w.Command2, &QPushButton::clicked);
        for (QWidget *focus : QList<QWidget *> {w.cmdOk, w.Command2, w.txtFileName, w.chkPelLN}) {
            focus->setFocus();
            QTest::keyClick(focus, Qt::Key_Escape);
        }
        QCOMPARE(cancel.count(), 0);
        QVERIFY(w.isVisible());
    }

    // Every text must show whole in its fixed place, in the window's font.
    void captionsFit()
    {
        frmValdorenDokumen &w = *m_window;
        const QFont font = w.font();
        // Exactly the face the program carries, whatever the system has.
        const QByteArray carried = QRawFont(designFontResource(), 10).fontTable("head");
        QVERIFY(!carried.isEmpty());
        QCOMPARE(QRawFont::fromFont(font).fontTable("head"), carried);
        const QFontMetrics metrics(font);
        QStyle *style = w.style();
        for (QLabel *label : w.findChildren<QLabel *>()) {
            QVERIFY2(metrics.horizontalAdvance(label->text()) <= label->width(),
                     qPrintable(label->objectName()));
            QVERIFY2(metrics.height() <= label->height(), qPrintable(label->objectName()));
        }
        for (QCheckBox *tick : w.findChildren<QCheckBox *>()) {
            QStyleOptionButton option;
            option.initFrom(tick);
            option.text = tick->text();
            const QRect text = tick->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, tick);
            const QRect box = tick->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, tick);
            QVERIFY2(tick->rect().contains(box), qPrintable(tick->objectName()));
            QVERIFY2(metrics.horizontalAdvance(tick->text()) <= text.width(), qPrintable(tick->objectName()));
            QVERIFY2(metrics.height() <= tick->height(), qPrintable(tick->objectName()));
        }
        const int margin = style->pixelMetric(QStyle::PM_ButtonMargin);
        for (QPushButton *button : w.findChildren<QPushButton *>()) {
            for (const QString &caption : {button->text(), QStringLiteral("Close")}) {
                if (caption == QLatin1String("Close") && button != w.Command2)
                    continue;
                QVERIFY2(metrics.horizontalAdvance(caption) + 2 * margin <= button->width(),
                         qPrintable(button->objectName()));
            }
            QVERIFY2(metrics.height() + margin <= button->height(), qPrintable(button->objectName()));
        }
        QStyleOptionFrame frame;
        frame.initFrom(w.txtFileName);
        const QRect inner = style->subElementRect(QStyle::SE_LineEditContents, &frame, w.txtFileName);
        QVERIFY(metrics.height() <= inner.height());
    }

    // The box shows the message itself, as a screen reader reads it and Ctrl+C copies it: a long path whole,
    // broken within a name; longer than the screen, the box stays on it and the text scrolls.
    void messageShowsALongPathWhole()
    {
        DialogSeam::setCurrent(nullptr);
        const auto restore = qScopeGuard([this] { DialogSeam::setCurrent(&m_dialogs); });
        const QString path = "C:\\" + QString("Karsela\\").repeated(624); // 5,000 characters
        const QString text
            = QStringLiteral("<b>Tidak</b> &amp;\n") + path + QStringLiteral(" dan ") + path + " ";
        whenModalShows([&](QWidget *box) {
            const auto closeIt = qScopeGuard([box] { box->close(); });
            auto *shown = box->findChild<QTextEdit *>();
            auto *ok = box->findChild<QPushButton *>();
            QVERIFY(box->windowTitle() == "Valdoren" && ok->text() == "OK" && shown);
            QCOMPARE(box->findChildren<QAbstractButton *>().size(), 1);
            QCOMPARE(readAloud(box), text);
            QCOMPARE(shown->toPlainText(), text); // as the eye reads it
            QTest::keyClick(box->focusWidget(), Qt::Key_C, Qt::ControlModifier);
            QCOMPARE(QApplication::clipboard()->text(), text);
            const QRect screen = box->screen()->availableGeometry();
            QVERIFY(screen.contains(box->frameGeometry())
                    && screen.contains(ok->mapToGlobal(ok->rect().center())));
            QVERIFY(shown->document()->idealWidth() <= shown->viewport()->width()); // no line cut at the edge
            QVERIFY(shown->verticalScrollBar()->maximum() > 0); // the rest scrolls into view
        });
        DialogSeam::current().showMessage(m_window.get(), text); // until the check above closes it
    }

    // Laid out as Qt 6.4's own box, whose sizes the box copies: a Qt that lays out its box otherwise fails
    // here. Run on a small screen and, as tst_mainwindow_wide_screen, on a wide one.
    void messageBoxLaidOutAsQts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("short") << QStringLiteral("Selesai");
        QTest::newRow("sentences") << QStringLiteral(
            "Database C:\\Karsela\\ROZ5\\dbROZ.mdb tidak dapat dibuka.\nPassword yang dipakai program ini "
            "untuk "
            "database dengan nama ini tidak cocok dengannya.\nPilih database program Lorvanta (dbROZ.mdb, "
            "dbVAM.mdb, dbLUG.mdb atau dbSOMA.mdb) dengan nama aslinya.");
        QTest::newRow("a long name") << "Tidak ada file " + QString("Karsela").repeated(120);
    }

    void messageBoxLaidOutAsQts()
    {
        QFETCH(QString, text);
        MessageBox ours(text, m_window.get());
        QMessageBox qts(QMessageBox::NoIcon, QStringLiteral("Valdoren"), text, QMessageBox::Ok,
                        m_window.get());
        qts.setTextFormat(Qt::PlainText);
        for (QDialog *box : {static_cast<QDialog *>(&ours), static_cast<QDialog *>(&qts)}) {
            box->show();
            QVERIFY(QTest::qWaitForWindowExposed(box));
        }
        auto *shown = ours.findChild<QTextEdit *>();
        auto *label = qts.findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
        QCOMPARE(shown->x(), label->x()); // the text as far in
        const int screenWidth = ours.screen()->availableGeometry().width();
        if (text.size() > 10) // lines as long, and the box on the screen with its frame
            QCOMPARE(ours.width(), qMin(qts.width(), screenWidth - FrameAllowance.width()));
    }

    void opensCentredOnTheScreen()
    {
        frmValdorenDokumen &w = *m_window;
        w.centreOnScreen();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const QPoint centre = w.screen()->availableGeometry().center();
        // The frame's size is known only once shown, so allow for its border.
        QVERIFY(qAbs(w.frameGeometry().center().x() - centre.x()) <= 2);
        QVERIFY(qAbs(w.frameGeometry().center().y() - centre.y()) <= 2);
    }

private:
    FakeDialogs m_dialogs; // the buttons' handlers may show messages
    QTemporaryDir m_programFolder;
    std::unique_ptr<frmValdorenDokumen> m_window;
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
