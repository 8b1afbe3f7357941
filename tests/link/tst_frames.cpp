#include "core/link/frames.h"
#include "support/testmain.h"

#include <QTest>

namespace {
QByteArray bytes(std::initializer_list<int> v) {
    QByteArray b;
    for (int x : v)
        b.append(static_cast<char>(x));
    return b;
}

// A data-block reply as the radio sends it.
QByteArray dataReply(int address, const QByteArray& data) {
    QByteArray r = bytes({0x57, address >> 8, address & 0xFF, int(data.size())}) + data;
    r += bytes({0, 0x06});
    SetChecksum(r, 1);
    return r;
}
} // namespace

class TestFrames : public QObject {
    Q_OBJECT
private slots:
    void requests() {
        QCOMPARE(ProgramRequest(), QByteArray("PROGRAM"));
        QCOMPARE(IdentRequest(), bytes({0x02}));
        QCOMPARE(ReadRequest(0x0000), bytes({0x52, 0x00, 0x00, 0x10}));
        QCOMPARE(ReadRequest(PassBlockAddr), bytes({0x52, 0x3E, 0x10, 0x10}));
        QCOMPARE(EndRequest(), QByteArray("END"));
    }

    void checksum() {
        // Address 0x0010 with sixteen zero bytes sums 0x00 + 0x10 + 0x10.
        const QByteArray r = dataReply(0x0010, QByteArray(16, '\0'));
        QCOMPARE(static_cast<unsigned char>(r[r.size() - 2]), 0x20);
        QVERIFY(VerifyChecksum(r, 1));
        QByteArray echoed = ReadRequest(0x0010) + r;
        QVERIFY(VerifyChecksum(echoed, 5));
        echoed[echoed.size() - 2] = static_cast<char>(0x21);
        QVERIFY(!VerifyChecksum(echoed, 5));
    }

    void writeBlock() {
        MemBuf mem{};
        std::fill(mem.begin() + 0x1CF0, mem.end(), 0xFF);
        const QByteArray f = WriteBlockFrame(mem, 0x1CF0);
        QCOMPARE(f.size(), 22);
        QCOMPARE(f.left(4), bytes({0x57, 0x1C, 0xF0, 0x10}));
        QCOMPARE(f.mid(4, 16), QByteArray(16, '\xFF'));
        QCOMPARE(f.right(2), bytes({0x0C, 0x06}));
    }

    void classify_data() {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<int>("echoLen");
        QTest::addColumn<int>("commAddr");
        QTest::addColumn<bool>("waitingPass");
        QTest::addColumn<int>("kind");
        const QByteArray block0 = dataReply(0x0000, QByteArray(16, '\x11'));
        const QByteArray pass = dataReply(0x3E10, QByteArray(16, '\xFF'));
        const auto K = [](ReplyKind k) { return int(k); };
        QTest::newRow("ack") << bytes({0x06}) << 0 << 0 << false << K(ReplyKind::Acknowledge);
        QTest::newRow("ack after echo of END")
            << QByteArray("END\x06") << 3 << 0 << false << K(ReplyKind::Acknowledge);
        QTest::newRow("resend with echo")
            << QByteArray(22, 'x') + bytes({0x0A}) << 22 << 0 << false << K(ReplyKind::Resend);
        // The echo bytes are never compared.
        QTest::newRow("program with any echo")
            << QByteArray("GARBAGELN\x06") << 7 << 0 << false << K(ReplyKind::ProgramAccepted);
        QTest::newRow("program without echo")
            << QByteArray("LN\x06") << 0 << 0 << false << K(ReplyKind::ProgramAccepted);
        QByteArray ident =
            QByteArray("IMZ-710") + bytes({0, 1}) + QByteArray("V100") + bytes({1, 0, 6});
        QTest::newRow("identification") << ident << 0 << 0 << false << K(ReplyKind::Identification);
        ident[15] = 0x05;
        QTest::newRow("identification without closing byte")
            << ident << 0 << 0 << false << K(ReplyKind::Ignored);
        QTest::newRow("data block with echo")
            << ReadRequest(0) + block0 << 4 << 0 << false << K(ReplyKind::DataBlock);
        QTest::newRow("data block of another address")
            << dataReply(0x0020, QByteArray(16, 0)) << 0 << 0x10 << false << K(ReplyKind::Ignored);
        QByteArray bad = block0;
        bad[bad.size() - 2] = static_cast<char>(bad[bad.size() - 2] + 1);
        QTest::newRow("checksum off by one") << bad << 0 << 0 << false << K(ReplyKind::Ignored);
        QByteArray badClose = block0;
        badClose[badClose.size() - 1] = 0x07;
        QTest::newRow("wrong closing byte") << badClose << 0 << 0 << false << K(ReplyKind::Ignored);
        QTest::newRow("password block") << pass << 0 << -16 << true << K(ReplyKind::PasswordBlock);
        QByteArray badPass = pass;
        badPass[badPass.size() - 2] = static_cast<char>(badPass[badPass.size() - 2] + 1);
        QTest::newRow("password block, checksum off by one")
            << badPass << 0 << -16 << true << K(ReplyKind::Ignored);
        // The information read reads 0x3E10 as an ordinary block.
        QTest::newRow("0x3E10 when not waiting for the password")
            << pass << 0 << 0x3E10 << false << K(ReplyKind::DataBlock);
        QTest::newRow("short") << block0.left(21) << 0 << 0 << false << K(ReplyKind::Ignored);
    }
    void classify() {
        QFETCH(QByteArray, reply);
        QFETCH(int, echoLen);
        QFETCH(int, commAddr);
        QFETCH(bool, waitingPass);
        QFETCH(int, kind);
        QCOMPARE(int(ClassifyReply(reply, echoLen, commAddr, waitingPass)), kind);
    }

    void identification() {
        const QByteArray r = QByteArray("PROGRAM").left(1) + QByteArray("IAB") +
                             QByteArray(5, '\0') + bytes({2}) + QByteArray("V1") +
                             bytes({0, 0, 0x03, 0, 0x06});
        const RadioIdentity id = ParseIdentification(r, 1);
        QCOMPARE(id.ModelName, QStringLiteral("AB"));
        QCOMPARE(id.CountryMode, 2);
        QCOMPARE(id.Version, QStringLiteral("V1"));
        QCOMPARE(id.ToneSupport, 1);
    }
};

MZ_TEST_GUILESS_MAIN(TestFrames)
#include "tst_frames.moc"
