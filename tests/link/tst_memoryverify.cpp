// The comparison after a write: a radio that keeps what the map defines verifies, whatever it
// holds elsewhere; a change to any defined field is named with its channel.

#include "core/link/memorymap.h"
#include "core/link/memoryverify.h"
#include "core/model/document.h"
#include "support/richdocument.h"
#include "support/testmain.h"

#include <QTest>

class TestMemoryVerify : public QObject {
    Q_OBJECT

    static MemBuf rich() {
        Document doc;
        FillRichDocument(doc, 1);
        MemBuf m{};
        PackMemBuf(doc.RadioData, doc.CHInfo, m);
        return m;
    }
    static int absentChannel(const MemBuf& m) {
        for (int n = 1; n <= 400; ++n)
            if (!((m[memaddr::PresentBits + (n - 1) / 8] >> ((n - 1) % 8)) & 1)) return n;
        return -1;
    }
    static int presentChannel(const MemBuf& m) {
        for (int n = 1; n <= 400; ++n)
            if ((m[memaddr::PresentBits + (n - 1) / 8] >> ((n - 1) % 8)) & 1) return n;
        return -1;
    }
    static int dtmfPadding(const MemBuf& m) {
        for (int a = memaddr::DtmfCodes; a < MemSize; ++a)
            if (m[a] == 0xFF) return a;
        return -1;
    }

private slots:
    void whatTheMapDoesNotDefineIsNotCompared() {
        const MemBuf sent = rich();
        QVERIFY(CompareMemory(sent, sent).isEmpty());
        const int absent = absentChannel(sent);
        QVERIFY(absent > 0);
        QVERIFY(dtmfPadding(sent) > 0);
        MemBuf got = sent;
        const int undefined[] = {
            ToneTipAddress(2) + 30,     // the unused end of a tone-tip stretch
            ToneTipAddress(8) + 30 + 3, //
            0x0040 + 9,                 // byte 9 of channel 5
            ChannelAddress(absent) + 2, // a channel that is not present
            memaddr::PublicCH + 1,      // the public channel's frequency bytes
            dtmfPadding(sent),          // padding after a DTMF code
            0x1A60,
            0x1A13,
            0x1BFF,
            0x1A56, // bytes no record covers
        };
        for (const int a : undefined)
            got[a] ^= 0xFF;
        got[memaddr::UseMem] ^= 0xFE;     // only bit 0 is UseMem
        got[memaddr::MemEditSwr] ^= 0xFC; // bits 0 and 1 only
        got[0x0040 + 10] ^= 0x08;         // bit 3 of the mode byte has no meaning
        const auto d = CompareMemory(sent, got);
        QVERIFY2(d.isEmpty(), qPrintable(DescribeDifferences(d)));
        // Every byte that differs is then a difference without meaning, counted once.
        int differing = 0;
        for (int a = 0; a < MemSize; ++a)
            differing += sent[a] != got[a];
        QVERIFY(differing >= 10);
        QCOMPARE(CountMeaninglessDifferences(sent, got), differing);
        QCOMPARE(CountMeaninglessDifferences(sent, sent), 0);
        // A byte with a meaningful difference is a difference, not one without meaning.
        got[ChannelAddress(presentChannel(sent)) + 11] ^= 0x01; // BUSY
        QCOMPARE(CountMeaninglessDifferences(sent, got), differing);
        QCOMPARE(CompareMemory(sent, got).size(), 1);
    }

    void everyDefinedFieldIsNamed_data() {
        QTest::addColumn<int>("address");
        QTest::addColumn<int>("mask");
        QTest::addColumn<int>("chNo");
        QTest::addColumn<QString>("field");
        const int ch5 = ChannelAddress(5);
        QTest::newRow("frequency") << ch5 + 1 << 0x01 << 5 << "RxFre";
        QTest::newRow("offset") << ch5 + 4 << 0x80 << 5 << "OffSetFre";
        QTest::newRow("rx tone type") << ch5 + 10 << 0x10 << 5 << "RDCT";
        QTest::newRow("power") << ch5 + 11 << 0x20 << 5 << "Tx_Power";
        QTest::newRow("dtmf call") << ch5 + 15 << 0x01 << 5 << "DTMF_Call";
        QTest::newRow("vfo") << ChannelAddress(401) + 12 << 0x02 << 401 << "RBTone";
        QTest::newRow("mem channel") << ChannelAddress(409) + 0 << 0x10 << 409 << "RxFre";
        QTest::newRow("scan bit") << memaddr::ScanBits << 0x10 << 5 << "Scan";
        QTest::newRow("present bit") << memaddr::PresentBits + 49 << 0x80 << 400 << "present";
        QTest::newRow("asq") << memaddr::Asq << 0x80 << 0 << "AsqFun";
        QTest::newRow("key") << memaddr::KeyFun + 2 << 0x01 << 0 << "KeyFun(3)";
        QTest::newRow("group") << memaddr::GroupValidBits + 1 << 0x02 << 0 << "GroupValid(9)";
        QTest::newRow("public") << memaddr::PublicCH + 3 << 0x01 << 0 << "PublicCH.OffSetFre";
        QTest::newRow("tip") << ToneTipAddress(4) + 17 << 0x01 << 0 << "ToneTips.Tip(4).Time(2)";
        QTest::newRow("dtmf setting")
            << memaddr::DtmfSettings + 1 << 0x01 << 0 << "DTMF.DtmfSet(3)";
    }
    void everyDefinedFieldIsNamed() {
        QFETCH(int, address);
        QFETCH(int, mask);
        QFETCH(int, chNo);
        QFETCH(QString, field);
        MemBuf sent = rich();
        // The channels named must be present in what was sent for their bytes to count.
        for (const int n : {5, 400, 409})
            if (n <= 400)
                sent[memaddr::PresentBits + (n - 1) / 8] |= std::uint8_t(1u << ((n - 1) % 8));
            else
                sent[memaddr::MemPresentBits] |= std::uint8_t(1u << (n - 402));
        MemBuf got = sent;
        got[address] ^= std::uint8_t(mask);
        const auto d = CompareMemory(sent, got);
        QCOMPARE(d.size(), 1);
        QCOMPARE(d[0].chNo, chNo);
        QCOMPARE(d[0].field, field);
        QCOMPARE(d[0].address, address);
    }

    void aDamagedDtmfDigitAndSeveralFieldsAreDescribed() {
        const MemBuf sent = rich();
        MemBuf got = sent;
        const int digit = memaddr::DtmfCodes; // slot 1 is in use in the rich document
        QVERIFY(sent[digit] < 0x10);
        got[digit] = 0xFF;
        const int n = presentChannel(sent);
        QVERIFY(n > 0);
        got[ChannelAddress(n) + 0] ^= 1;
        got[ChannelAddress(n) + 2] ^= 1; // the same field again: listed once
        got[ChannelAddress(n) + 12] ^= 1;
        got[memaddr::Beep] ^= 1;
        const auto d = CompareMemory(sent, got);
        QCOMPARE(DifferingChannels(d), QVector<int>{n});
        QCOMPARE(DescribeDifferences(d),
                 QStringLiteral("channel %1: RxFre, RBTone; Beep; DTMF.Codes(1)").arg(n));
        QVERIFY(DescribeDifferences(d, QStringLiteral("CH%1"))
                    .startsWith(QStringLiteral("CH%1:").arg(n)));
    }
};

MZ_TEST_GUILESS_MAIN(TestMemoryVerify)
#include "tst_memoryverify.moc"
