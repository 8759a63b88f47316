#include "fakedialogs.h"
#include "mainwin/frmvaldorendokumen.h"
#include "startup/mdlmain.h"
#include "testdatabases.h"
#include "transfer/programfiles.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

namespace {

QList<QWidget *> visibleWindows()
{
    QList<QWidget *> windows;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible())
            windows << widget;
    }
    return windows;
}

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup()
    {
        for (QWidget *window : QApplication::topLevelWidgets())
            window->close();
        QTest::qWait(0);
        qDeleteAll(QApplication::topLevelWidgets());
    }

    void sourcePathAppendsTheSeparator_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("expected");
        const QString sep = QDir::separator();
        QTest::newRow("ordinary folder") << "/opt/valdoren"
                                         << "/opt/valdoren" + sep + "NewCodes.mdb";
        QTest::newRow("root keeps its own separator") << "/"
                                                      << "/" + sep + "NewCodes.mdb";
        QTest::newRow("backslash is a file-name character here") << "/opt/a\\b"
                                                                 << "/opt/a\\b" + sep + "NewCodes.mdb";
    }

    void sourcePathAppendsTheSeparator()
    {
        QFETCH(QString, folder);
        QFETCH(QString, expected);
        QCOMPARE(transfer::newCodesPath(folder), expected);
    }

    void programFolderIsTheExecutablesFolder()
    {
        QCOMPARE(mdlMain::programFolder(), QDir::toNativeSeparators(QCoreApplication::applicationDirPath()));
    }

    void withoutNewCodesOneMessageAndNoWindow_data()
    {
        QTest::addColumn<bool>("folderInItsPlace");
        QTest::newRow("no file") << false;
        QTest::newRow("a folder named NewCodes.mdb") << true;
    }

    void withoutNewCodesOneMessageAndNoWindow()
    {
        QFETCH(bool, folderInItsPlace);
        QTemporaryDir dir;
        if (folderInItsPlace)
            QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("NewCodes.mdb")));
        FakeDialogs dialogs;
        dialogs.whileMessageShown = [](const QString &) { QVERIFY(visibleWindows().isEmpty()); };
        const QString folder = QDir::toNativeSeparators(dir.path());
        QVERIFY(!mdlMain::startIn(folder));
        QCOMPARE(dialogs.messages,
                 QStringList {QStringLiteral("Tidak ada file 'NewCodes.mdb' di folder ") + folder});
        QCOMPARE(dialogs.messageParents, QList<QWidget *> {nullptr});
        QVERIFY(visibleWindows().isEmpty());
    }

    void withNewCodesTheMainWindowShows()
    {
        QTemporaryDir dir;
        testsupport::writeFile(dir.filePath(QStringLiteral("NewCodes.mdb")), "any content: not checked here");
        FakeDialogs dialogs;
        QVERIFY(mdlMain::startIn(dir.path()));
        QVERIFY(dialogs.messages.isEmpty());
        const QList<QWidget *> windows = visibleWindows();
        QCOMPARE(windows.size(), 1);
        auto *window = qobject_cast<frmValdorenDokumen *>(windows.first());
        QVERIFY(window);
        QVERIFY(window->testAttribute(Qt::WA_DeleteOnClose));
        QPointer<QWidget> guard(window);
        window->close();
        QTRY_VERIFY(guard.isNull());
    }

    void isOrdinaryFileCountsOnlyFiles()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("f"));
        testsupport::writeFile(file, "x");
        QVERIFY(transfer::isOrdinaryFile(file));
        QVERIFY(!transfer::isOrdinaryFile(dir.path()));
        QVERIFY(!transfer::isOrdinaryFile(dir.filePath(QStringLiteral("missing"))));
        QVERIFY(!transfer::isOrdinaryFile(QString()));
        QVERIFY(!transfer::isOrdinaryFile(QStringLiteral("/proc/self/no/such/thing")));
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
