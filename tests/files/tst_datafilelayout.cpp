// The byte layout of the .dat file: every field in its place, little-endian, nothing between.

#include "core/files/opendatafile.h"
#include "core/files/savedatafile.h"
#include "files/filetestutil.h"
#include "support/testmain.h"

#include <QTemporaryDir>
#include <QTest>

class TestDataFileLayout : public QObject {
    Q_OBJECT
private slots:
    void distinctValuesRoundTrip();
    void fieldsAtTheirOffsets();
};

void TestDataFileLayout::distinctValuesRoundTrip() {
    QTemporaryDir dir;
    Document doc;
    FillDistinct(doc);
    doc.CurFileName = dir.filePath(u"all.dat"_s);
    QVERIFY(SaveDataFile(doc));
    const QByteArray saved = ReadBytes(doc.CurFileName);
    QCOMPARE(saved, EncodeDataFile(doc.RadioData, doc.CHInfo));

    Document other;
    ScriptedPrompter prompter;
    other.setPrompter(&prompter);
    QCOMPARE(OpenDataFile(other, doc.CurFileName), OpenResult::Opened);
    QVERIFY(prompter.asked.isEmpty());
    QVERIFY(other.RadioData == doc.RadioData);
    QVERIFY(other.CHInfo == doc.CHInfo);
    other.CurFileName = dir.filePath(u"again.dat"_s);
    QVERIFY(SaveDataFile(other));
    QCOMPARE(ReadBytes(other.CurFileName), saved);

    // Arbitrary bytes come back unchanged: nothing is normalised on the way through.
    QByteArray noise(DataFileSize, '\0');
    for (int i = 0; i < noise.size(); ++i)
        noise[i] = static_cast<char>((i * 7919 + 13) & 0xFF);
    RadioDataRec data;
    ChannelList channels{};
    QVERIFY(DecodeDataFile(noise, data, channels));
    QCOMPARE(EncodeDataFile(data, channels), noise);
    QVERIFY(!DecodeDataFile(noise.left(DataFileSize - 1), data, channels));
}

void TestDataFileLayout::fieldsAtTheirOffsets() {
    RadioDataRec d;
    ChannelList ch{};
    d.Head.Model = u"MZ-710"_s;
    d.Head.CountryMode = 2;
    d.Head.Version = u"V100"_s;
    d.CHCount = 409;
    d.Func.EmgCH2[9] = 0x0506;
    d.Func.MaxSwr = 160;
    d.Func.EmgMode2[9] = 0xA2;
    d.PublicCH.CHNo = -2;
    d.Key.KeyFun[17] = 18;
    d.DTMF.Codes[15].Code = u"12*#"_s;
    d.ToneTips.Tip[7].Pause = 255;
    ch[408].RxFre = u"2801500"_s;
    ch[408].TSQ = 1;
    ch[408].Reserved[6] = 0x1314;

    const QByteArray b = EncodeDataFile(d, ch);
    QCOMPARE(b.size(), 25611);
    QCOMPARE(b.left(13), QByteArray("MZ-710 \x02\x00V100", 13));
    QCOMPARE(Le16(b, 13), 409);
    QCOMPARE(Le16(b, 101), 0x0506);
    QCOMPARE(Le16(b, 135), 160);
    QCOMPARE(static_cast<unsigned char>(b[156]), 0xA2);
    QCOMPARE(b.mid(173, 2), QByteArray("\xFE\xFF")); // two's complement, low byte first
    QCOMPARE(Le16(b, 269), 18);
    QCOMPARE(b.mid(555, 16), QByteArray("12*#            "));
    QCOMPARE(Le16(b, 1069), 255);
    const int last = 1071 + 60 * 408;
    QCOMPARE(b.mid(last + 6, 8), QByteArray("2801500 "));
    QCOMPARE(Le16(b, last + 44), 1);
    QCOMPARE(Le16(b, last + 58), 0x1314);
}

MZ_TEST_GUILESS_MAIN(TestDataFileLayout)
#include "tst_datafilelayout.moc"
