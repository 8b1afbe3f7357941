#include "core/app/appstate.h"
#include "core/app/documenttitles.h"
#include "core/app/startup.h"
#include "core/lang/langtext.h"
#include "core/lang/prompter.h"
#include "core/link/frames.h"
#include "core/link/linktexts.h"
#include "core/link/memorymap.h"
#include "core/link/session.h"
#include "core/model/document.h"
#include "core/model/documenthistory.h"
#include "support/documentbuilders.h"
#include "support/fakeradiotransport.h"
#include "support/richdocument.h"
#include "support/scriptedprompter.h"
#include "support/testmain.h"

#include <QEventLoop>
#include <QHash>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace {
using Kind = VirtualRadio::FrameKind;

class ScriptedAsker : public PasswordAsker {
public:
    std::optional<QString> answer;
    int asked = 0;
    std::optional<QString> askPassword(const QString&) override {
        ++asked;
        return answer;
    }
};

// Frames of one kind the radio received, in order, with their addresses.
QVector<int> addresses(const FakeRadioTransport& t, Kind kind) {
    QVector<int> a;
    for (const auto& ex : t.log)
        if (ex.kind == kind) a << ex.address;
    return a;
}
int frames(const FakeRadioTransport& t, Kind kind) {
    return int(
        std::count_if(t.log.begin(), t.log.end(), [&](const auto& ex) { return ex.kind == kind; }));
}
} // namespace

class TestSession : public QObject {
    Q_OBJECT

    struct Rig {
        Document doc;
        ScriptedPrompter prompter;
        ScriptedAsker asker;
        FakeRadioTransport radio;
        LinkSession session{doc};
        QSignalSpy ended{&session, &LinkSession::sessionEnded};
        QVector<int> percents;

        explicit Rig(const VirtualRadioConfig& c = {}) : radio(c) {
            doc.NewDocument();
            doc.setPrompter(&prompter);
            session.setTransport(&radio);
            session.setPrompter(&prompter);
            session.setPasswordAsker(&asker);
            session.setReadApplyDelay(0);
            QObject::connect(&session, &LinkSession::progress, [this](int p) { percents << p; });
            // As every driver does: a read becomes the document.
            QObject::connect(&session, &LinkSession::readReady, [this] {
                if (adopt) AdoptRadioRead(doc, session);
            });
        }
        bool adopt = true;
        // Runs a session to its end; returns its result.
        bool run(CommKind kind) {
            const int before = int(ended.size());
            if (!session.Start(kind)) return false;
            // An event loop, not QTest::qWaitFor, which sleeps between its looks.
            QEventLoop loop;
            QObject::connect(&session, &LinkSession::sessionEnded, &loop, &QEventLoop::quit);
            QTimer::singleShot(30000, &loop, &QEventLoop::quit);
            if (ended.size() == before) loop.exec();
            return ended.size() > before && ended.last().at(0).toBool();
        }
    };

private slots:
    void initTestCase() {
        // The version table and the language texts of the staged program.
        Document doc;
        UseStagedLanguage();
        App().ProgramRoot = QStringLiteral(MZ_STAGE_DIR);
        LoadVersionTable(doc);
        QVERIFY(!LoadLangText(9008).isEmpty());
    }

    void readHandsTheImageOverOnSuccess() {
        Document source;
        FillRichDocument(source);
        Rig r({"MZ-710", 1});
        r.adopt = false;
        r.radio.radio.memory = PackedImage(source);
        r.radio.chunkSize = 5; // bytes come in pieces, as from a serial port
        r.doc.CurFileName = QStringLiteral("old.dat");
        r.doc.IsNewFile = false;
        // An edit before the read is no step back from the radio's contents.
        r.doc.history().setRecording(true);
        r.doc.EditKeys([](KeyRec& k) { k.KeySet = 1; });
        r.doc.history().flush();
        QVERIFY(r.doc.history().stack().canUndo());
        r.prompter.expect(9009);
        QSignalSpy ready(&r.session, &LinkSession::readReady);
        const MemBuf before = PackedImage(r.doc);
        QVERIFY(r.run(CommKind::Read));
        QCOMPARE(ready.size(), 1);
        QCoreApplication::processEvents();
        // The link hands over what it read and nothing else: the document, its name and its
        // undo history are the driver's.
        QVERIFY(r.doc.history().stack().canUndo());
        QCOMPARE(r.doc.CurFileName, QStringLiteral("old.dat"));
        QVERIFY(PackedImage(r.doc) == before);
        const QDateTime when(QDate(2026, 12, 7), QTime(15, 22));
        AdoptRadioRead(r.doc, r.session, when);
        QCOMPARE(r.doc.RadioData.CHCount, source.RadioData.CHCount);
        QCOMPARE(r.doc.CountryMode, 1);
        QCOMPARE(r.doc.CurFileName, Document::unnamedFileName());
        QVERIFY(r.doc.IsNewFile);
        QCOMPARE(r.doc.title(), QStringLiteral("read from the radio 2026-12-07 15:22"));
        QVERIFY(PackedImage(r.doc) == PackedImage(source));
        QVERIFY(r.prompter.saw(LoadLangText(9009)));
        // Blocks in ascending order, each once; the password block first.
        const QVector<int> reads = addresses(r.radio, Kind::Read);
        QCOMPARE(reads.size(), 1 + 464);
        QCOMPARE(reads.first(), PassBlockAddr);
        QCOMPARE(reads[1], 0);
        QCOMPARE(reads.last(), 0x1CF0);
        QCOMPARE(frames(r.radio, Kind::End), 1);
        QVERIFY(std::is_sorted(r.percents.begin(), r.percents.end()));
        QCOMPARE(r.percents.last(), 100);
        QVERIFY(!r.radio.isOpen());
    }

    void writeSendsThePackedImage() {
        Rig r;
        FillRichDocument(r.doc, 0);
        const MemBuf expect = PackedImage(r.doc);
        r.radio.radio.memory.fill(0x5A);
        r.prompter.expect(9010);
        QVERIFY(r.run(CommKind::Write));
        QVERIFY(r.radio.radio.memory == expect);
        QCOMPARE(addresses(r.radio, Kind::Write).size(), 464);
        QVERIFY(r.prompter.saw(LoadLangText(9010)));
        QCOMPARE(r.percents.last(), 100);
    }

    void informationRead() {
        Rig r({"MZ-710", 2});
        r.radio.radio.setPassword("pw");
        QSignalSpy read(&r.session, &LinkSession::radioInfoRead);
        QVERIFY(r.run(CommKind::Info));
        QCOMPARE(read.size(), 1);
        QCOMPARE(r.doc.RadioInfo.InfoMode, 2);
        QCOMPARE(r.doc.RadioInfo.SerialNo.text(), QStringLiteral("SIM00000001"));
        QCOMPARE(r.doc.RadioInfo.Handler.text(), QStringLiteral("mzsim"));
        QCOMPARE(addresses(r.radio, Kind::Read).first(), 0x3E00);
        QCOMPARE(addresses(r.radio, Kind::Read).size(), 16);
        QCOMPARE(r.asker.asked, 0); // no password check, no progress window
        QVERIFY(r.percents.isEmpty());
        QCOMPARE(frames(r.radio, Kind::Write), 0);
    }

    void echoIsFoundAndKept() {
        Rig r;
        QVERIFY(!r.session.NoEcho());
        QVERIFY(r.run(CommKind::Info));
        // The cable does not echo: the first request timed out, the second worked.
        QCOMPARE(frames(r.radio, Kind::Program), 2);
        QVERIFY(r.session.NoEcho());
        r.radio.log.clear();
        r.prompter.expect(9009);
        QVERIFY(r.run(CommKind::Read));
        QCOMPARE(frames(r.radio, Kind::Program), 1);

        // A cable that echoes answers the very first request.
        Rig e;
        e.radio.echo = true;
        e.prompter.expect(9009);
        QVERIFY(e.run(CommKind::Read));
        QCOMPARE(frames(e.radio, Kind::Program), 1);
        QVERIFY(!e.session.NoEcho());
    }

    void password() {
        Rig r;
        r.session.SetNoEcho(true);
        r.radio.radio.setPassword("Ab");
        r.prompter.expect(QStringLiteral("PassWord Failure!")).expect(9009).expect(9010);
        // Nobody to ask: the session ends before any data moved.
        r.asker.answer.reset();
        QVERIFY(!r.run(CommKind::Read));
        QCOMPARE(r.asker.asked, 1);
        QVERIFY(r.prompter.saw(QStringLiteral("PassWord Failure!")));
        QCOMPARE(addresses(r.radio, Kind::Read), QVector<int>{PassBlockAddr});
        QCOMPARE(frames(r.radio, Kind::End), 1);

        // Typed with a trailing blank: the blank is dropped and the read goes on.
        r.asker.answer = QStringLiteral("Ab ");
        QVERIFY(r.run(CommKind::Read));
        QCOMPARE(r.asker.asked, 2);
        QCOMPARE(r.session.ProgPassword(), QStringLiteral("Ab"));
        // Known from then on: no more questions.
        QVERIFY(r.run(CommKind::Write));
        QCOMPARE(r.asker.asked, 2);

        // The other letter case fails.
        r.session.SetProgPassword(QString());
        r.asker.answer = QStringLiteral("ab");
        r.radio.log.clear();
        QVERIFY(!r.run(CommKind::Write));
        QCOMPARE(frames(r.radio, Kind::Write), 0);

        // A radio without password never asks.
        r.radio.radio.setPassword(QByteArray());
        r.asker.asked = 0;
        QVERIFY(r.run(CommKind::Read));
        QCOMPARE(r.asker.asked, 0);
    }

    void identityMismatchEndsBeforeData() {
        {
            Rig r({"XX-1", 0});
            r.session.SetNoEcho(true);
            r.prompter.expect(9012);
            const RadioDataRec before = r.doc.RadioData;
            QVERIFY(!r.run(CommKind::Read));
            QVERIFY(r.prompter.saw(QStringLiteral("PC is MZ-710\r\nRadio is XX-1")));
            QCOMPARE(addresses(r.radio, Kind::Read), QVector<int>{PassBlockAddr});
            QCOMPARE(frames(r.radio, Kind::End), 1);
            QVERIFY(r.doc.RadioData == before);
        }
        {
            Rig r({"MZ-710", 2});
            r.session.SetNoEcho(true);
            FillRichDocument(r.doc, 1);
            r.prompter.expect(9030);
            QVERIFY(!r.run(CommKind::Write));
            QVERIFY(r.prompter.saw(LoadLangText(9030)));
            // Both modes are named.
            QVERIFY(r.prompter.saw(QStringLiteral("PC is HF\r\nRadio is HAM")));
            QCOMPARE(frames(r.radio, Kind::Write), 0);
        }
        {
            Rig r({"MZ-710", 0, "V999"});
            r.session.SetNoEcho(true);
            QSignalSpy handOver(&r.session, &LinkSession::handOverRequested);
            r.prompter.answers = {Prompter::Answer::No};
            QVERIFY(!r.run(CommKind::Read));
            QCOMPARE(r.prompter.asked.last().buttons, Prompter::Buttons::YesNo);
            QCOMPARE(handOver.size(), 0);
            r.prompter.answers.push_back(Prompter::Answer::Yes);
            QVERIFY(!r.run(CommKind::Read));
            QCOMPARE(handOver.size(), 1);
            QCOMPARE(handOver.first().first().toString(), QStringLiteral("V999"));
            QCOMPARE(addresses(r.radio, Kind::Read).count(0), 0);
        }
        {
            // A country mode the program does not know is refused; the document stays.
            Rig r({"MZ-710", 3});
            r.session.SetNoEcho(true);
            const RadioDataRec before = r.doc.RadioData;
            r.prompter.expect(QStringLiteral("Country Mode Error!"));
            QVERIFY(!r.run(CommKind::Read));
            QVERIFY(r.prompter.saw(QStringLiteral("Country Mode Error!")));
            QVERIFY(r.doc.RadioData == before);
            QCOMPARE(r.doc.CountryMode, 0);
        }
    }

    void radioWithoutTonesWarnsOnce() {
        Rig r({"MZ-710", 0, "V100", false});
        r.session.SetNoEcho(true);
        r.prompter.expect(QStringLiteral("CTCSS/DCS Function is invalid,")).expect(9010);
        QVERIFY(r.run(CommKind::Write));
        QCOMPARE(r.prompter.count(QStringLiteral("CTCSS/DCS Function is invalid,\r\nSome features "
                                                 "will not work.")),
                 1);
    }

    void lostRepliesAreRetried() {
        Rig r({"MZ-710", 1});
        r.session.SetNoEcho(true);
        Document source;
        FillRichDocument(source, 1);
        r.radio.radio.memory = PackedImage(source);
        QSet<int> hit;
        r.radio.fault = [&](const VirtualRadio::Exchange& ex) {
            if (ex.kind != Kind::Read || hit.contains(ex.address))
                return FakeRadioTransport::Fault::None;
            if (ex.address == 0x50 || ex.address == PassBlockAddr) {
                hit.insert(ex.address);
                return FakeRadioTransport::Fault::Drop;
            }
            if (ex.address == 0x60) {
                hit.insert(ex.address);
                return FakeRadioTransport::Fault::Corrupt;
            }
            return FakeRadioTransport::Fault::None;
        };
        r.prompter.expect(9009);
        QVERIFY(r.run(CommKind::Read));
        QVERIFY(PackedImage(r.doc) == PackedImage(source));
        QCOMPARE(r.session.BlockRetries(0x50), 2);
        QCOMPARE(r.session.BlockRetries(0x60), 2);
        QCOMPARE(r.session.BlockRetries(0x70), 3);
        QVERIFY(r.prompter.asked.size() == 1); // only the closing message
    }

    // Damage a checksum cannot see, and identifications damaged into another radio, are never
    // believed: a read (or verify) that saw the line fault reads again until two reads agree.
    void damageTheChecksumMissesIsNeverBelieved() {
        using F = FakeRadioTransport::Fault;
        // seen: how often the radio answered this kind of frame at this address so far.
        using Faults = std::function<F(const VirtualRadio::Exchange&, int seen)>;
        const auto at = [](Kind kind, int address, F f, bool always = false) {
            return [=](const VirtualRadio::Exchange& ex, int seen) {
                return ex.kind == kind && (address < 0 || ex.address == address) &&
                               (always || seen == 1)
                           ? f
                           : F::None;
            };
        };
        const auto both = [](Faults a, Faults b) {
            return [=](const VirtualRadio::Exchange& ex, int seen) {
                const F f = a(ex, seen);
                return f != F::None ? f : b(ex, seen);
            };
        };
        const Faults lost50 = at(Kind::Read, 0x50, F::Drop);
        struct Case {
            const char* name;
            bool verify;
            Faults faults;
            bool ok;
            QString told;           // the message of a failure
            bool badOffset = false; // the radio holds a record no read can give
        };
        const QList<Case> cases = {
            {"a misleading block after a lost reply", false,
             both(lost50, at(Kind::Read, 0x100, F::Mislead)), true, QString()},
            {"a block no two reads of agree", false,
             both(lost50, at(Kind::Read, 0x100, F::Mislead, true)), false,
             LinkText(TxtBlocksDisagree).arg(QStringLiteral("0x0100")).arg(7)},
            {"a model name with a damaged byte", false, at(Kind::Ident, -1, F::Mislead), true,
             QString()},
            {"a version damaged into another", false, at(Kind::Ident, -1, F::Misname), true,
             QString()},
            {"a verify with a misleading block", true, at(Kind::Read, 0x100, F::Mislead), true,
             QString()},
            // Read twice; both reads agree, so the radio really holds it.
            {"a memory holding a damaged record", false, Faults(), true, QString(), true},
        };
        for (const Case& c : cases) {
            Rig r({"MZ-710", 1});
            r.session.SetNoEcho(true);
            Document source;
            FillRichDocument(source, 1);
            r.radio.radio.memory = PackedImage(source);
            if (c.badOffset) r.radio.radio.memory[ChannelAddress(1) + 3] = 3; // 3 kHz
            if (c.verify) {
                FillRichDocument(r.doc, 1);
                r.prompter.expect(9010);
                QVERIFY(r.run(CommKind::Write));
            }
            QHash<QPair<int, int>, int> seen;
            r.radio.fault = [&](const VirtualRadio::Exchange& ex) {
                const int n = ++seen[qMakePair(int(ex.kind), ex.address)];
                return c.faults ? c.faults(ex, n) : F::None;
            };
            QSignalSpy verified(&r.session, &LinkSession::verifyFinished);
            if (c.ok && !c.verify) r.prompter.expect(9009);
            if (!c.ok) r.prompter.expect(c.told.left(40));
            const RadioDataRec before = r.doc.RadioData;
            bool ok = false;
            if (c.verify) {
                QVERIFY(r.session.StartVerify());
                QEventLoop loop;
                QObject::connect(&r.session, &LinkSession::sessionEnded, &loop, &QEventLoop::quit);
                QTimer::singleShot(30000, &loop, &QEventLoop::quit);
                if (verified.isEmpty()) loop.exec();
                ok = !verified.isEmpty() && verified[0][0].toBool();
            } else {
                ok = r.run(CommKind::Read);
            }
            QVERIFY2(ok == c.ok, c.name);
            QVERIFY2(r.prompter.unexpected.isEmpty(), c.name);
            if (c.verify) {
                QCOMPARE(verified.size(), 1);
                QVERIFY2(verified[0][1].value<QVector<MemoryDifference>>().isEmpty(), c.name);
            } else if (c.ok) {
                QVERIFY2(r.session.memBuf() == r.radio.radio.memory, c.name);
            } else {
                QVERIFY2(r.doc.RadioData == before, c.name);
                QVERIFY2(r.prompter.saw(c.told.left(40)), c.name);
            }
        }
    }

    void blockThatKeepsFailingReachesThePrompt() {
        Rig r;
        r.session.SetNoEcho(true);
        r.radio.fault = [](const VirtualRadio::Exchange& ex) {
            return ex.kind == Kind::Read && ex.address == 0x100 ? FakeRadioTransport::Fault::Drop
                                                                : FakeRadioTransport::Fault::None;
        };
        const RadioDataRec before = r.doc.RadioData;
        int promptsSeen = 0;
        QVector<int> readsAtPrompt;
        r.prompter.onAsk = [&] {
            ++promptsSeen;
            readsAtPrompt << addresses(r.radio, Kind::Read).count(0x100);
            QVERIFY(!r.session.CommActive());
        };
        r.prompter.answers = {Prompter::Answer::Ok, Prompter::Answer::Cancel};
        QVERIFY(!r.run(CommKind::Read));
        // Four sends, then the question; after OK the transfer starts again at 0x0000, and the
        // block has no retry left, so the question comes again at its first time-out.
        QCOMPARE(readsAtPrompt, (QVector<int>{4, 5}));
        QCOMPARE(frames(r.radio, Kind::Program), 2);
        QCOMPARE(addresses(r.radio, Kind::Read).count(0), 2);
        QVERIFY(r.prompter.saw(LoadLangText(9008)));
        QCOMPARE(r.prompter.asked.first().buttons, Prompter::Buttons::RetryCancel);
        QVERIFY(!r.prompter.saw(LinkText(TxtNoAnswer)));
        QVERIFY(r.doc.RadioData == before);
        QVERIFY(r.percents.contains(0)); // the bar went back to 0
    }

    void stoppedTransferEndsAtOnceAndLeavesTheDocument() {
        for (const CommKind kind : {CommKind::Read, CommKind::Write}) {
            Rig r;
            r.session.SetNoEcho(true);
            r.radio.radio.memory.fill(0x5A);
            const RadioDataRec before = r.doc.RadioData;
            if (kind == CommKind::Write) r.prompter.expect(LinkText(TxtPartlyWritten));
            bool stopped = false;
            QObject::connect(&r.session, &LinkSession::progress, [&](int p) {
                if (p < 20 || std::exchange(stopped, true)) return;
                QTimer::singleShot(0, [&] { QVERIFY(r.session.StopTransfer()); });
            });
            QVERIFY(!r.run(kind));
            QCOMPARE(frames(r.radio, Kind::End), 1);
            QVERIFY(!r.radio.isOpen());
            QVERIFY(!r.session.isRunning());
            QVERIFY(!r.session.StopTransfer());
            QVERIFY(r.doc.RadioData == before);
            QCOMPARE(r.session.lastOutcome(), LinkSession::Outcome::Cancelled);
            // A write stopped among its blocks says where it stood and what it left in the
            // radio.
            if (kind == CommKind::Write) {
                QVERIFY(r.session.stoppedAtPercent() >= 20);
                QCOMPARE(r.prompter.asked.size(), 1);
                QCOMPARE(r.prompter.asked[0].text,
                         LinkText(TxtWriteStoppedAt).arg(r.session.stoppedAtPercent()) + ' ' +
                             LinkText(TxtPartlyWritten));
                QCOMPARE(r.session.writeReach(), LinkSession::WriteReach::Partly);
            } else {
                QVERIFY(r.prompter.asked.isEmpty());
            }
        }
    }

    void endlessResendIsCountedAgainstRetries() {
        Rig r;
        r.session.SetNoEcho(true);
        r.radio.radio.refuseWrite = [](int address) { return address == 0x200; };
        // The radio answers, and says no: that is what the user hears, and that the radio
        // now holds part of the new memory.
        r.prompter.expect(LinkText(TxtRefusedBlock).arg(QStringLiteral("0x0200")),
                          Prompter::Answer::Cancel);
        r.prompter.expect(LinkText(TxtPartlyWritten));
        QVERIFY(!r.run(CommKind::Write));
        QCOMPARE(addresses(r.radio, Kind::Write).count(0x200), 4);
        QVERIFY(!r.prompter.saw(LoadLangText(9008)));
        QCOMPARE(frames(r.radio, Kind::End), 1);
    }

    void eachFaultIsNamedByItsCause() {
        // What the radio does wrong, and what the user is told when the retries run out.
        struct Case {
            const char* name;
            CommKind kind;
            std::function<FakeRadioTransport::Fault(const VirtualRadio::Exchange&)> fault;
            QString told; // empty: the session succeeds without a question
            bool partlyWritten = false;
            QString logged = QString(); // the failure as the wire log ends with it
        };
        using F = FakeRadioTransport::Fault;
        int identsLost = 0;
        const QList<Case> cases = {
            // One lost identification is asked for again, like a lost block.
            {"identification lost once", CommKind::Read,
             [&](const VirtualRadio::Exchange& ex) {
                 return ex.kind == Kind::Ident && identsLost++ == 0 ? F::Drop : F::None;
             },
             QString()},
            {"identification lost for ever", CommKind::Read,
             [](const VirtualRadio::Exchange& ex) {
                 return ex.kind == Kind::Ident ? F::Drop : F::None;
             },
             LoadLangText(9008), false, "no answer to the identification"},
            {"damaged blocks", CommKind::Read,
             [](const VirtualRadio::Exchange& ex) {
                 return ex.kind == Kind::Read && ex.address == 0x100 ? F::Corrupt : F::None;
             },
             LinkText(TxtDamagedAnswers), false, "damaged answers to block 0x0100"},
            {"damaged acknowledges", CommKind::Write,
             [](const VirtualRadio::Exchange& ex) {
                 return ex.kind == Kind::Write && ex.address == 0x300 ? F::Corrupt : F::None;
             },
             LinkText(TxtDamagedAnswers), true,
             "damaged answers to the acknowledge of block 0x0300"},
        };
        for (const Case& c : cases) {
            Rig r;
            r.session.SetNoEcho(true);
            r.radio.fault = c.fault;
            if (c.told.isEmpty()) {
                r.prompter.expect(9009);
                QVERIFY2(r.run(c.kind), c.name);
                QCOMPARE(frames(r.radio, Kind::Ident), 2);
                continue;
            }
            r.prompter.expect(c.told, Prompter::Answer::Cancel);
            if (c.partlyWritten) r.prompter.expect(LinkText(TxtPartlyWritten));
            QVERIFY2(!r.run(c.kind), c.name);
            QVERIFY2(r.prompter.saw(c.told), c.name);
            QCOMPARE(r.prompter.saw(LinkText(TxtPartlyWritten)), c.partlyWritten);
            QCOMPARE(r.session.lastOutcome(), LinkSession::Outcome::Failed);
            QCOMPARE(r.session.lastFailure(), c.logged);
            // The cause replaces "the radio does not answer"; never both.
            if (c.told != LoadLangText(9008)) QVERIFY2(!r.prompter.saw(9008), c.name);
        }
        QCOMPARE(identsLost, 2);
    }

    void interruptedWriteKnowsWhatTheRadioHolds() {
        // Aborted before the first block, among the blocks, and after the last one.
        struct Case {
            int abortAtPercent; // -1: at the identification; 101: never
            LinkSession::WriteReach reach;
        };
        for (const Case& c : {Case{-1, LinkSession::WriteReach::Untouched},
                              Case{30, LinkSession::WriteReach::Partly},
                              Case{101, LinkSession::WriteReach::Complete}}) {
            Rig r;
            r.session.SetNoEcho(true);
            r.radio.radio.memory.fill(0x5A);
            bool aborted = false;
            auto abort = [&] {
                if (!std::exchange(aborted, true))
                    QTimer::singleShot(0, [&] { r.session.AbortSession(); });
            };
            r.radio.onExchange = [&](const VirtualRadio::Exchange& ex) {
                if (c.abortAtPercent < 0 && ex.kind == Kind::Ident) abort();
            };
            QObject::connect(&r.session, &LinkSession::progress, [&](int p) {
                if (p >= c.abortAtPercent) abort();
            });
            if (c.reach == LinkSession::WriteReach::Complete) r.prompter.expect(9010);
            r.run(CommKind::Write);
            // An abort is quiet: the interrupted program says it in its own words.
            QCOMPARE(int(r.prompter.asked.size()),
                     int(c.reach == LinkSession::WriteReach::Complete));
            QCOMPARE(r.session.writeReach(), c.reach);
        }
    }

    void verifyCountsBytesWithoutMeaning() {
        Rig r;
        r.session.SetNoEcho(true);
        FillRichDocument(r.doc, 0);
        r.prompter.expect(9010);
        QVERIFY(r.run(CommKind::Write));
        // Byte 9 of a channel record means nothing; the radio keeps something else there.
        r.radio.radio.memory[ChannelAddress(1) + 9] ^= 0xFF;
        QSignalSpy verified(&r.session, &LinkSession::verifyFinished);
        QVERIFY(r.session.StartVerify());
        QEventLoop loop;
        QObject::connect(&r.session, &LinkSession::sessionEnded, &loop, &QEventLoop::quit);
        QTimer::singleShot(30000, &loop, &QEventLoop::quit);
        if (verified.isEmpty()) loop.exec();
        QCOMPARE(verified.size(), 1);
        QVERIFY(verified[0][0].toBool());
        QVERIFY(verified[0][1].value<QVector<MemoryDifference>>().isEmpty());
        QCOMPARE(r.session.meaninglessDifferences(), 1);
        // The write itself stays complete through its check.
        QCOMPARE(r.session.writeReach(), LinkSession::WriteReach::Complete);
    }

    void silentRadioSaysWhatToCheck() {
        Rig r;
        r.radio.fault = [](const VirtualRadio::Exchange&) {
            return FakeRadioTransport::Fault::Drop;
        };
        // The hint comes with the question whether to try again: no.
        r.prompter.expect(LinkText(TxtNoAnswer), Prompter::Answer::Cancel);
        QVERIFY(!r.run(CommKind::Write));
        QCOMPARE(frames(r.radio, Kind::Program), 4);
        QVERIFY(r.prompter.saw(LinkText(TxtNoAnswer)));
        QVERIFY(r.session.NoEcho()); // inverted before each of the three repeats
    }

    void informationRetryStartsAgain() {
        Rig r;
        r.session.SetNoEcho(true);
        bool dropped = false;
        r.radio.fault = [&](const VirtualRadio::Exchange& ex) {
            if (ex.kind == Kind::Read && ex.address == 0x3E50 && !dropped) {
                dropped = true;
                return FakeRadioTransport::Fault::Drop;
            }
            return FakeRadioTransport::Fault::None;
        };
        InfoBuf seenAtPrompt{};
        r.prompter.onAsk = [&] { seenAtPrompt = r.session.infoBuf(); };
        r.prompter.answers = {Prompter::Answer::Retry};
        QVERIFY(r.run(CommKind::Info));
        QCOMPARE(r.prompter.asked.first().buttons, Prompter::Buttons::RetryCancel);
        const QVector<int> reads = addresses(r.radio, Kind::Read);
        QCOMPARE(reads.count(0x3E00), 2); // again from the first block
        QCOMPARE(frames(r.radio, Kind::Program), 2);
        QVERIFY(r.session.infoBuf() == r.radio.radio.info);
        QCOMPARE(r.session.HandshakeTries(), 0);
        QCOMPARE(seenAtPrompt[0x40], r.radio.radio.info[0x40]);
    }

    void deadLineEndsTheSession() {
        Rig r;
        r.session.SetNoEcho(true);
        const RadioDataRec before = r.doc.RadioData;
        r.radio.onExchange = [&](const VirtualRadio::Exchange& ex) {
            if (ex.kind == Kind::Read && ex.address == 0x800)
                r.radio.loseLine(QStringLiteral("Input/output error"));
        };
        QSignalSpy transferEnded(&r.session, &LinkSession::transferEnded);
        r.prompter.expect(LinkText(TxtLineLost).arg(QStringLiteral("Input/output error")));
        QVERIFY(!r.run(CommKind::Read));
        QCOMPARE(transferEnded.size(), 1);
        QVERIFY(r.prompter.saw(LinkText(TxtLineLost).arg(QStringLiteral("Input/output error"))));
        QVERIFY(r.doc.RadioData == before);
        QCOMPARE(r.session.CommMode(), CommKind::None);
        // Nothing more is sent on the dead line, and no timer is left to fire.
        const int sent = int(r.radio.log.size());
        QTest::qWait(LinkSession::ReplyTimeoutMs * 2);
        QCOMPARE(int(r.radio.log.size()), sent);
        QCOMPARE(r.ended.size(), 1);
    }

    void portThatWillNotOpen() {
        Rig r;
        r.radio.openFailure = QStringLiteral("/dev/ttyUSB7 is busy.");
        r.prompter.expect(9003);
        QVERIFY(!r.session.PrepareSession(CommKind::Read));
        QCOMPARE(r.session.CommMode(), CommKind::None);
        QCOMPARE(r.prompter.asked.size(), 1);
        QCOMPARE(r.prompter.asked[0].icon, Prompter::Icon::Critical);
        QVERIFY(r.prompter.asked[0].text.startsWith(LoadLangText(9003)));
        QVERIFY(r.prompter.asked[0].text.endsWith(QStringLiteral("/dev/ttyUSB7 is busy.")));
        // What a wire log opened for it ends with.
        QCOMPARE(r.session.lastOutcome(), LinkSession::Outcome::Failed);
        QCOMPARE(r.session.lastFailure(),
                 QStringLiteral("the port could not be opened: /dev/ttyUSB7 is busy."));
    }

    void damagedDocumentIsNeverWritten() {
        // A channel numbered 0 has no slot in the radio: a write would lose it without a word.
        Rig r({"MZ-710", 0});
        r.doc.CHInfo[2].CHNo = 0;
        r.prompter.expect(QStringLiteral("nothing was written to the radio"));
        QVERIFY(!r.session.PrepareSession(CommKind::Write));
        QCOMPARE(r.session.CommMode(), CommKind::None);
        QCOMPARE(r.radio.opens, 0);
        QCOMPARE(r.prompter.asked.size(), 1);
        QVERIFY(r.prompter.asked[0].text.contains(QStringLiteral("entry 3")));
        // The same when the document is damaged after the question (StartTransfer checks too).
        r.doc.CHInfo[2].CHNo = 3;
        QVERIFY(r.session.PrepareSession(CommKind::Write));
        r.doc.CHInfo[2].RxFre = "ABCDEFGH";
        QVERIFY(!r.session.StartTransfer());
        QVERIFY(!r.session.isRunning());
        QVERIFY(!r.radio.isOpen());
        QCOMPARE(frames(r.radio, Kind::Write), 0);
        // Reading is not affected.
        r.prompter.expect(9009);
        QVERIFY(r.run(CommKind::Read));
    }
};

MZ_TEST_GUILESS_MAIN(TestSession)
#include "tst_session.moc"
