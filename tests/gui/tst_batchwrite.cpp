// Program > Write to Several Radios against mzsim: the document saved first, the result of each
// radio shown large, a radio done once in the batch written again only when confirmed, Stop.

#include "gui/guitestenv.h"
#include "gui/mainwindowfixture.h"
#include "support/testmain.h"

#include "core/app/appstate.h"
#include "core/files/csvtable.h"
#include "core/lang/langtext.h"
#include "link/frmbatchwrite.h"
#include "sim/simprocess.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

using A = Prompter::Answer;

class TestBatchWrite : public QObject, MainWindowFixture {
    Q_OBJECT
    ScriptedPrompter prompter;
    SimProcess* sim = nullptr;

    // Opens the batch window from the menu on a document saved as name.
    FrmBatchWrite* openWindow(const char* name) {
        chosen = tree->dir.filePath(QLatin1String(name));
        child<QAction>(main.get(), "mnuWriteSeveral")->trigger();
        return main->findChild<FrmBatchWrite*>();
    }
    QString resultText(FrmBatchWrite* w) { return child<QLabel>(w, "LabelResult")->text(); }
    QString stepText(FrmBatchWrite* w) { return child<QLabel>(w, "LabelStep")->text(); }

private slots:
    void init() {
        build(prompter);
        show();
    }
    void cleanup() {
        QVERIFY2(prompter.unexpected.isEmpty(), qPrintable(prompter.unexpected.join('\n')));
        reset();
    }

    void batchOfTwoWithTheSameRadioComingBack() {
        SimProcess radio;
        QVERIFY(radio.start({}));
        App().PortName = radio.device;
        QAction* write = child<QAction>(main.get(), "mnuWriteToRadio");

        // The unnamed document is saved first, so that the log can name its file.
        QVERIFY(doc->IsNewFile);
        FrmBatchWrite* w = openWindow("batch.dat");
        QVERIFY(w);
        QVERIFY(!doc->IsNewFile);
        QVERIFY(w->isModal());
        QVERIFY(!write->isEnabled()); // no other session meanwhile
        QCOMPARE(child<QLabel>(w, "LabelDocument")->text(),
                 QDir::toNativeSeparators(tree->dir.filePath(QStringLiteral("batch.dat"))));
        QVERIFY(!child<QCheckBox>(w, "CheckBackup")->isChecked()); // a backup costs a read
        QVERIFY(child<QLineEdit>(w, "TextLog")
                    ->text()
                    .contains(QStringLiteral("mzprog-batch-") +
                              QDate::currentDate().toString("yyyyMMdd")));

        const QString log = tree->dir.filePath(QStringLiteral("log.csv"));
        child<QLineEdit>(w, "TextLog")->setText(log);
        child<QSpinBox>(w, "SpinCount")->setValue(2);
        QTest::mouseClick(child<QPushButton>(w, "CommandStart"), Qt::LeftButton);
        QVERIFY(!child<QPushButton>(w, "CommandStart")->isEnabled());

        const QString serial = QStringLiteral("SIM00000001");
        QTRY_COMPARE_WITH_TIMEOUT(resultText(w), LoadLangText(26012).arg(serial).arg(1).arg(2),
                                  30000);
        QVERIFY(child<QLabel>(w, "LabelResult")->property("good").toBool());
        QCOMPARE(stepText(w), LoadLangText(26019));

        // The same radio, switched off and on, is asked about; No refuses it.
        // The big line then asks for the next radio; the last result stays below it.
        QCOMPARE(radio.control("off"), QStringLiteral("off"));
        QTRY_COMPARE_WITH_TIMEOUT(resultText(w), LoadLangText(26011), 30000);
        QCOMPARE(stepText(w), LoadLangText(26012).arg(serial).arg(1).arg(2));
        prompter.expect(LoadLangText(26022).arg(serial), A::No);
        QCOMPARE(radio.control("on"), QStringLiteral("on"));
        QTRY_VERIFY_WITH_TIMEOUT(child<QPushButton>(w, "CommandStart")->isEnabled(), 30000);
        QVERIFY(prompter.saw(LoadLangText(26022).arg(serial)));
        QVERIFY(child<QListWidget>(w, "ListRadios")
                    ->item(1)
                    ->text()
                    .contains(QStringLiteral("refused: serial number")));
        // One radio refused: the end is red, and nothing needs writing again.
        QCOMPARE(resultText(w),
                 LoadLangText(27607) + '\n' + LoadLangText(27605).arg(2).arg(1).arg(1));
        QVERIFY(!child<QLabel>(w, "LabelResult")->property("good").toBool());
        QCOMPARE(stepText(w), LoadLangText(26020).arg(2).arg(1));
        QCOMPARE(child<QListWidget>(w, "ListRadios")->count(), 2);

        QFile f(log);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const CsvTable t = ReadCsv(f.readAll());
        // The column line; the radio written, before and after; the radio refused.
        QCOMPARE(t.records.size(), 4);
        QCOMPARE(t.records[1].fields.value(7), QStringLiteral("started"));
        QCOMPARE(t.records[1].fields.value(4), tree->dir.filePath(QStringLiteral("batch.dat")));

        QTest::mouseClick(child<QPushButton>(w, "CommandClose"), Qt::LeftButton);
        QTRY_VERIFY(write->isEnabled());
    }

    void stopWhileWaitingEndsAtOnce() {
        SimProcess radio;
        QVERIFY(radio.start({}));
        QCOMPARE(radio.control("off"), QStringLiteral("off"));
        App().PortName = radio.device;
        FrmBatchWrite* w = openWindow("stop.dat");
        QVERIFY(w);
        child<QLineEdit>(w, "TextLog")->setText(tree->dir.filePath(QStringLiteral("stop.csv")));
        QTest::mouseClick(child<QPushButton>(w, "CommandStart"), Qt::LeftButton);
        QCOMPARE(resultText(w), LoadLangText(26011));
        auto* stop = child<QPushButton>(w, "CommandStop");
        QCOMPARE(stop->text(), LoadLangText(26008));
        QVERIFY(QKeySequence::mnemonic(stop->text()) !=
                QKeySequence::mnemonic(child<QPushButton>(w, "CommandStart")->text()));
        QTest::mouseClick(stop, Qt::LeftButton);
        QVERIFY(!w->writer().running());
        QCOMPARE(resultText(w), LoadLangText(27607));
        QVERIFY(child<QPushButton>(w, "CommandStart")->isEnabled());
        QCOMPARE(w->writer().handled(), 0);
    }

    // Stop ends the batch after the radio; pressed again during the write, it asks as Cancel
    // does, and Yes stops the radio at once, logged as failed.
    void stopNowDuringAWriteAsksFirst() {
        SimProcess radio;
        QVERIFY(radio.start({"--baud", "9600"})); // a write of some seconds
        App().PortName = radio.device;
        FrmBatchWrite* w = openWindow("slow.dat");
        QVERIFY(w);
        const QString log = tree->dir.filePath(QStringLiteral("slow.csv"));
        child<QLineEdit>(w, "TextLog")->setText(log);
        QTest::mouseClick(child<QPushButton>(w, "CommandStart"), Qt::LeftButton);
        auto* bar = child<QProgressBar>(w, "ProgressBar1");
        QTRY_VERIFY_WITH_TIMEOUT(w->writer().phase() == BatchPhase::Writing && bar->value() > 0,
                                 30000);
        // While blocks go out, the big line says so, with the percentage.
        const QString serial = w->writer().currentSerial();
        QVERIFY(resultText(w).startsWith(LoadLangText(27601).arg(serial) + '\n'));
        QVERIFY(resultText(w).endsWith(QStringLiteral(" %")));
        auto* stop = child<QPushButton>(w, "CommandStop");
        QTest::mouseClick(stop, Qt::LeftButton);
        QVERIFY(w->writer().running());
        QCOMPARE(stepText(w), LoadLangText(26027));
        QCOMPARE(stop->text(), LoadLangText(26009));
        prompter.expect(9810, A::Yes);
        QTest::mouseClick(stop, Qt::LeftButton);
        QVERIFY(prompter.saw(9810));
        QVERIFY(!w->writer().running());
        QVERIFY(child<QListWidget>(w, "ListRadios")
                    ->item(0)
                    ->text()
                    .contains(QStringLiteral("failed: stopped during the write")));
        QCOMPARE(resultText(w),
                 LoadLangText(27607) + '\n' + LoadLangText(27604).arg(1).arg(0).arg(1).arg(serial));
        QVERIFY(!child<QLabel>(w, "LabelResult")->property("good").toBool());
        QFile f(log);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const CsvTable t = ReadCsv(f.readAll());
        QCOMPARE(t.records.size(), 3);
        QCOMPARE(t.records[1].fields.value(7), QStringLiteral("started"));
        QVERIFY(t.records[2].fields.value(7).startsWith(
            QStringLiteral("failed: stopped during the write; the radio is partly written")));
    }

    // A port that is not there is named at Start, as the connection test names it, instead of
    // being asked about for ever; the port can be changed in the window.
    void aMissingPortIsNamedAtOnce() {
        const QString missing = tree->dir.filePath(QStringLiteral("ttyUSB9"));
        App().PortName = missing;
        FrmBatchWrite* w = openWindow("noport.dat");
        QVERIFY(w);
        auto* port = child<QComboBox>(w, "ComboPort");
        QCOMPARE(port->currentText(), missing);
        child<QLineEdit>(w, "TextLog")->setText(tree->dir.filePath(QStringLiteral("np.csv")));
        QTest::mouseClick(child<QPushButton>(w, "CommandStart"), Qt::LeftButton);
        QVERIFY(!w->writer().running());
        QVERIFY2(resultText(w).startsWith(missing + QStringLiteral(" does not exist")),
                 qPrintable(resultText(w)));

        SimProcess radio;
        QVERIFY(radio.start({}));
        QCOMPARE(radio.control("off"), QStringLiteral("off"));
        port->setCurrentText(radio.device);
        QTest::mouseClick(child<QPushButton>(w, "CommandStart"), Qt::LeftButton);
        QVERIFY(w->writer().running());
        QCOMPARE(w->writer().settings().port, radio.device);
        QVERIFY(!port->isEnabled());
        w->stopBatch();
    }

    void aLogThatCannotBeWrittenIsTold() {
        SimProcess radio;
        QVERIFY(radio.start({"--save", tree->dir.filePath(QStringLiteral("untouched.bin"))}));
        App().PortName = radio.device;
        FrmBatchWrite* w = openWindow("nolog.dat");
        QVERIFY(w);
        child<QLineEdit>(w, "TextLog")->setText(tree->dir.path()); // a folder
        prompter.expect(LoadLangText(26021).section(QStringLiteral("%1"), 0, 0));
        QTest::mouseClick(child<QPushButton>(w, "CommandStart"), Qt::LeftButton);
        QCOMPARE(prompter.asked.size(), 1);
        QVERIFY(!w->writer().running());

        // A document every write would refuse does not start a batch either.
        child<QLineEdit>(w, "TextLog")->setText(tree->dir.filePath(QStringLiteral("ok.csv")));
        doc->CHInfo[0].CHNo = 999;
        QTest::mouseClick(child<QPushButton>(w, "CommandStart"), Qt::LeftButton);
        QCOMPARE(prompter.asked.size(), 2);
        QVERIFY(prompter.asked[1].text.contains(LoadLangText(9856)));
        QVERIFY(!w->writer().running());
        QVERIFY(!QFile::exists(tree->dir.filePath(QStringLiteral("untouched.bin"))));
    }
};

MZ_TEST_MAIN(TestBatchWrite)
#include "tst_batchwrite.moc"
