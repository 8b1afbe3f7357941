#include "core/app/appstate.h"
#include "core/app/inifile.h"
#include "core/app/otherversion.h"
#include "core/app/startup.h"
#include "core/lang/langtext.h"
#include "core/lang/languages.h"
#include "core/model/document.h"
#include "core/model/version.h"
#include "support/scriptedprompter.h"
#include "support/testmain.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {
void write(const QString& path, const QByteArray& text) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text);
}
QByteArray read(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
} // namespace

class TestSettings : public QObject {
    Q_OBJECT
    QTemporaryDir root;
    QString progDir;

    void install(const QByteArray& mysetup) {
        write(root.path() + "/language/mysetup.ini", mysetup);
        write(root.path() + "/Version.ini",
              "[Version]\nFirmVersionCount=2\n[Firm]\nFirm0=V100V100\n"
              "Firm1=V200V101\n");
        write(progDir + "/language/english.ini", "[Main]\n12000=Title E\n");
        write(progDir + "/language/chinese.ini", "[Main]\n12000=Title C\n");
    }
    QString setting(const char* key) {
        return IniRead(root.path() + "/language/mysetup.ini", "language", key);
    }

private slots:
    void init() {
        progDir = root.path() + "/V100";
        QFile::remove(progDir + "/Setting.ini");
    }

    void firstRunOnChineseSystem() {
        install("[language]\nIsFirstRun=1\ncomPort=4\nCurrentLanguage=1\n");
        Document doc;
        StartUp(doc, progDir, QLocale(QLocale::Chinese, QLocale::China));
        QCOMPARE(App().CurLanguage, Language::Chinese);
        QCOMPARE(App().LangFile, QString("chinese.ini"));
        QCOMPARE(App().AppTitle, QString("Title C"));
        QCOMPARE(App().ComPort, 4);
        QCOMPARE(setting("IsFirstRun"), QString("0"));
        QCOMPARE(setting("CurrentLanguage"), QString("2"));
        QCOMPARE(setting("comPort"), QString("4"));
        QCOMPARE(App().ProgramRoot, root.path());
        QCOMPARE(doc.chCount(), 10);
    }

    void firstRunElsewhereIsEnglish() {
        install("[language]\nIsFirstRun=1\ncomPort=1\n");
        Document doc;
        StartUp(doc, progDir, QLocale(QLocale::Chinese, QLocale::Taiwan));
        QCOMPARE(App().LangFile, QString("english.ini"));
    }

    void laterRunsKeepTheChosenLanguage() {
        install("[language]\nIsFirstRun=0\ncomPort=2\nCurrentLanguage=1\n");
        Document doc;
        StartUp(doc, progDir, QLocale(QLocale::Chinese, QLocale::China));
        QCOMPARE(App().LangFile, QString("english.ini"));
        install("[language]\nIsFirstRun=0\ncomPort=2\nCurrentLanguage=3\n");
        StartUp(doc, progDir, QLocale(QLocale::Chinese, QLocale::China));
        QCOMPARE(App().LangFile, QString("chinese.ini")); // the locale's choice stays
        QCOMPARE(int(App().CurLanguage), 3);
        QCOMPARE(setting("CurrentLanguage"), QString("3"));
    }

    // A language beyond English and Chinese is kept as CurrentLanguage 3 (which an older
    // program reads as "the system's language") with the file beside it.
    void languagesBeyondTheFirstTwo_data() {
        QTest::addColumn<QByteArray>("setup");
        QTest::addColumn<QString>("system");
        QTest::addColumn<QString>("file");       // the language file used
        QTest::addColumn<QString>("stored");     // CurrentLanguage afterwards
        QTest::addColumn<QString>("storedFile"); // LanguageFile afterwards
        QTest::newRow("first start, German system") << QByteArray("IsFirstRun=1\n") << "de_DE"
                                                    << "german.ini"
                                                    << "3"
                                                    << "german.ini";
        QTest::newRow("first start, Chinese system") << QByteArray("IsFirstRun=1\n") << "zh_CN"
                                                     << "chinese.ini"
                                                     << "2"
                                                     << "";
        QTest::newRow("first start, no file for the system")
            << QByteArray("IsFirstRun=1\n") << "pl_PL"
            << "english.ini"
            << "1"
            << "";
        QTest::newRow("German chosen, on an English system")
            << QByteArray("IsFirstRun=0\nCurrentLanguage=3\nLanguageFile=german.ini\n") << "en_US"
            << "german.ini"
            << "3"
            << "german.ini";
        QTest::newRow("the system's language, as an older program wrote it")
            << QByteArray("IsFirstRun=0\nCurrentLanguage=3\n") << "de_AT"
            << "german.ini"
            << "3"
            << "";
        QTest::newRow("English chosen in an older program after German")
            << QByteArray("IsFirstRun=0\nCurrentLanguage=1\nLanguageFile=german.ini\n") << "de_DE"
            << "english.ini"
            << "1"
            << "";
        QTest::newRow("a chosen file that is gone is kept for later")
            << QByteArray("IsFirstRun=0\nCurrentLanguage=3\nLanguageFile=gone.ini\n") << "en_GB"
            << "english.ini"
            << "3"
            << "gone.ini";
        QTest::newRow("a path is no language file")
            << QByteArray("IsFirstRun=0\nCurrentLanguage=3\nLanguageFile=../../german.ini\n")
            << "en_GB"
            << "english.ini"
            << "3"
            << "";
    }
    void languagesBeyondTheFirstTwo() {
        QFETCH(QByteArray, setup);
        QFETCH(QString, system);
        QFETCH(QString, file);
        QFETCH(QString, stored);
        QFETCH(QString, storedFile);
        install("[language]\ncomPort=1\n" + setup);
        write(progDir + "/language/german.ini",
              "[Language]\nName=Deutsch\nLocale=de\n[Main]\n12000=Titel D\n");
        Document doc;
        StartUp(doc, progDir, QLocale(system));
        QCOMPARE(App().LangFile, file);
        QCOMPARE(LangFilePath(), progDir + "/language/" + file);
        QCOMPARE(setting("CurrentLanguage"), stored);
        QCOMPARE(setting("LanguageFile"), storedFile);
        QFile::remove(progDir + "/language/german.ini");
    }

    // The language window lists the files by their own names; mzcli speaks the environment's.
    void languageFilesAndTheEnvironment() {
        install("[language]\nIsFirstRun=0\n");
        write(progDir + "/language/german.ini", "[Language]\nName=Deutsch\nLocale=de\n");
        write(progDir + "/language/polish.ini", "[Language]\nName=Polski\nLocale=PL\n");
        write(progDir + "/language/notes.ini", "[Main]\n12000=no language\n");
        QStringList names, codes;
        for (const LanguageInfo& l : FindLanguages(progDir + "/language")) {
            names << l.name;
            codes << l.locale;
        }
        QCOMPARE(names, (QStringList{"English", "中文", "Deutsch", "Polski"}));
        QCOMPARE(codes, (QStringList{"en", "zh", "de", "pl"}));
        const QList<LanguageInfo> all = FindLanguages(progDir + "/language");
        QCOMPARE(LanguageFileFor(all, QLocale("zh_TW")), QString());
        QCOMPARE(LanguageFileFor(all, QLocale("pl_PL")), QString("polish.ini"));

        const QByteArray keep[] = {qgetenv("LC_ALL"), qgetenv("LC_MESSAGES"), qgetenv("LANG")};
        struct Env {
            const char* all;
            const char* messages;
            const char* lang;
            const char* language; // the ISO code asked for, "C" for none
        };
        for (const Env& e :
             {Env{"", "", "de_DE.UTF-8", "de"}, Env{"", "pl_PL.UTF-8", "de_DE", "pl"},
              Env{"C", "pl_PL.UTF-8", "de_DE", "C"}, Env{"fr_FR@euro", "", "", "fr"},
              Env{"", "", "", "C"}}) {
            qputenv("LC_ALL", e.all);
            qputenv("LC_MESSAGES", e.messages);
            qputenv("LANG", e.lang);
            const QLocale l = EnvironmentLocale();
            const QString got = l.language() == QLocale::C
                                    ? QStringLiteral("C")
                                    : QLocale::languageToCode(l.language(), QLocale::ISO639Part1);
            QCOMPARE(got, QString::fromLatin1(e.language));
        }
        qputenv("LC_ALL", keep[0]);
        qputenv("LC_MESSAGES", keep[1]);
        qputenv("LANG", keep[2]);
        for (const char* f : {"german.ini", "polish.ini", "notes.ini"})
            QFile::remove(progDir + "/language/" + f);
    }

    void missingSettingsAreAFirstRun() {
        QFile::remove(root.path() + "/language/mysetup.ini");
        Document doc;
        StartUp(doc, progDir, QLocale(QLocale::English, QLocale::UnitedStates));
        QCOMPARE(App().ComPort, 1);
        QCOMPARE(setting("IsFirstRun"), QString("0"));
        QCOMPARE(setting("comPort"), QString("1"));
    }

    void iniWriteKeepsTheRest() {
        const QString p = root.path() + "/other.ini";
        write(p, "; comment\n[A]\nx=1\n[language]\nIsFirstRun=1\ncomPort=1\n\n[B]\ny=2\n");
        QVERIFY(IniWrite(p, "language", "comPort", "5"));
        QVERIFY(IniWrite(p, "language", "portName", "/dev/ttyUSB0"));
        QVERIFY(IniWrite(p, "C", "z", "3"));
        QCOMPARE(read(p), QByteArray("; comment\n[A]\nx=1\n[language]\nIsFirstRun=1\ncomPort=5\n"
                                     "portName=/dev/ttyUSB0\n\n[B]\ny=2\n[C]\nz=3\n"));
        QCOMPARE(IniRead(p, "LANGUAGE", "COMPORT"), QString("5"));
        QCOMPARE(IniRead(p, "language", "missing"), QString());
        QCOMPARE(IniRead(root.path() + "/nothing.ini", "a", "b"), QString());
    }

    void settingBytes() {
        App().ProgramDir = progDir;
        ReadSettingBytes();
        QCOMPARE(App().SettingBytes, (std::array<unsigned char, 4>{0, 0, 0, 1}));
        App().SettingBytes = {9, 8, 7, 6};
        QVERIFY(WriteSettingBytes());
        App().SettingBytes = {};
        ReadSettingBytes();
        QCOMPARE(App().SettingBytes, (std::array<unsigned char, 4>{9, 8, 7, 6}));
        QCOMPARE(QFileInfo(progDir + "/Setting.ini").size(), 4);
    }

    void versionTable() {
        install("[language]\nIsFirstRun=0\n");
        Document doc;
        StartUp(doc, progDir, QLocale::c());
        QCOMPARE(FirmPairs().size(), 2);
        QVERIFY(IsCompatible("V100", "V100"));
        QVERIFY(!IsCompatible("V100", "V101"));
        QCOMPARE(SoftForFirm("V101"), QString("V200"));
        QCOMPARE(SoftForFirm("V999"), QString());
        // Without a table (a program folder copied alone) the program still reads its own
        // version; only the others are unknown.
        const VersionPairs table = FirmPairs();
        FirmPairs().clear();
        QVERIFY(IsCompatible("V100", "V100"));
        QVERIFY(!IsCompatible("V100", "V101"));
        FirmPairs() = table;
        QVERIFY(OtherVersionProgram("V101").startsWith(root.path() + "/V200/"));
        for (const char* ok : {"V100", "V999", "V1.0"})
            QVERIFY2(IsVersionText(ok), ok);
        for (const char* bad : {"v100", "V10", "VABC", "X100", "V10 "})
            QVERIFY2(!IsVersionText(bad), bad);
        write(progDir + "/language/english.ini",
              "[Msg]\n9060=Firmware\n9061=Program\n9062=Other version\n9063=None\n9064=Data\n");
        App().UseLanguage(Language::English);
        QCOMPARE(VersionMessage("V100", "V101", 1),
                 QString("Other version\r\nData V1.01\r\nProgram V1.00"));
        QCOMPARE(VersionMessage("V100", "V101", 7), QString("Other versionV1.01"));
        // Nothing listed: message 9063 and nothing started.
        ScriptedPrompter p;
        p.expect(QStringLiteral("None"));
        QVERIFY(!RunOtherVersion("V555", p));
        QCOMPARE(p.texts(), QStringList{"None"});
    }

    void programRoot() {
        QCOMPARE(ProgramRootOf("/opt/Radio/V100"), QString("/opt/Radio"));
        QCOMPARE(ProgramRootOf("/opt/Radio/V100/"), QString("/opt/Radio"));
        QCOMPARE(ProgramRootOf("D:\\Radio\\V100"), QString("D:/Radio"));
        QCOMPARE(ProgramRootOf("/V100"), QString("/"));
        QCOMPARE(ProgramRootOf("V100"), QString("V100"));
    }
};

MZ_TEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
