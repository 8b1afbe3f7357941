// The CSV log of a batch: a column line once, lines only ever appended, fields quoted.

#include "core/files/batchlog.h"
#include "core/files/csvtable.h"
#include "support/testmain.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {
BatchLogEntry entry(BatchOutcome outcome, const QString& reason) {
    BatchLogEntry e;
    e.when = QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7), Qt::OffsetFromUTC, 3600);
    e.serialNo = QStringLiteral("0123456");
    e.model = QStringLiteral("MZ-710");
    e.countryMode = 1;
    e.document = QStringLiteral("/home/d/plan, EU.dat");
    e.imageSha256 = QString(64, QLatin1Char('a'));
    e.outcome = outcome;
    e.reason = reason;
    e.programVersion = QStringLiteral("1.0.0");
    return e;
}

QByteArray contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
} // namespace

class TestBatchLog : public QObject {
    Q_OBJECT
private slots:
    void resultTexts_data() {
        QTest::addColumn<int>("outcome");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<QString>("text");
        QTest::newRow("verified") << int(BatchOutcome::Verified) << QString() << "verified";
        QTest::newRow("differs") << int(BatchOutcome::Differs) << "channel 5: RxFre; Beep"
                                 << "differs: channel 5: RxFre; Beep";
        QTest::newRow("refused") << int(BatchOutcome::Refused) << "country mode HF"
                                 << "refused: country mode HF";
        QTest::newRow("failed") << int(BatchOutcome::Failed) << "no answer"
                                << "failed: no answer";
    }
    void resultTexts() {
        QFETCH(int, outcome);
        QFETCH(QString, reason);
        QFETCH(QString, text);
        QCOMPARE(entry(BatchOutcome(outcome), reason).resultText(), text);
    }

    void appendsAndNeverRewrites() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("sub/log.csv")); // folder made too
        const BatchLog log(path);
        QVERIFY(log.check());
        QVERIFY(log.check()); // the column line is written once
        QVERIFY(log.append(entry(BatchOutcome::Verified, QString())));
        const QByteArray first = contents(path);
        QVERIFY(
            log.append(entry(BatchOutcome::Differs, QStringLiteral("channel 5: RxFre, Tx_Power"))));
        QVERIFY(contents(path).startsWith(first));

        const CsvTable t = ReadCsv(contents(path));
        QCOMPARE(t.error, CsvError::None);
        QCOMPARE(t.records.size(), 3);
        QCOMPARE(t.records[0].fields, BatchLog::columns());
        const QStringList second = t.records[2].fields;
        QCOMPARE(second, BatchLog::fields(entry(BatchOutcome::Differs,
                                                QStringLiteral("channel 5: RxFre, Tx_Power"))));
        QCOMPARE(second[0], QStringLiteral("2026-03-04T05:06:07+01:00"));
        QCOMPARE(second[3], QStringLiteral("HF"));
        QCOMPARE(second[4], QStringLiteral("/home/d/plan, EU.dat"));
        QCOMPARE(second[7], QStringLiteral("differs: channel 5: RxFre, Tx_Power"));

        // A file of another batch keeps what it holds; no second column line.
        const BatchLog again(path);
        QVERIFY(again.append(entry(BatchOutcome::Failed, QStringLiteral("no answer"))));
        QCOMPARE(ReadCsv(contents(path)).records.size(), 4);
    }

    // A last line without its end, and radio texts a spreadsheet would run: every record stays
    // a record of its own, every cell text.
    void everyRecordStaysItsOwnText() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("log.csv"));
        BatchLog log(path);
        QVERIFY(log.append(entry(BatchOutcome::Verified, QString())));
        QFile f(path);
        QVERIFY(f.open(QIODevice::Append));
        f.write("a note without its line end");
        f.close();
        struct Text {
            QString serial, model, written;
        };
        const QList<Text> texts = {
            {QStringLiteral("=1+2"), QStringLiteral("MZ-710"), QStringLiteral("'=1+2")},
            {QStringLiteral("+49"), QStringLiteral("@SUM"), QStringLiteral("'+49")},
            {QStringLiteral("-1"), QStringLiteral("\tX"), QStringLiteral("'-1")},
            {QStringLiteral("0123"), QStringLiteral("\rX"), QStringLiteral("0123")},
        };
        for (const Text& t : texts) {
            BatchLogEntry e = entry(BatchOutcome::Started, QString());
            e.serialNo = t.serial;
            e.model = t.model;
            QVERIFY(log.append(e));
        }
        const CsvTable table = ReadCsv(contents(path));
        QCOMPARE(table.records.size(), 3 + texts.size());
        QCOMPARE(table.records[2].fields.first(), QStringLiteral("a note without its line end"));
        for (int i = 0; i < texts.size(); ++i) {
            const QStringList& cells = table.records[3 + i].fields;
            QCOMPARE(cells[1], texts[i].written);
            QVERIFY(!cells[2].isEmpty() && !QStringLiteral("=+-@\t\r").contains(cells[2][0]));
            QCOMPARE(cells[7], QStringLiteral("started"));
        }
    }

    void unwritableLogsAreTold() {
        QTemporaryDir dir;
        QString why;
        QVERIFY(!BatchLog(dir.path()).check(&why)); // a folder
        QVERIFY(!why.isEmpty());
        const QString ro = dir.filePath(QStringLiteral("ro.csv"));
        QVERIFY(BatchLog(ro).check());
        QFile::setPermissions(ro, QFile::ReadOwner);
        if (QFile(ro).open(QIODevice::Append)) QSKIP("running as root: every file is writable");
        QVERIFY(!BatchLog(ro).append(entry(BatchOutcome::Verified, QString()), &why));
        QVERIFY(!why.isEmpty());
    }

    void defaultPathIsDatedInTheDocumentsFolder() {
        const QString p = BatchLog::defaultPath(QDate(2026, 12, 7));
        QVERIFY(p.endsWith(QStringLiteral("/mzprog-batch-20261207.csv")));
    }
};

MZ_TEST_GUILESS_MAIN(TestBatchLog)
#include "tst_batchlog.moc"
