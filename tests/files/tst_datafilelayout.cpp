// The byte layout of the .dat file: every field in its place, little-endian, nothing between.

#include "core/files/datafile.h"
#include "core/files/opendatafile.h"
#include "core/files/savedatafile.h"
#include "files/filetestutil.h"

#include <QTemporaryDir>
#include <QTest>

class TestDataFileLayout : public QObject {
    Q_OBJECT
private slots:
    void distinctValuesRoundTrip();
    void fieldsAtTheirOffsets();
    void documentRoundTripsThroughFiles();
};

void TestDataFileLayout::distinctValuesRoundTrip() {
    Document doc;
    FillDistinct(doc);
    const QByteArray bytes = EncodeDataFile(doc.RadioData, doc.CHInfo);
    QCOMPARE(bytes.size(), 25611);

    RadioDataRec data;
    ChannelList channels{};
    QVERIFY(DecodeDataFile(bytes, data, channels));
    QVERIFY(data == doc.RadioData);
    QVERIFY(channels == doc.CHInfo);
    QCOMPARE(EncodeDataFile(data, channels), bytes);

    // Arbitrary bytes come back unchanged too: nothing is normalised on the way through.
    QByteArray noise(DataFileSize, '\0');
    for (int i = 0; i < noise.size(); ++i)
        noise[i] = static_cast<char>((i * 7919 + 13) & 0xFF);
    QVERIFY(DecodeDataFile(noise, data, channels));
    QCOMPARE(EncodeDataFile(data, channels), noise);

    QVERIFY(!DecodeDataFile(noise.left(DataFileSize - 1), data, channels));
}

void TestDataFileLayout::fieldsAtTheirOffsets() {
    RadioDataRec d;
    ChannelList ch{};
    d.Head.Model = QStringLiteral("MZ-710");
    d.Head.CountryMode = 2;
    d.Head.Version = QStringLiteral("V100");
    d.CHCount = 409;
    d.Func.MemWorkCH = 0x0102;
    d.Func.GroupValid[0] = 0x0304;
    d.Func.EmgCH2[9] = 0x0506;
    d.Func.Beep = 0x0708;
    d.Func.MaxSwr = 160;
    d.Func.EmgMode1[0] = 0xA1;
    d.Func.EmgMode2[9] = 0xA2;
    d.Func.Spare[7] = 0x0B0C;
    d.PublicCH.CHNo = -2;
    d.PublicCH.RxFre = QStringLiteral("02718500");
    d.Key.KeySet = 3;
    d.Key.KeyFun[17] = 18;
    d.DTMF.DtmfSet[5] = 0x0D0E;
    d.DTMF.Codes[15].Len = 4;
    d.DTMF.Codes[15].Code = QStringLiteral("12*#");
    d.DTMF.Spare[9] = 0x0F10;
    d.ToneTips.Tip[0].Step[0].Tone = 210;
    d.ToneTips.Tip[7].Step[13].Time = 0x1112;
    d.ToneTips.Tip[7].Repeat = 10;
    d.ToneTips.Tip[7].Pause = 255;
    ch[0].CHNo = 1;
    ch[408].CHNo = 409;
    ch[408].RxFre = QStringLiteral("2801500");
    ch[408].OffSetFre = 1000;
    ch[408].TSQ = 1;
    ch[408].Reserved[6] = 0x1314;

    const QByteArray b = EncodeDataFile(d, ch);
    QCOMPARE(b.mid(0, 7), QByteArray("MZ-710 "));
    QCOMPARE(Le16(b, 7), 2);
    QCOMPARE(b.mid(9, 4), QByteArray("V100"));
    QCOMPARE(Le16(b, 13), 409);
    QCOMPARE(Le16(b, 21), 0x0102);
    QCOMPARE(Le16(b, 23), 0x0304);
    QCOMPARE(Le16(b, 101), 0x0506);
    QCOMPARE(Le16(b, 103), 0x0708);
    QCOMPARE(Le16(b, 135), 160);
    QCOMPARE(static_cast<unsigned char>(b[137]), 0xA1);
    QCOMPARE(static_cast<unsigned char>(b[156]), 0xA2);
    QCOMPARE(Le16(b, 171), 0x0B0C);
    // Two's complement, low byte first.
    QCOMPARE(static_cast<unsigned char>(b[173]), 0xFE);
    QCOMPARE(static_cast<unsigned char>(b[174]), 0xFF);
    QCOMPARE(b.mid(179, 8), QByteArray("02718500"));
    QCOMPARE(Le16(b, 233), 3);
    QCOMPARE(Le16(b, 269), 18);
    QCOMPARE(Le16(b, 281), 0x0D0E);
    QCOMPARE(Le16(b, 553), 4);
    QCOMPARE(b.mid(555, 16), QByteArray("12*#            "));
    QCOMPARE(Le16(b, 589), 0x0F10);
    QCOMPARE(Le16(b, 591), 210);
    QCOMPARE(Le16(b, 1065), 0x1112);
    QCOMPARE(Le16(b, 1067), 10);
    QCOMPARE(Le16(b, 1069), 255);
    QCOMPARE(Le16(b, 1071), 1);
    const int last = 1071 + 60 * 408;
    QCOMPARE(Le16(b, last), 409);
    QCOMPARE(b.mid(last + 6, 8), QByteArray("2801500 "));
    QCOMPARE(Le16(b, last + 14), 1000);
    QCOMPARE(Le16(b, last + 44), 1);
    QCOMPARE(Le16(b, last + 58), 0x1314);
    QCOMPARE(last + 60, b.size());
}

void TestDataFileLayout::documentRoundTripsThroughFiles() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("all.dat"));

    Document doc;
    FillDistinct(doc);
    doc.CurFileName = path;
    QVERIFY(SaveDataFile(doc));
    const QByteArray saved = ReadBytes(path);
    QCOMPARE(saved, EncodeDataFile(doc.RadioData, doc.CHInfo));

    Document other;
    ScriptedPrompter prompter;
    other.setPrompter(&prompter);
    QCOMPARE(OpenDataFile(other, path), OpenResult::Opened);
    QVERIFY(prompter.asked.isEmpty());
    QVERIFY(other.RadioData == doc.RadioData);
    QVERIFY(other.CHInfo == doc.CHInfo);
    QVERIFY(!other.IsDataChanged());

    // Saving what was opened gives the same bytes again.
    other.CurFileName = dir.filePath(QStringLiteral("again.dat"));
    QVERIFY(SaveDataFile(other));
    QCOMPARE(ReadBytes(other.CurFileName), saved);
}

QTEST_GUILESS_MAIN(TestDataFileLayout)
#include "tst_datafilelayout.moc"
