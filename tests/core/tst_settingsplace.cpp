// Where the settings files are kept: beside the program when its folders can be written,
// else per user, starting from the shipped copy.

#include "core/app/appstate.h"
#include "support/testmain.h"

#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

class TestSettingsPlace : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void writableInstallationKeepsItsOwnFiles() {
        QTemporaryDir dir;
        QDir(dir.path()).mkpath(QStringLiteral("language"));
        QDir(dir.path()).mkpath(QStringLiteral("V100"));
        App().ProgramDir = dir.filePath(QStringLiteral("V100"));
        App().ProgramRoot = dir.path();
        QCOMPARE(App().mysetupPath(), dir.filePath(QStringLiteral("language/mysetup.ini")));
        QCOMPARE(App().settingPath(), dir.filePath(QStringLiteral("V100/Setting.ini")));
    }

    void unwritableInstallationUsesTheUserFolder() {
        // A folder that does not exist cannot be written either.
        App().ProgramRoot = QStringLiteral("/nonexistent/mzprog");
        App().ProgramDir = QStringLiteral("/nonexistent/mzprog/V100");
        const QString user =
            QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
            QStringLiteral("/mzprog/");
        QCOMPARE(App().mysetupPath(), user + QStringLiteral("mysetup.ini"));
        QCOMPARE(App().settingPath(), user + QStringLiteral("Setting.ini"));
        QCOMPARE(App().versionIniPath(), QStringLiteral("/nonexistent/mzprog/Version.ini"));
    }
};

MZ_TEST_GUILESS_MAIN(TestSettingsPlace)
#include "tst_settingsplace.moc"
