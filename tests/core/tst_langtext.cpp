#include "core/app/appstate.h"
#include "core/lang/inireader.h"
#include "core/lang/langtext.h"
#include "support/testmain.h"

#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

class TestLangText : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

    void write(const QString& name, const QByteArray& text) {
        QDir().mkpath(dir.path() + "/language");
        QFile f(dir.path() + "/language/" + name);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text);
    }

private slots:
    void initTestCase() {
        App().ProgramDir = dir.path();
        App().UseLanguage(Language::English);
    }

    void sections_data() {
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("section");
        QTest::newRow("9999") << 9999 << "Msg";
        QTest::newRow("10000") << 10000 << "Menu";
        QTest::newRow("28500") << 28500 << "CHEdit";
        QTest::newRow("31999") << 31999 << "ResetMode";
        QTest::newRow("32000") << 32000 << "Others";
        QTest::newRow("0") << 0 << "OTHER";
        QTest::newRow("negative") << -5 << "OTHER";
        QTest::newRow("22002") << 22002 << "Port";
    }
    void sections() {
        QFETCH(int, id);
        QFETCH(QString, section);
        QCOMPARE(LangSection(id), section);
    }

    void lookup() {
        write("english.ini", "[msg]\n9004 =   Read the radio?   \n[MENU]\n10000=&File\n"
                             "[Others]\n40000=x\n[OTHER]\n-3=neg\n");
        QCOMPARE(LoadLangText(9004), QString("Read the radio?"));
        QCOMPARE(LoadLangText(10000), QString("&File"));
        QCOMPARE(LoadLangText(40000), QString("x"));
        QCOMPARE(LoadLangText(-3), QString("neg"));
        QCOMPARE(LoadLangText(9005), QString());
        QCOMPARE(LoadLangText(12000), QString());
    }

    void longValuesAreCut() {
        write("english.ini", "[Msg]\n9001=" + QByteArray(300, 'a') +
                                 "\n9002=" + QString(100, QChar(0x4E2D)).toUtf8() + "\n");
        QCOMPARE(LoadLangText(9001), QString(254, 'a'));
        // 254 bytes hold 84 whole three-byte characters; no half character is left.
        QCOMPARE(LoadLangText(9002), QString(84, QChar(0x4E2D)));
    }

    void followsLanguageAndFileChanges() {
        write("english.ini", "[Main]\n12000=English\n");
        write("chinese.ini", "[Main]\n12000=中文\n");
        QCOMPARE(LoadLangText(12000), QString("English"));
        App().UseLanguage(Language::Chinese);
        QCOMPARE(LoadLangText(12000), QString::fromUtf8("中文"));
        App().UseLanguage(Language::English);
        write("english.ini", "[Main]\n12000=Changed text\n");
        QCOMPARE(LoadLangText(12000), QString("Changed text"));
        QFile::remove(dir.path() + "/language/english.ini");
        QCOMPARE(LoadLangText(12000), QString());
    }

    void onlyRegularFilesOfALanguageFilesSize() {
        // A FIFO would block the lookup for ever, a huge file would fill the memory: neither
        // is a language file, and both read as a file without the text, at once.
        const QString path = dir.path() + "/language/english.ini";
        QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0666) == 0);
        QCOMPARE(LoadLangText(12000), QString());
        QFile::remove(path);
        write("english.ini", "[Main]\n12000=English\n");
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadWrite) && f.resize(IniTable::MaxBytes + 1));
        f.close();
        QCOMPARE(LoadLangText(12000), QString());
        QVERIFY(QFile(path).resize(IniTable::MaxBytes));
        QCOMPARE(LoadLangText(12000), QString("English"));
    }
};

MZ_TEST_GUILESS_MAIN(TestLangText)
#include "tst_langtext.moc"
