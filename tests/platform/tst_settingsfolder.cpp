// Where the settings files are written on this system: the program's folder when files can
// really be made there, else the user's folder; on Windows a user copy, once made, wins.

#include "core/app/appstate.h"
#include "core/app/settingsplace.h"
#include "support/testmain.h"

#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

class TestSettingsFolder : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void folderThatTakesWrites() {
        QTemporaryDir dir;
        QVERIFY(FolderTakesWrites(dir.path()));
        QVERIFY(!FolderTakesWrites(dir.filePath(QStringLiteral("missing"))));
        // The probe leaves nothing behind.
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList());
    }

    void userCopyOnWindowsWins() {
        QTemporaryDir dir;
        QDir(dir.path()).mkpath(QStringLiteral("language"));
        QDir(dir.path()).mkpath(QStringLiteral("V100"));
        App().ProgramRoot = dir.path();
        App().ProgramDir = dir.filePath(QStringLiteral("V100"));
        const QString user = UserSettingsDir() + QStringLiteral("/Setting.ini");
        QDir().mkpath(UserSettingsDir());
        QFile::remove(user);
        // No user copy: the writable folder keeps its own file (the portable folder).
        QCOMPARE(App().settingPath(), dir.filePath(QStringLiteral("V100/Setting.ini")));
        QFile f(user);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        QCOMPARE(App().settingPath(),
                 UserSettingsWin() ? user : dir.filePath(QStringLiteral("V100/Setting.ini")));
        QFile::remove(user);
    }

    void unwritableFolderStartsTheUserCopyFromTheShippedOne() {
        QTemporaryDir dir;
        App().ProgramRoot = dir.filePath(QStringLiteral("missing"));
        App().ProgramDir = dir.filePath(QStringLiteral("missing/V100"));
        QCOMPARE(App().mysetupPath(), UserSettingsDir() + QStringLiteral("/mysetup.ini"));
    }
};

MZ_TEST_GUILESS_MAIN(TestSettingsFolder)
#include "tst_settingsfolder.moc"
