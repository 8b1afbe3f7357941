// Reading one value of a settings file: the Linux build reads through the INI library, the
// Windows build through its own reader; both must give the same answers to the same files.

#include "core/app/inifile.h"
#include "support/testmain.h"

#include <QTemporaryDir>
#include <QTest>

class TestIniRead : public QObject {
    Q_OBJECT
private slots:
    void sameAnswersOnEverySystem_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        const QByteArray setup = "[Language]\r\nCurrentLanguage=1\r\n[Port]\r\ncomPort = 7 \r\n";
        QTest::newRow("crlf") << setup << "Language"
                              << "CurrentLanguage"
                              << "1";
        QTest::newRow("spaces trimmed") << setup << "Port"
                                        << "comPort"
                                        << "7";
        QTest::newRow("no case") << setup << "port"
                                 << "COMPORT"
                                 << "7";
        QTest::newRow("other section") << setup << "Language"
                                       << "comPort" << QString();
        QTest::newRow("bom") << QByteArray("\xEF\xBB\xBF[A]\nk=v\n") << "A"
                             << "k"
                             << "v";
        QTest::newRow("comments") << QByteArray("; c\n# d\n[A]\n;k=no\nk=v ; note\n") << "A"
                                  << "k"
                                  << "v";
        QTest::newRow("colon") << QByteArray("[A]\nk: v\n") << "A"
                               << "k"
                               << "v";
        QTest::newRow("first counts") << QByteArray("[A]\nk=1\nk=2\n") << "A"
                                      << "k"
                                      << "1";
        QTest::newRow("semicolon kept") << QByteArray("[A]\nk=a;b\n") << "A"
                                        << "k"
                                        << "a;b";
        QTest::newRow("commas kept") << QByteArray("[A]\nk=1,2,3\n") << "A"
                                     << "k"
                                     << "1,2,3";
        QTest::newRow("chinese") << QByteArray("[A]\nk=\xE4\xB8\xAD\xE6\x96\x87\n") << "A"
                                 << "k" << QString::fromUtf8("\xE4\xB8\xAD\xE6\x96\x87");
    }
    void sameAnswersOnEverySystem() {
        QFETCH(QByteArray, file);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("t.ini"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(file);
        f.close();
        QCOMPARE(IniRead(path, section, key), value);
    }

    void missingFileIsEmpty() {
        QCOMPARE(
            IniRead(QStringLiteral("no/such/file.ini"), QStringLiteral("A"), QStringLiteral("k")),
            QString());
    }
};

MZ_TEST_GUILESS_MAIN(TestIniRead)
#include "tst_iniread.moc"
