#include "fakedialogs.h"
#include "mainwin/frmvaldorendokumen.h"
#include "mainwin/selectionframe.h"
#include "mainwin/singleprogressbar.h"
#include "testdatabases.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSocketNotifier>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <unistd.h>

using namespace testsupport;

// Ok, Cancel and the controls in the real window while the transfer runs.
class TestOkButton : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_dir.reset(new QTemporaryDir);
        CodeLists lists;
        for (int i = 0; i < 300; ++i)
            lists["Negara"].append({QStringLiteral("N%1").arg(i), QStringLiteral("Negara %1").arg(i)});
        lists["Valuta"] = {{"IDR", "Rupiah"}};
        makeSource(m_dir->filePath(QStringLiteral("NewCodes.mdb")), lists);
        m_target = m_dir->filePath(QStringLiteral("dbVAM.mdb"));
        makeTarget(m_target, lorvanta::Program::Vam);
        m_window.reset(new frmValdorenDokumen(m_dir->path()));
        m_window->txtFileName->setText(m_target);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

    void cleanup()
    {
        m_probe.reset();
        m_window.reset();
    }

    void okRunsTheTransferToSelesai()
    {
        FakeDialogs dialogs;
        int rowsSeen = 0;
        probeWhileRunning([&] {
            frmValdorenDokumen &w = *m_window;
            QVERIFY(w.isRunning());
            QVERIFY(!w.bStop);
            QVERIFY(w.Frame1->isInputBlocked());
            QVERIFY(!w.cmdOk->isEnabled());
            QVERIFY(w.Command2->isEnabled());
            QVERIFY(w.Command4->isEnabled());
            QVERIFY(w.chkNegara->isEnabled());
            if (rowsSeen++ == 0)
                tryTheFrameMidRun();
        });
        m_window->CommonDialog1->show(); // Ok does nothing while Browse is open
        QTest::mouseClick(m_window->cmdOk, Qt::LeftButton);
        QVERIFY(rowsSeen == 0 && dialogs.messages.isEmpty());
        m_window->CommonDialog1->hide();
        // A screen reader's Press just before Ok ends during the run.
        dialogs.fileAnswers = {QStringLiteral("/elsewhere/dbLUG.mdb")};
        for (QWidget *control : QList<QWidget *> {m_window->cmdBrowse, m_window->chkNegara})
            QAccessible::queryAccessibleInterface(control)->actionInterface()->doAction(
                QAccessibleActionInterface::pressAction());
        QTest::mouseClick(m_window->cmdOk, Qt::LeftButton);
        frmValdorenDokumen &w = *m_window;
        QVERIFY(rowsSeen > 0);
        QCOMPARE(dialogs.fileDialogTitles, QStringList());
        QCOMPARE(w.txtFileName->text(), m_target);
        QCOMPARE(dialogs.messages, QStringList {"Selesai"});
        QCOMPARE(dialogs.messageParents, QList<QWidget *> {&w});
        QCOMPARE(w.lblInfo->text(), QStringLiteral("Selesai"));
        QVERIFY(w.lblInfo->updatesEnabled());
        QCOMPARE(w.Command2->text(), QStringLiteral("Close"));
        QVERIFY(w.ProgressBar1->singleValue() == 99.99999f); // exactly: QCOMPARE on floats is fuzzy
        QVERIFY(w.bStop);
        QVERIFY(!w.isRunning());
        QVERIFY(!w.Frame1->isInputBlocked());
        QVERIFY(w.cmdOk->isEnabled());
        QCOMPARE(tableRows(m_target, QStringLiteral("GorvanPelikMiro"), QStringLiteral("tblNegara")).size(),
                 300);
        // Drawn mid-run exactly as when idle.
        w.ProgressBar1->setSingleValue(m_midRun.progress);
        QCOMPARE(w.ProgressBar1->grab().toImage(), m_midRun.bar);
        QCOMPARE(w.chkNegara->grab().toImage(), m_midRun.tick);
    }

    void statusLineShowsTheRowJustHandled()
    {
        FakeDialogs dialogs;
        QStringList seen;
        probeWhileRunning([&] { seen << m_window->lblInfo->text(); });
        QTest::mouseClick(m_window->cmdOk, Qt::LeftButton);
        QVERIFY(seen.contains(QStringLiteral("N0 - Negara 0")));
        QVERIFY(seen.contains(QStringLiteral("N150 - Negara 150")));
        // Each probe sees the row before its yield, in order.
        for (int i = 1; i < seen.size(); ++i) {
            if (seen.at(i).startsWith(QLatin1Char('N')) && seen.at(i - 1).startsWith(QLatin1Char('N')))
                QVERIFY(seen.at(i).mid(1).section(QLatin1Char(' '), 0, 0).toInt()
                        >= seen.at(i - 1).mid(1).section(QLatin1Char(' '), 0, 0).toInt());
        }
    }

    void cancelStopsARunWhoseRowsAreAccepted()
    {
        FakeDialogs dialogs;
        int rows = 0;
        probeWhileRunning([&] {
            if (++rows == 50)
                QTest::mouseClick(m_window->Command2, Qt::LeftButton);
        });
        QTest::mouseClick(m_window->cmdOk, Qt::LeftButton);
        frmValdorenDokumen &w = *m_window;
        QVERIFY(dialogs.messages.isEmpty());
        QCOMPARE(w.lblInfo->text(), QStringLiteral("Proses dibatalkan"));
        QCOMPARE(w.ProgressBar1->singleValue(), 0.0f);
        QCOMPARE(w.Command2->text(), QStringLiteral("Cancel"));
        QVERIFY(w.bStop);
        QVERIFY(w.isVisible()); // the first press only asks the run to stop
        QVERIFY(!w.Frame1->isInputBlocked() && w.cmdOk->isEnabled());
        const int stored
            = tableRows(m_target, QStringLiteral("GorvanPelikMiro"), QStringLiteral("tblNegara")).size();
        QVERIFY(stored >= 49 && stored < 300);
    }

    void closeCaptionStaysForLaterRunsAndStillStops()
    {
        FakeDialogs dialogs;
        QTest::mouseClick(m_window->cmdOk, Qt::LeftButton);
        QCOMPARE(m_window->Command2->text(), QStringLiteral("Close"));

        QStringList captions;
        int rows = 0;
        probeWhileRunning([&] {
            captions << m_window->Command2->text();
            if (++rows == 10)
                QTest::mouseClick(m_window->Command2, Qt::LeftButton);
        });
        QTest::mouseClick(m_window->cmdOk, Qt::LeftButton); // every row refused now
        QVERIFY(!captions.isEmpty());
        QCOMPARE(QSet<QString>(captions.begin(), captions.end()), QSet<QString> {"Close"});
        QCOMPARE(m_window->lblInfo->text(), QStringLiteral("Proses dibatalkan"));
        QCOMPARE(m_window->Command2->text(), QStringLiteral("Close"));
        QVERIFY(m_window->isVisible());
        QCOMPARE(dialogs.messages, QStringList {"Selesai"}); // from the first run only
    }

    void cancelWhenIdleClosesTheWindow()
    {
        QTest::mouseClick(m_window->Command2, Qt::LeftButton);
        QVERIFY(!m_window->isVisible());
    }

private:
    // A press begun before the run, a click on a tick box and Tab into the
    // frame change nothing; the focus is never inside it. Keeps how the frame
    // looked. The main thread's descriptors are still polled meanwhile.
    void tryTheFrameMidRun()
    {
        frmValdorenDokumen &w = *m_window;
        QTRY_VERIFY_WITH_TIMEOUT(!w.cmdBrowse->isDown() && !w.chkNegara->isDown(), 10000);
        int ends[2];
        QVERIFY(::pipe(ends) == 0);
        QSocketNotifier readable(ends[0], QSocketNotifier::Read);
        bool polled = false;
        connect(&readable, &QSocketNotifier::activated, this, [&polled] { polled = true; });
        QCOMPARE(::write(ends[1], "x", 1), 1);
        QTRY_VERIFY_WITH_TIMEOUT(polled, 10000);
        readable.setEnabled(false);
        ::close(ends[0]);
        ::close(ends[1]);
        QTest::mouseClick(w.chkNegara, Qt::LeftButton, {}, QPoint(6, 6)); // on the box itself
        QVERIFY(w.chkNegara->isChecked());
        for (int tab = 0; tab < 4; ++tab) {
            QVERIFY(QApplication::focusWidget());
            QVERIFY(!w.Frame1->isAncestorOf(QApplication::focusWidget()));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        m_midRun = {w.ProgressBar1->singleValue(), w.ProgressBar1->grab().toImage(),
                    w.chkNegara->grab().toImage()};
    }

    struct Look
    {
        float progress = 0;
        QImage bar;
        QImage tick;
    };

    // Runs check on every pass of the event loop while the run yields.
    void probeWhileRunning(std::function<void()> check)
    {
        m_probe.reset(new QTimer);
        m_probe->setInterval(0);
        connect(m_probe.get(), &QTimer::timeout, this, [this, check] {
            if (m_window->isRunning())
                check();
        });
        m_probe->start();
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_target;
    std::unique_ptr<frmValdorenDokumen> m_window;
    std::unique_ptr<QTimer> m_probe;
    Look m_midRun;
};

QTEST_MAIN(TestOkButton)
#include "tst_okbutton.moc"
