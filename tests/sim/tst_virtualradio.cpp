// The radio's side of the protocol, as mzsim and the in-process radio play it.

#include "core/link/frames.h"
#include "core/link/virtualradio.h"
#include "support/testmain.h"

#include <QTest>

namespace {
QByteArray replies(const QVector<VirtualRadio::Exchange>& exchanges) {
    QByteArray r;
    for (const auto& ex : exchanges)
        r += ex.reply;
    return r;
}
} // namespace

class TestVirtualRadio : public QObject {
    Q_OBJECT
private slots:
    void onlyProgramOpensASession() {
        VirtualRadio radio;
        QCOMPARE(replies(radio.feed(IdentRequest() + ReadRequest(0), 0)), QByteArray());
        QCOMPARE(replies(radio.feed("xxPROG", 0)), QByteArray());
        QCOMPARE(replies(radio.feed("RAM", 0)), QByteArray("LN\x06"));
        QVERIFY(radio.programming());
        const QByteArray ident = replies(radio.feed(IdentRequest(), 0));
        QCOMPARE(ident.size(), 16);
        QCOMPARE(ParseIdentification(ident, 0).ModelName, QStringLiteral("MZ-710"));
        QCOMPARE(replies(radio.feed(EndRequest(), 0)), QByteArray(1, '\x06'));
        QVERIFY(!radio.programming());
        QCOMPARE(radio.sessionsEnded(), 1);
    }

    void writeBlocksAreChecked() {
        VirtualRadio radio;
        radio.feed(ProgramRequest(), 0);
        MemBuf mem{};
        mem.fill(0x42);
        QByteArray good = WriteBlockFrame(mem, 0x0100);
        QByteArray bad = good;
        bad[bad.size() - 2] = static_cast<char>(bad[bad.size() - 2] + 1);
        QCOMPARE(replies(radio.feed(bad, 0)), QByteArray(1, '\x0A'));
        QCOMPARE(radio.memory[0x0100], std::uint8_t(0));
        QCOMPARE(replies(radio.feed(good, 0)), QByteArray(1, '\x06'));
        QCOMPARE(radio.memory[0x010F], std::uint8_t(0x42));
        // The information area is never written.
        QByteArray info = good;
        info[1] = 0x3E;
        info[2] = 0x00;
        SetChecksum(info, 1);
        QCOMPARE(replies(radio.feed(info, 0)), QByteArray(1, '\x0A'));
        const QByteArray back = replies(radio.feed(ReadRequest(0x0100), 0));
        QCOMPARE(back.mid(4, 16), QByteArray(16, '\x42'));
        QVERIFY(VerifyChecksum(back, 1));
    }

    void staleHalfFramesAreDropped() {
        VirtualRadio radio;
        radio.feed(ProgramRequest(), 0);
        QVERIFY(radio.feed(QByteArray("W\x00\x10", 3), 1000).isEmpty());
        // Long after, a new request is not taken as the rest of the old frame.
        QCOMPARE(replies(radio.feed(ReadRequest(0x10), 2000)).size(), 22);
    }

    void passwordBytes() {
        VirtualRadio radio;
        radio.setPassword("ab");
        const QByteArray block =
            replies(radio.feed(ProgramRequest() + ReadRequest(PassBlockAddr), 0));
        QCOMPARE(block.mid(3 + 4 + 12, 4), QByteArray("ab\0\0", 4));
        radio.setPassword(QByteArray());
        QCOMPARE(radio.info[0x1C], std::uint8_t(0xFF));
    }
};

MZ_TEST_GUILESS_MAIN(TestVirtualRadio)
#include "tst_virtualradio.moc"
