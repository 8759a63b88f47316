#include "dataaccess/windowspath.h"
#include "fakedialogs.h"
#include "mainwin/defaulttargets.h"
#include "mainwin/frmvaldorendokumen.h"
#include "testdatabases.h"
#include "transfer/programfiles.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>

using namespace testsupport;

namespace {

const QStringList ProgramFolders = {"Karsela/ROZ5/dbROZ.mdb", "Karsela/VAM53/dbVAM.mdb",
                                    "Karsela/LUG25/dbLUG.mdb", "Karsela/SOMA1.3/dbSOMA.mdb"};

// Puts a file (or a folder, when asked) at a default place under cDrive.
void install(const QString &cDrive, const QString &relative, bool asFolder = false)
{
    const QString path = QDir(cDrive).filePath(relative);
    QDir().mkpath(asFolder ? path : QFileInfo(path).path());
    if (!asFolder)
        writeFile(path, "a Lorvanta database");
}

class EnvironmentGuard
{
public:
    explicit EnvironmentGuard(const char *name)
        : m_name(name), m_old(qgetenv(name)), m_wasSet(qEnvironmentVariableIsSet(name))
    { }
    ~EnvironmentGuard()
    {
        if (m_wasSet)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }

private:
    const char *m_name;
    QByteArray m_old;
    bool m_wasSet;
};

} // namespace

class TestTargetSelection : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void loadProposesTheFirstInstalledDatabase_data()
    {
        QTest::addColumn<QList<int>>("installed"); // indexes into ProgramFolders
        QTest::addColumn<QList<int>>("folders"); // folders of a database's name
        QTest::addColumn<QString>("driveFolder");
        QTest::addColumn<int>("expected"); // -1: none
        QTest::newRow("only SOMA") << QList<int> {3} << QList<int> {} << "drive_c" << 3;
        // Any two installed: the one earlier in the order.
        for (int first = 0; first < ProgramFolders.size(); ++first) {
            for (int second = first + 1; second < ProgramFolders.size(); ++second)
                QTest::addRow("%d and %d", first, second)
                    << QList<int> {first, second} << QList<int> {} << "drive_c" << first;
        }
        QTest::newRow("none") << QList<int> {} << QList<int> {} << "drive_c" << -1;
        QTest::newRow("all four") << QList<int> {0, 1, 2, 3} << QList<int> {} << "drive_c" << 0;
        QTest::newRow("a folder named dbROZ.mdb is passed over")
            << QList<int> {1} << QList<int> {0} << "drive_c" << 1;
        QTest::newRow("through dosdevices") << QList<int> {2} << QList<int> {} << "dosdevices/c:" << 2;
    }

    void loadProposesTheFirstInstalledDatabase()
    {
        QFETCH(QList<int>, installed);
        QFETCH(QList<int>, folders);
        QFETCH(QString, driveFolder);
        QFETCH(int, expected);
        QTemporaryDir prefix;
        const QString cDrive = prefix.filePath(driveFolder);
        QDir().mkpath(cDrive);
        for (int i : installed)
            install(cDrive, ProgramFolders.at(i));
        for (int i : folders)
            install(cDrive, ProgramFolders.at(i), true);
        EnvironmentGuard guard("WINEPREFIX");
        qputenv("WINEPREFIX", prefix.path().toLocal8Bit());

        frmValdorenDokumen window(prefix.path());
        QVERIFY(window.bStop);
        // As the operator knows it, whichever way the prefix holds it.
        QCOMPARE(window.txtFileName->text(),
                 expected < 0 ? QString() : defaulttargets::windowsPaths().at(expected));
    }

    void homeWinePrefixWhenNoneIsSet()
    {
        QTemporaryDir home;
        install(QDir(home.path()).filePath(QStringLiteral(".wine/drive_c")), ProgramFolders.at(1));
        EnvironmentGuard prefixGuard("WINEPREFIX");
        EnvironmentGuard homeGuard("HOME");
        qunsetenv("WINEPREFIX");
        qputenv("HOME", home.path().toLocal8Bit());
        QCOMPARE(defaulttargets::firstInstalled(), QStringLiteral("C:\\Karsela\\VAM53\\dbVAM.mdb"));
    }

    void missingPrefixFindsNothing()
    {
        EnvironmentGuard guard("WINEPREFIX");
        qputenv("WINEPREFIX", "/nonexistent/wine/prefix");
        QCOMPARE(dataaccess::wineCDrive(), QString());
        QCOMPARE(defaulttargets::firstInstalled(), QString());
        frmValdorenDokumen window(QStringLiteral("/nonexistent"));
        QCOMPARE(window.txtFileName->text(), QString());
    }

    // A typed path reaches its file as Wine would, and a file chosen in a
    // drive of the prefix shows as Windows writes it. @P@ is the prefix,
    // @O@ a folder outside it.
    void pathsAsTheOperatorKnowsThem_data()
    {
        QTest::addColumn<QString>("cLink"); // where dosdevices/c: leads; empty: the prefix keeps no links
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("file"); // that it reaches; empty: none
        QTest::addColumn<QString>("shown"); // that file, chosen with Browse
        const QString roz = QStringLiteral("C:\\Karsela\\ROZ5\\dbROZ.mdb");
        const QString rozFile = QStringLiteral("@P@/drive_c/Karsela/ROZ5/dbROZ.mdb");
        const QString linked = QStringLiteral("../drive_c");
        const QString none;
        QTest::newRow("as Windows writes it") << linked << roz << rozFile << roz;
        QTest::newRow("other case, forward slashes")
            << linked << "c:/karsela/roz5/DBROZ.MDB" << rozFile << roz;
        QTest::newRow("mixed and doubled slashes")
            << linked << "C:\\Karsela//ROZ5\\\\dbROZ.mdb" << rozFile << roz;
        QTest::newRow("up from the root stays there")
            << linked << "C:\\..\\..\\Karsela\\.\\ROZ5\\dbROZ.mdb" << rozFile << roz;
        QTest::newRow("through z:") << linked << "Z:@P\\@\\drive_c\\karsela\\ROZ5\\dbROZ.mdb" << rozFile
                                    << roz;
        QTest::newRow(".. at every depth")
            << linked << "C:\\Karsela\\Lain\\..\\ROZ5\\a\\b\\..\\..\\dbROZ.mdb" << rozFile << roz;
        QTest::newRow("prefix without drive links") << QString() << roz << rozFile << roz;
        QTest::newRow("a drive the prefix lacks") << linked << "E:\\Karsela\\ROZ5\\dbROZ.mdb"
                                                  << ""
                                                  << "";
        QTest::newRow("a file that does not exist") << linked << "C:\\Karsela\\ROZ5\\dbVAM.mdb"
                                                    << ""
                                                    << "";
        QTest::newRow("outside the prefix") << linked << "@O@/dbLUG.mdb"
                                            << "@O@/dbLUG.mdb"
                                            << "@O@/dbLUG.mdb";
        const QString besideFile = QStringLiteral("@P@/drive_c2/Karsela/ROZ5/dbROZ.mdb");
        QTest::newRow("beside the drive, its name begun alike")
            << linked << besideFile << besideFile << besideFile;
        // D: is C:\Karsela\LUG25, and names only what lies in it.
        QTest::newRow("in a drive inside another") << linked << "D:\\dbLUG.mdb"
                                                   << "@P@/drive_c/Karsela/LUG25/dbLUG.mdb"
                                                   << "D:\\dbLUG.mdb";
        QTest::newRow("beside that drive, its name begun alike")
            << linked << "@P@/drive_c/Karsela/LUG250/dbLUG.mdb"
            << "@P@/drive_c/Karsela/LUG250/dbLUG.mdb"
            << "C:\\Karsela\\LUG250\\dbLUG.mdb";
        // As Wine reads them: a dot off a folder's name, every dot and blank off the last.
        QTest::newRow("a dot after a folder's name")
            << linked << "C:\\Karsela\\ROZ5.\\dbROZ.mdb" << rozFile << roz;
        QTest::newRow("two dots after it, a folder named with one")
            << linked << "C:\\Karsela\\ROZ5..\\dbROZ.mdb"
            << "@P@/drive_c/Karsela/ROZ5./dbROZ.mdb"
            << "@P@/dosdevices/c:/Karsela/ROZ5./dbROZ.mdb";
        QTest::newRow("a folder named by three dots")
            << linked << "C:\\Karsela\\...\\ROZ5\\dbROZ.mdb" << rozFile << roz;
        QTest::newRow("a space after a folder's name is its own")
            << linked << "C:\\Karsela\\ROZ5 . \\dbROZ.mdb" << none << none;
        QTest::newRow("pasted with a trailing space") << linked << roz + " " << rozFile << roz;
        QTest::newRow("the Kelvin sign is no K")
            << linked << "C:\\\u212Aarsela\\ROZ5\\dbROZ.mdb" << none << none;
        QTest::newRow("a separator at the end names a folder") << linked << roz + "\\" << none << none;
        QTest::newRow("c: leads nowhere") << "../unmounted" << roz << none << none;
        const QString toAFile = QStringLiteral("../drive_c/Karsela/ROZ5/dbROZ.mdb");
        QTest::newRow("c: leads to a plain file") << toAFile << roz << none << none;
        QTest::newRow("the root of such a drive") << toAFile << "C:\\Karsela\\.." << none << none;
        // Shown in Windows form only where that form leads back to the same file.
        const QString backslashed = QStringLiteral("@P@/drive_c/Karsela/ROZ5\\dbROZ.mdb");
        QTest::newRow("a Linux name holding a backslash")
            << linked << backslashed << backslashed << backslashed;
        const QString soma = QStringLiteral("C:\\Karsela\\SOMA1.3\\dbSOMA.mdb");
        QTest::newRow("a link under its program's own name")
            << linked << soma << "@P@/drive_c/Karsela/SOMA1.3/dbSOMA.mdb" << soma;
    }

    void pathsAsTheOperatorKnowsThem()
    {
        QFETCH(QString, cLink);
        QFETCH(QString, typed);
        QFETCH(QString, file);
        QFETCH(QString, shown);
        QTemporaryDir dir;
        const QString prefix = dir.filePath(QStringLiteral("prefix"));
        install(QDir(prefix).filePath(QStringLiteral("drive_c")), ProgramFolders.at(0));
        install(QDir(prefix).filePath(QStringLiteral("drive_c")), ProgramFolders.at(2));
        install(QDir(prefix).filePath(QStringLiteral("drive_c")), QStringLiteral("Karsela/LUG250/dbLUG.mdb"));
        install(QDir(prefix).filePath(QStringLiteral("drive_c2")), ProgramFolders.at(0));
        install(QDir(prefix).filePath(QStringLiteral("drive_c")), QStringLiteral("Karsela/ROZ5\\dbROZ.mdb"));
        install(QDir(prefix).filePath(QStringLiteral("drive_c")), QStringLiteral("Karsela/ROZ5./dbROZ.mdb"));
        QDir(prefix).mkpath(QStringLiteral("drive_c/Karsela/SOMA1.3"));
        QVERIFY(QFile::link(QStringLiteral("../ROZ5/dbROZ.mdb"),
                            QDir(prefix).filePath(QStringLiteral("drive_c/Karsela/SOMA1.3/dbSOMA.mdb"))));
        install(dir.filePath(QStringLiteral("outside")), QStringLiteral("dbLUG.mdb"));
        if (!cLink.isEmpty()) {
            QDir().mkpath(QDir(prefix).filePath(QStringLiteral("dosdevices")));
            QVERIFY(QFile::link(cLink, QDir(prefix).filePath(QStringLiteral("dosdevices/c:"))));
            QVERIFY(QFile::link(QStringLiteral("/"), QDir(prefix).filePath(QStringLiteral("dosdevices/z:"))));
            QVERIFY(QFile::link(QStringLiteral("../drive_c/Karsela/LUG25"),
                                QDir(prefix).filePath(QStringLiteral("dosdevices/d:"))));
        }
        EnvironmentGuard guard("WINEPREFIX");
        qputenv("WINEPREFIX", prefix.toLocal8Bit());
        const auto expand = [&](QString text) {
            return text
                .replace(QStringLiteral("@P\\@"),
                         QString(prefix).replace(QLatin1Char('/'), QLatin1Char('\\')))
                .replace(QStringLiteral("@P@"), prefix)
                .replace(QStringLiteral("@O@"), dir.filePath(QStringLiteral("outside")));
        };

        const QString local = dataaccess::localFilePath(expand(typed));
        QCOMPARE(QFileInfo(local).canonicalFilePath(), QFileInfo(expand(file)).canonicalFilePath());
        QCOMPARE(transfer::isOrdinaryFile(expand(typed)), !file.isEmpty());
        if (!file.isEmpty())
            QCOMPARE(dataaccess::windowsFormOf(local), expand(shown));
    }

    void filterConversion_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("the Browse filter")
            << frmValdorenDokumen::browseFilter()
            << QStringList {"Database Lorvanta (dbROZ.mdb dbVAM.mdb dbLUG.mdb dbSOMA.mdb)"};
        QTest::newRow("two pairs") << "Access|*.mdb|All files|*.*"
                                   << QStringList {"Access (*.mdb)", "All files (*.*)"};
        QTest::newRow("odd spacing and empty pieces")
            << " Text  | a.txt ;;b.txt; " << QStringList {"Text (a.txt b.txt)"};
        QTest::newRow("description without pattern") << "Lonely" << QStringList {};
        QTest::newRow("empty") << "" << QStringList {};
    }

    void filterConversion()
    {
        QFETCH(QString, filter);
        QFETCH(QStringList, expected);
        QCOMPARE(defaulttargets::qtNameFilters(filter), expected);
    }

    void browsePutsTheChosenFileInTheBox()
    {
        frmValdorenDokumen window(QStringLiteral("/nonexistent"));
        window.txtFileName->setText(QStringLiteral("/earlier/dbVAM.mdb"));
        const QString folderBefore = window.CommonDialog1->directory().path();
        FakeDialogs dialogs;
        dialogs.fileAnswers = {QStringLiteral("/chosen/dbLUG.mdb")};
        QTest::mouseClick(window.cmdBrowse, Qt::LeftButton);
        QCOMPARE(window.txtFileName->text(), QStringLiteral("/chosen/dbLUG.mdb"));
        QCOMPARE(dialogs.fileDialogTitles, QStringList {"Ambil Database ROZ, VAM, LUG atau SOMA"});
        QCOMPARE(dialogs.fileDialogFilters,
                 QList<QStringList> {{"Database Lorvanta (dbROZ.mdb dbVAM.mdb dbLUG.mdb dbSOMA.mdb)"}});
        QCOMPARE(dialogs.fileDialogFolders, QStringList {folderBefore}); // no folder of its own

        // A file in the Wine prefix shows as the operator knows it, and the
        // prefix's C: drive is among the dialog's places.
        QTemporaryDir prefix;
        install(prefix.filePath(QStringLiteral("drive_c")), ProgramFolders.at(2));
        EnvironmentGuard guard("WINEPREFIX");
        qputenv("WINEPREFIX", QFile::encodeName(prefix.path()));
        dialogs.fileAnswers = {prefix.filePath(QStringLiteral("drive_c/") + ProgramFolders.at(2))};
        QTest::mouseClick(window.cmdBrowse, Qt::LeftButton);
        QCOMPARE(window.txtFileName->text(), QStringLiteral("C:\\Karsela\\LUG25\\dbLUG.mdb"));
        QVERIFY(window.CommonDialog1->sidebarUrls().contains(
            QUrl::fromLocalFile(prefix.filePath(QStringLiteral("drive_c")))));

        // Typed with a drive letter in the dialog's name field: as the box takes it; a folder opens.
        dialogs.fileAnswers = {"c:\\karsela\\LUG25\\DBLUG.MDB", "c:/karsela/"};
        QTest::mouseClick(window.cmdBrowse, Qt::LeftButton);
        QTest::mouseClick(window.cmdBrowse, Qt::LeftButton);
        QCOMPARE(window.txtFileName->text(), QStringLiteral("c:\\karsela\\LUG25\\DBLUG.MDB"));
        QCOMPARE(window.CommonDialog1->directory(), QDir(prefix.filePath(QStringLiteral("drive_c/Karsela"))));

        // Cancelled: the box keeps what it had, even the name chosen before.
        window.txtFileName->setText(QStringLiteral("/typed/by/hand.mdb"));
        QTest::mouseClick(window.cmdBrowse, Qt::LeftButton);
        QCOMPARE(window.txtFileName->text(), QStringLiteral("/typed/by/hand.mdb"));
        QCOMPARE(dialogs.fileDialogTitles.size(), 5);
    }

    void browseOffersTheDatabasesAndChangesNothing()
    {
        QTemporaryDir dir;
        for (const char *name : {"DBROZ.MDB", "dbsoma.mdb", "dbVAM.mdb", "other.mdb"})
            writeFile(dir.filePath(QString::fromLatin1(name)), "x");
        frmValdorenDokumen window(QStringLiteral("/nonexistent"));
        QFileDialog *dialog = window.CommonDialog1;
        dialog->setNameFilters(defaulttargets::qtNameFilters(frmValdorenDokumen::browseFilter()));
        dialog->setDirectory(dir.path());
        auto *model = dialog->findChild<QFileSystemModel *>();
        QVERIFY(model);
        const QModelIndex folder = model->index(dir.path());
        QTRY_COMPARE(model->rowCount(folder) > 0, true);
        QStringList shown;
        QTRY_VERIFY_WITH_TIMEOUT((shown = visibleNames(model, folder)).size() >= 3, 5000);
        QCOMPARE(shown, QStringList({"DBROZ.MDB", "dbsoma.mdb", "dbVAM.mdb"}));

        // It only picks a file: it offers no delete, rename or new folder, nor does Delete delete.
        // The parts of Qt's dialog it hides go by the names Qt 6.4 gives them: renamed, they would show.
        dialog->show();
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        for (const char *name : {"qt_rename_action", "qt_delete_action", "qt_new_folder_action"}) {
            auto *action = dialog->findChild<QAction *>(QLatin1String(name));
            QVERIFY2(action && !action->isVisible(), name);
        }
        auto *newFolder = dialog->findChild<QToolButton *>(QStringLiteral("newFolderButton"));
        QVERIFY(newFolder && newFolder->isHidden() && !newFolder->isVisible());
        // However narrow the dialog, every column shows its text whole.
        dialog->setViewMode(QFileDialog::Detail);
        dialog->resize(dialog->minimumSizeHint());
        auto *details = dialog->findChild<QTreeView *>(QStringLiteral("treeView"));
        QVERIFY(details);
        for (int column = 0; column < details->header()->count(); ++column)
            QTRY_VERIFY2(details->columnWidth(column)
                             >= static_cast<QAbstractItemView *>(details)->sizeHintForColumn(column),
                         qPrintable(model->headerData(column, Qt::Horizontal).toString()));
        auto *list = dialog->findChild<QListView *>(QStringLiteral("listView"));
        const QModelIndex roz = model->index(dir.filePath(QStringLiteral("DBROZ.MDB")));
        QCOMPARE(contextMenuOf(list->viewport(), list->visualRect(roz).center()),
                 QStringList {"Show &hidden files"});
        list->setCurrentIndex(roz);
        QTimer::singleShot(0, dialog, [] { // the operator would answer Yes
            if (auto *question = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
                question->button(QMessageBox::Yes)->click();
        });
        QTest::keyClick(list, Qt::Key_Delete);
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(), 4);
    }

    void cancelWhenIdleEndsTheProgram()
    {
        auto *window = new frmValdorenDokumen(QStringLiteral("/nonexistent"));
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->show();
        QPointer<frmValdorenDokumen> guard(window);
        QTest::mouseClick(window->Command2, Qt::LeftButton);
        QTRY_VERIFY(guard.isNull());
    }

    // A close request during a run, by a second Cancel or by the window
    // system: the run stops, releases the target, keeps the rows stored
    // before the stop, and only then does the window close.
    void closeDuringARunWaitsForTheStoppedEnding_data()
    {
        QTest::addColumn<bool>("secondCancel");
        QTest::newRow("Cancel pressed twice") << true;
        QTest::newRow("close event") << false;
    }

    void closeDuringARunWaitsForTheStoppedEnding()
    {
        QFETCH(bool, secondCancel);
        QTemporaryDir dir;
        CodeLists lists;
        for (int i = 0; i < 400; ++i)
            lists["Kemasan"].append({QStringLiteral("K%1").arg(i), QStringLiteral("Kemasan %1").arg(i)});
        makeSource(dir.filePath(QStringLiteral("NewCodes.mdb")), lists);
        const QString target = dir.filePath(QStringLiteral("dbLUG.mdb"));
        makeTarget(target, lorvanta::Program::Lug);

        FakeDialogs dialogs;
        auto *window = new frmValdorenDokumen(dir.path());
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->txtFileName->setText(target);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QPointer<frmValdorenDokumen> guard(window);

        int storedAtRequest = -1;
        QTimer probe;
        probe.setInterval(0);
        connect(&probe, &QTimer::timeout, this, [&] {
            if (!guard || !guard->isRunning() || storedAtRequest >= 0)
                return;
            const QString shown = guard->lblInfo->text();
            if (!shown.startsWith(QStringLiteral("K12 ")))
                return;
            // K12's status is shown: K13's insert has run before this yield.
            storedAtRequest = 14;
            if (secondCancel) {
                QTest::mouseClick(guard->Command2, Qt::LeftButton);
                QVERIFY(guard->bStop);
                QTest::mouseClick(guard->Command2, Qt::LeftButton);
            } else {
                guard->close();
            }
            QVERIFY(guard); // not closed under the run
            QVERIFY(guard->isVisible());
        });
        probe.start();
        QTest::mouseClick(window->cmdOk, Qt::LeftButton);
        probe.stop();
        QCOMPARE(storedAtRequest, 14);
        QTRY_VERIFY(guard.isNull());
        QVERIFY(dialogs.messages.isEmpty());

        // Released, with the program still alive: another program can lock
        // both files at once.
        QVERIFY(isReleased(target));
        QVERIFY(isReleased(dir.filePath(QStringLiteral("NewCodes.mdb"))));
        QCOMPARE(tableRows(target, QStringLiteral("GorvanPelikMiro"), QStringLiteral("tblKemasan")).size(),
                 storedAtRequest);
        QCOMPARE(integrityCheck(target), QStringLiteral("ok"));
    }

private:
    static QStringList visibleNames(QFileSystemModel *model, const QModelIndex &folder)
    {
        QStringList names;
        for (int row = 0; row < model->rowCount(folder); ++row) {
            const QModelIndex index = model->index(row, 0, folder);
            if (model->flags(index) & Qt::ItemIsEnabled)
                names << model->fileName(index);
        }
        names.sort(Qt::CaseInsensitive);
        return names;
    }
};

QTEST_MAIN(TestTargetSelection)
#include "tst_targetselection.moc"
