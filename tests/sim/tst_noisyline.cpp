// Sessions with mzsim behind a noisy cable: lost bytes cost a retry each, and damaged bytes
// never reach the document.

#include "core/app/appstate.h"
#include "core/app/documenttitles.h"
#include "core/app/startup.h"
#include "core/link/memorymap.h"
#include "core/link/serialtransport.h"
#include "core/link/session.h"
#include "core/model/document.h"
#include "sim/simprocess.h"
#include "support/documentbuilders.h"
#include "support/lossyrelay.h"
#include "support/ptylink.h"
#include "support/richdocument.h"
#include "support/scriptedprompter.h"
#include "support/testmain.h"

#include <QEventLoop>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {
QByteArray bytesOf(const MemBuf& m) {
    return QByteArray(reinterpret_cast<const char*>(m.data()), int(m.size()));
}

// The program's end of the noisy cable: its relay does not echo.
struct NoisyLink : PtyLink {
    explicit NoisyLink(const QString& device) : PtyLink(device, 120000) { session.SetNoEcho(true); }
};

} // namespace

class TestNoisyLine : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString path(const char* name) const { return dir.filePath(QLatin1String(name)); }

private slots:
    void initTestCase() {
        QVERIFY(dir.isValid());
        Document doc;
        UseStagedLanguage();
        App().ProgramRoot = QStringLiteral(MZ_STAGE_DIR);
        LoadVersionTable(doc);
    }

    // A byte lost on its way to the radio leaves a fragment there that the radio drops after
    // half a second of silence; the retry waits for that and then gets through.
    void lostBytesCostOneRetryEach() {
        Document source;
        FillRichDocument(source, 1);
        const QByteArray image = bytesOf(PackedImage(source));
        QVERIFY(WriteBytes(path("lost.bin"), image));
        for (const quint32 seed : {1u, 2u, 3u}) {
            SimProcess sim;
            QVERIFY(sim.start({"--mode", "1", "--save", path("lost-saved.bin")}));
            LossyRelay relay({0.001, 0}, {}, seed);
            QVERIFY(relay.open(sim.device));
            NoisyLink writer(relay.device());
            FillRichDocument(writer.doc, 1);
            writer.prompter.expect(9010);
            QVERIFY2(writer.run(CommKind::Write), qPrintable(writer.session.lastFailure()));
            QCOMPARE(ReadBytes(path("lost-saved.bin")), image);

            NoisyLink reader(relay.device());
            reader.prompter.expect(9009);
            QVERIFY2(reader.run(CommKind::Read), qPrintable(reader.session.lastFailure()));
            QVERIFY(bytesOf(PackedImage(reader.doc)) == image);
            QVERIFY(relay.lost > 0);
        }
    }

    // Bits flipped both ways: a read either ends with exactly the radio's memory, or fails.
    void flippedBitsNeverReachTheDocument() {
        Document source;
        FillRichDocument(source, 1);
        const QByteArray image = bytesOf(PackedImage(source));
        QVERIFY(WriteBytes(path("flip.bin"), image));
        SimProcess sim;
        QVERIFY(sim.start({"--mode", "1", "--image", path("flip.bin")}));
        for (const quint32 seed : {1u, 2u, 3u}) {
            LossyRelay relay({0, 0.003}, {0, 0.003}, seed);
            QVERIFY(relay.open(sim.device));
            NoisyLink reader(relay.device());
            reader.prompter.expect(9009);
            reader.prompter.allowAny(Prompter::Answer::Cancel);
            const RadioDataRec before = reader.doc.RadioData;
            if (reader.run(CommKind::Read))
                QVERIFY(bytesOf(PackedImage(reader.doc)) == image);
            else
                QVERIFY(reader.doc.RadioData == before);
            QVERIFY(relay.flipped > 0);
        }
    }
};

MZ_TEST_GUILESS_MAIN(TestNoisyLine)
#include "tst_noisyline.moc"
