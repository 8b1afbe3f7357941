#include "core/link/infoarea.h"
#include "core/link/memorymap.h"
#include "core/model/document.h"
#include "support/richdocument.h"
#include "support/testmain.h"

#include <QTest>

namespace {
QByteArray at(const MemBuf& mem, int address, int n) {
    return QByteArray(reinterpret_cast<const char*>(mem.data()) + address, n);
}

QByteArray bytes(std::initializer_list<int> v) {
    QByteArray b;
    for (int x : v)
        b.append(static_cast<char>(x));
    return b;
}

// A radio image with only the given channels (and neutral records otherwise).
RadioDataRec withChannels(ChannelList& list, std::initializer_list<CHInfoRec> channels) {
    RadioDataRec d;
    int i = 0;
    for (const CHInfoRec& c : channels)
        list[i++] = c;
    d.CHCount = static_cast<i16>(i);
    return d;
}

CHInfoRec channel5() {
    CHInfoRec c;
    c.CHNo = 5;
    c.RxFre = "02801500";
    c.OffSetFre = 600;
    c.TDCT = 12;
    c.DUP = 1;
    c.AM_FM = 1;
    c.Tx_Power = 2;
    c.Scan = 1;
    c.RBTone = 4;
    c.DTMF_BOT = 1;
    c.DTMF_EOT = 2;
    c.DTMF_Call = 3;
    return c;
}
} // namespace

class TestMemoryMap : public QObject {
    Q_OBJECT
private slots:
    void channelEncoding() {
        ChannelList list{};
        const RadioDataRec d = withChannels(list, {channel5()});
        MemBuf mem{};
        PackMemBuf(d, list, mem);
        QCOMPARE(at(mem, 0x40, 16), bytes({0x50, 0x01, 0x28, 0x58, 0x02, 0x00, 0x00, 0x0B, 0x00,
                                           0x00, 0x41, 0x50, 4, 1, 2, 3}));
        QCOMPARE(mem[0x1900], std::uint8_t(0x10));
        QCOMPARE(mem[0x1940], std::uint8_t(0x10));

        RadioDataRec back;
        ChannelList got{};
        UnpackMemBuf(mem, 1, back, got);
        // Channel 401 has no bitmap and always counts as present.
        QCOMPARE(back.CHCount, i16(2));
        CHInfoRec expect = channel5();
        QCOMPARE(got[0].RxFre.text(), QStringLiteral("02801500"));
        QCOMPARE(got[0], expect);
        QCOMPARE(got[1].CHNo, i16(401));
        QCOMPARE(got[1].Scan, i16(0));
    }

    void toneAndOffsetEncoding() {
        CHInfoRec a, b;
        a.CHNo = 1;
        a.RxFre = "02700000";
        a.RDCT = 39;
        a.TDCT = 38;
        a.OffSetFre = 1000;
        b = a;
        b.CHNo = 2;
        b.RDCT = 142;
        b.TDCT = 1;
        ChannelList list{};
        const RadioDataRec d = withChannels(list, {a, b});
        MemBuf mem{};
        PackMemBuf(d, list, mem);
        QCOMPARE(at(mem, 0x03, 6), bytes({0xE8, 0x03, 0x00, 0x00, 37, 0x00}));
        QCOMPARE(mem[0x0A] >> 4, 0x2 | 0x1 << 2); // receive DCS, transmit CTCSS
        QCOMPARE(at(mem, 0x15, 4), bytes({0x00, 103, 0x00, 0x00}));
        RadioDataRec back;
        ChannelList got{};
        UnpackMemBuf(mem, 2, back, got);
        QCOMPARE(got[0].RDCT, i16(39));
        QCOMPARE(got[0].TDCT, i16(38));
        QCOMPARE(got[1].RDCT, i16(142));
        QCOMPARE(got[1].TDCT, i16(1));
    }

    void invalidFrequencies() {
        CHInfoRec f = channel5(), e = channel5();
        f.RxFre = "FFFFFFFF";
        e.CHNo = 6;
        e.RxFre = QString();
        ChannelList list{};
        const RadioDataRec d = withChannels(list, {f, e});
        MemBuf mem{};
        PackMemBuf(d, list, mem);
        QCOMPARE(at(mem, 0x40, 3), bytes({0xFF, 0xFF, 0xFF}));
        QCOMPARE(at(mem, 0x50, 3), bytes({0, 0, 0}));
        QCOMPARE(mem[0x1900], std::uint8_t(0));
        QCOMPARE(mem[0x1940], std::uint8_t(0));
        RadioDataRec back;
        ChannelList got{};
        UnpackMemBuf(mem, 1, back, got);
        QCOMPARE(back.CHCount, i16(1)); // only the VFO channel
    }

    void cbModeSkipsChannelsOutsideItsGroups() {
        MemBuf mem{};
        mem[0x1900 + 360 / 8] = 0x01; // channel 361
        mem[0x1900 + 399 / 8] = 0x80; // channel 400
        mem[0x1900] = 0x01;           // channel 1
        mem[0x1A1C] = 0x01;           // channel 402
        RadioDataRec d;
        ChannelList got{};
        UnpackMemBuf(mem, 0, d, got);
        // 361..400 belong to no CB group; the VFO channel is kept so a later write does not
        // clear it in the radio.
        QCOMPARE(d.CHCount, i16(3));
        QCOMPARE(got[0].CHNo, i16(1));
        QCOMPARE(got[1].CHNo, i16(401));
        QCOMPARE(got[2].CHNo, i16(402));
        QCOMPARE(d.Head.CountryMode, i16(0));
        UnpackMemBuf(mem, 1, d, got);
        QCOMPARE(d.CHCount, i16(5));
        QCOMPARE(got[1].CHNo, i16(361));
        QCOMPARE(got[2].CHNo, i16(400));
        QCOMPARE(got[3].CHNo, i16(401));
    }

    void options() {
        Document doc;
        FillRichDocument(doc);
        MemBuf mem{};
        PackMemBuf(doc.RadioData, doc.CHInfo, mem);
        QCOMPARE(mem[0x1A45], std::uint8_t(0x85)); // AsqFun 1, AsqValue 5
        QCOMPARE(mem[0x1A55], std::uint8_t(0x01)); // MemEdit 1, UseMaxSwr 0
        QCOMPARE(mem[0x1A54], std::uint8_t(25));
        QCOMPARE(mem[0x1A11], std::uint8_t(3));
        QCOMPARE(mem[0x1A12], std::uint8_t(1));
        QCOMPARE(mem[0x1A1B], std::uint8_t(5));
        // GroupValid: every group but 1, 4 and 7.
        QCOMPARE(mem[0x1A1E], std::uint8_t(0b01101101));
        QCOMPARE(mem[0x1A1F], std::uint8_t(0b11));
        QCOMPARE(at(mem, 0x1A20, 3), bytes({2, 5, 8}));
        QCOMPARE(mem[0x1AA9], std::uint8_t(19));
        QCOMPARE(mem[0x1AB0], std::uint8_t(40));
        QCOMPARE(mem[0x1AC3], std::uint8_t(3));
        QCOMPARE(mem[0x1AD3], std::uint8_t(0));
        // The public channel keeps bytes 0..2 clear.
        QCOMPARE(at(mem, 0x1A30, 5), bytes({0, 0, 0, 0xE8, 0x03}));
        QCOMPARE(mem[0x1A48], std::uint8_t(2)); // KeySet
        QCOMPARE(at(mem, 0x1A80, 2), bytes({20, 19}));
        QCOMPARE(mem[0x1A91], std::uint8_t(3));
        // DTMF settings: the first digit delay comes before the first digit time.
        QCOMPARE(at(mem, 0x1A4E, 6), bytes({7, 12, 3, 5, 16, 0}));
        // Tone tips: two share each 64-byte stretch.
        QCOMPARE(ToneTipAddress(1), 0x1B00);
        QCOMPARE(ToneTipAddress(2), 0x1B1E);
        QCOMPARE(ToneTipAddress(3), 0x1B40);
        QCOMPARE(ToneTipAddress(8), 0x1BDE);
        const ToneTipRec& t8 = doc.RadioData.ToneTips.Tip[7];
        QCOMPARE(mem[0x1BDE], std::uint8_t(t8.Repeat));
        QCOMPARE(mem[0x1BDF], std::uint8_t(t8.Pause));
        QCOMPARE(mem[0x1BDE + 2 + 13], std::uint8_t(t8.Step[13].Tone));
        QCOMPARE(mem[0x1BDE + 16 + 13], std::uint8_t(t8.Step[13].Time));
        QCOMPARE(at(mem, 0x1B3C, 4), bytes({0, 0, 0, 0}));
    }

    void dtmfCodes() {
        MemBuf mem{};
        std::fill(mem.begin() + 0x1C00, mem.end(), 0xFF);
        const QByteArray slot3 = bytes({1, 2, 0x0E, 0x0F}) + QByteArray(12, '\xFF');
        std::copy(slot3.begin(), slot3.end(), mem.begin() + 0x1C20);
        mem[0x1C10] = 0x05; // slot 2 holds a byte but its bit is clear
        mem[0x1A19] = 0x04;
        DTMFRec d;
        d.Codes[1].Code = "777";
        d.Codes[1].Len = 3;
        UnpackDtmf(mem, d);
        QCOMPARE(d.Codes[2].Len, i16(4));
        QCOMPARE(d.Codes[2].Code.text(), QStringLiteral("12#*"));
        QCOMPARE(d.Codes[1].Len, i16(0));
        QCOMPARE(d.Codes[1].Code.text(), QStringLiteral("777"));

        MemBuf out{};
        PackDtmf(d, out);
        QCOMPARE(at(out, 0x1C20, 16), slot3);
        QCOMPARE(at(out, 0x1C10, 16), QByteArray(16, '\xFF'));
        QCOMPARE(out[0x1A19], std::uint8_t(0x04));
        QCOMPARE(out[0x1A1A], std::uint8_t(0));

        // A code shorter than its length is padded with "0"; a length above 16 counts as 0.
        d.Codes[15].Code = "1*";
        d.Codes[15].Len = 4;
        d.Codes[14].Code = "1";
        d.Codes[14].Len = 17;
        PackDtmf(d, out);
        QCOMPARE(at(out, 0x1CF0, 5), bytes({1, 0x0F, 0, 0, 0xFF}));
        QCOMPARE(at(out, 0x1CE0, 16), QByteArray(16, '\xFF'));
        QCOMPARE(out[0x1A1A], std::uint8_t(0x80));
    }

    void richImageRoundTrip() {
        // What a read gives back packs to the very bytes that were written.
        Document doc;
        FillRichDocument(doc);
        MemBuf first{};
        PackMemBuf(doc.RadioData, doc.CHInfo, first);
        RadioDataRec data = doc.RadioData;
        ChannelList channels = doc.CHInfo;
        UnpackMemBuf(first, 1, data, channels);
        QCOMPARE(data.CHCount, doc.RadioData.CHCount);
        QCOMPARE(data.Func, doc.RadioData.Func);
        QCOMPARE(data.Key, doc.RadioData.Key);
        QCOMPARE(data.ToneTips, doc.RadioData.ToneTips);
        QCOMPARE(data.DTMF.DtmfSet, doc.RadioData.DTMF.DtmfSet);
        MemBuf second{};
        PackMemBuf(data, channels, second);
        QVERIFY(first == second);
    }

    void informationArea() {
        InfoBuf info;
        info.fill(0xFF);
        info[0] = 0xF2;
        const QByteArray serial = "ABCDEFGHIJKLMNOP"; // all 16 bytes used
        std::copy(serial.begin(), serial.end(), info.begin() + 48);
        info[64] = '1';
        info[65] = 0x00; // ends here
        info[66] = 'x';
        const QByteArray batch = "12-1-E-1";
        std::copy(batch.begin(), batch.end(), info.begin() + 32);
        info[44] = 'C';
        RadioInfoRec r;
        r.SoftVersion = QStringLiteral("V1.00");
        UnpackInfoBuf(info, r);
        QCOMPARE(r.InfoMode, 2);
        QCOMPARE(r.SerialNo.text(), QString::fromLatin1(serial));
        QCOMPARE(r.FactoryDate.text(), QStringLiteral("1"));
        QCOMPARE(r.BatchNo.text(), QStringLiteral("12-1-E-1"));
        QCOMPARE(r.InfoCode, QStringLiteral("C"));
        QCOMPARE(r.RepairNote.text(), QString());
        QCOMPARE(r.SoftVersion, QStringLiteral("V1.00"));
    }

    void password() {
        QByteArray block(16, '\0');
        block.replace(12, 4, QByteArray(4, '\xFF'));
        QCOMPARE(RadioPassword(block), QString()); // no password
        QVERIFY(PasswordMatches(RadioPassword(block), QStringLiteral("anything")));
        block.replace(12, 4, bytes({'a', 'B', 0, 0}));
        QCOMPARE(RadioPassword(block), QStringLiteral("aB"));
        QVERIFY(PasswordMatches(QStringLiteral("aB"), CleanPassword(QStringLiteral("aB "))));
        QVERIFY(!PasswordMatches(QStringLiteral("aB"), QStringLiteral("ab")));
        QVERIFY(!PasswordMatches(QStringLiteral("aB"), QStringLiteral(" aB")));
        QVERIFY(!PasswordMatches(QStringLiteral("aB"), QString()));
        QCOMPARE(CleanPassword(QStringLiteral("12 ") + QChar(0) + QStringLiteral("x")),
                 QStringLiteral("12"));
    }
};

MZ_TEST_GUILESS_MAIN(TestMemoryMap)
#include "tst_memorymap.moc"
