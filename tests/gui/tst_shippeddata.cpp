// The files shipped with the program: splash pictures, icon, demo document, and the desktop
// integration that an installation lays down.

#include "core/files/datafile.h"
#include "core/files/opendatafile.h"
#include "core/link/memorymap.h"
#include "core/model/channeledit.h"
#include "core/model/channelplan.h"
#include "core/model/channelrules.h"
#include "core/model/country.h"
#include "core/model/document.h"
#include "support/scriptedprompter.h"
#include "support/testmain.h"

#include <QFileInfo>
#include <QPixmap>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

class TestShippedData : public QObject {
    Q_OBJECT
private slots:
    void picturesLoadAndStaySmall() {
        for (const char* name : {"StartE.jpg", "StartC.jpg", "mzprog.png"}) {
            const QString path = QStringLiteral(MZ_PROGDIR "/") + QLatin1String(name);
            QPixmap p(path);
            QVERIFY2(!p.isNull(), name);
            QVERIFY2(QFileInfo(path).size() < 200 * 1024, name);
        }
        QCOMPARE(QPixmap(QStringLiteral(MZ_PROGDIR "/StartE.jpg")).size(),
                 QPixmap(QStringLiteral(MZ_PROGDIR "/StartC.jpg")).size());
    }

    void demoDocumentIsACbRadioWithChannels() {
        Document doc;
        QVERIFY(LoadDataFile(doc, QStringLiteral(MZ_PROGDIR "/demo/demo.dat")));
        QCOMPARE(doc.ModelName, QStringLiteral("MZ-710"));
        QCOMPARE(doc.CountryMode, 0);
        // Every national plan as a new CB document has it, the VFO and the eight MEM
        // channels, each of them a channel the radio can hold in its place.
        QVERIFY(doc.Channel(9) && doc.Channel(9)->RDCT == 8);
        QVERIFY(doc.Channel(280));
        for (int g = 0; g < GroupCount(0); ++g) {
            QVERIFY2(doc.CountCHInGroup(g, 0) > 0, qPrintable(GroupName(g, 0)));
            for (int row = 1; row <= GroupSize(g, 0); ++row) {
                const ChannelSlotRef slot = slotAt(doc, g, row);
                QVERIFY2(heldFrequencyNote(doc, slot).id == 0,
                         qPrintable(ChannelSlotName(slot.chNo, 0)));
            }
        }
        QCOMPARE(doc.CountCHInGroup(8, 0), 8);
    }

    // The initial-data files the build makes from the plan tables: every row as the table
    // says, accepted by File > Open without a word, and unchanged through the radio's memory.
    void initialDataFilesFollowTheirTables_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("table");
        QTest::addColumn<int>("mode");
        QTest::newRow("CB template") << "MZ-710_0_NEW.dat"
                                     << "cb.csv" << 0;
        QTest::newRow("CB factory") << "MZ-710_0.dat"
                                    << "cb.csv" << 0;
        QTest::newRow("HAM template") << "MZ-710_2_NEW.dat"
                                      << "ham10m.csv" << 2;
    }
    void initialDataFilesFollowTheirTables() {
        QFETCH(QString, file);
        QFETCH(QString, table);
        QFETCH(int, mode);
        Document doc;
        ScriptedPrompter prompter;
        doc.setPrompter(&prompter);
        QCOMPARE(OpenDataFile(doc, QStringLiteral(MZ_PROGDIR "/Init/") + file), OpenResult::Opened);
        QCOMPARE(prompter.texts(), QStringList());
        QCOMPARE(doc.CountryMode, mode);

        QFile csv(QStringLiteral(MZ_SOURCE_DIR "/data/channelplans/") + table);
        QVERIFY(csv.open(QIODevice::ReadOnly));
        QString error;
        const auto rows = ParsePlanTable(csv.readAll(), mode, &error);
        QVERIFY2(rows, qPrintable(error));
        for (const PlanRow& r : *rows) {
            const CHInfoRec* c = doc.Channel(r.chNo);
            QVERIFY2(bool(c) == !r.stored.isEmpty(), qPrintable(QString::number(r.line)));
            if (!c) continue;
            QCOMPARE(c->RxFre.text(), r.stored);
            QCOMPARE(doc.FreToListText(c->RxFre.text(), r.group), r.shown);
            if (r.fmOnly) QCOMPARE(c->AM_FM, i16(0));
            if (r.dup) QCOMPARE(c->DUP, i16(*r.dup));
        }
        if (mode == 0) {
            QCOMPARE(doc.FreToListText(doc.Channel(121)->RxFre.text(), 3),
                     QStringLiteral("27.60125"));
            QCOMPARE(doc.chCount(), 363);
        }

        MemBuf mem{};
        PackMemBuf(doc.RadioData, doc.CHInfo, mem);
        RadioDataRec back = doc.RadioData;
        ChannelList got{};
        UnpackMemBuf(mem, mode, back, got);
        QCOMPARE(back.CHCount, doc.RadioData.CHCount);
        for (int i = 0; i < doc.chCount(); ++i) {
            const CHInfoRec& c = doc.CHInfo[i];
            const auto it = std::find_if(got.begin(), got.begin() + back.CHCount,
                                         [&c](const CHInfoRec& g) { return g.CHNo == c.CHNo; });
            QVERIFY2(it != got.begin() + back.CHCount, qPrintable(QString::number(c.CHNo)));
            CHInfoRec want = c;
            if (c.CHNo == 401) want.Scan = 0; // the radio keeps no scan flag for the VFO
            QCOMPARE(*it, want);
        }
        QVERIFY(back == doc.RadioData);
    }

    void desktopEntryAndMetainfo() {
        const QString dir = QStringLiteral(MZ_SOURCE_DIR "/data/icons/");
        QFile desktop(dir + QStringLiteral("org.mzprog.mzprog.desktop"));
        QVERIFY(desktop.open(QIODevice::ReadOnly));
        const QString entry = QString::fromUtf8(desktop.readAll());
        QVERIFY(entry.contains(QStringLiteral("\nName[zh_CN]=")));
        // The file manager passes the file it opens with the program.
        QVERIFY(entry.contains(QStringLiteral("\nExec=mzprog %f\n")));
        // It names the font that Chinese texts need.
        QVERIFY(entry.contains(QStringLiteral("fonts-wqy-microhei")));
        QVERIFY(entry.contains(QStringLiteral("\nIcon=org.mzprog.mzprog\n")));

        const QString tool = QStandardPaths::findExecutable(QStringLiteral("appstreamcli"));
        if (tool.isEmpty()) QSKIP("appstreamcli is not installed");
        QProcess p;
        p.start(tool, {QStringLiteral("validate"), QStringLiteral("--no-net"),
                       dir + QStringLiteral("org.mzprog.mzprog.metainfo.xml")});
        QVERIFY(p.waitForFinished(60000));
        QVERIFY2(p.exitCode() == 0, p.readAll().constData());
    }
};

MZ_TEST_MAIN(TestShippedData)
#include "tst_shippeddata.moc"
