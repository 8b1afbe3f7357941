// Changing a channel field without a window: every field stored, adjusted or refused as the
// rule source judges a given value, with the reason for each refusal.

#include "core/model/channeledit.h"
#include "core/model/country.h"
#include "core/model/document.h"
#include "support/testmain.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestChannelFieldRules : public QObject {
    Q_OBJECT
private slots:
    void fields_data();
    void fields();
    void slotNames();
};

void TestChannelFieldRules::fields_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("chNo");
    QTest::addColumn<QString>("setup"); // FIELD=VALUE ... applied first
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("value");
    QTest::addColumn<EditOutcome>("outcome");
    QTest::addColumn<int>("reason");
    QTest::addColumn<QString>("after"); // RxFre: stored digits ("" = no channel); else the value
    using O = EditOutcome;
    auto row = [](const char* name, int mode, int ch, const char* setup, const char* field,
                  const char* value, O o, int reason, const char* after) {
        QTest::newRow(name) << mode << ch << QString::fromLatin1(setup)
                            << QString::fromLatin1(field) << QString::fromUtf8(value) << o << reason
                            << QString::fromLatin1(after);
    };
    // Mode 1 (HF, 25.615 - 30.105 MHz): channel 1 exists and uses the public channel.
    row("RxFre creates", 1, 5, "", "RxFre", "28.0", O::Stored, 0, "02800000");
    row("RxFre raster", 1, 5, "", "RxFre", "28.00625", O::Adjusted, 14936, "02800500");
    row("RxFre above band", 1, 5, "", "RxFre", "31", O::Refused, 14910, "");
    row("RxFre not a number", 1, 5, "", "RxFre", "abc", O::Refused, 14919, "");
    row("RxFre deletes", 1, 45, "RxFre=28", "RxFre", "", O::Stored, 0, "");
    // One rule for every deletion: the last channel up to 400 stays, wherever it is.
    row("RxFre one of two in a group", 1, 5, "RxFre=28", "RxFre", "", O::Stored, 0, "");
    row("RxFre VFO stays", 1, 401, "", "RxFre", "", O::Refused, 9950, "02786000");
    row("RxFre last channel stays", 1, 1, "", "RxFre", "", O::Refused, 9952, "02786000");
    row("RxFre empty slot", 1, 6, "", "RxFre", "", O::Refused, 14927, "");
    row("Public", 1, 1, "", "Public", "0", O::Stored, 0, "0");
    row("Public 2", 1, 1, "", "Public", "2", O::Refused, 14926, "1");
    row("DUP", 1, 1, "Public=0", "DUP", "1", O::Stored, 0, "1");
    row("DUP of a public channel", 1, 1, "", "DUP", "1", O::Refused, 14920, "0");
    row("DUP 3", 1, 1, "Public=0", "DUP", "3", O::Refused, 14926, "0");
    row("OffSetFre", 1, 1, "Public=0", "OffSetFre", "250", O::Stored, 0, "250");
    row("OffSetFre above", 1, 1, "Public=0", "OffSetFre", "1003", O::Refused, 14926, "100");
    row("OffSetFre off the step", 1, 1, "Public=0", "OffSetFre", "7", O::Adjusted, 14938, "5");
    row("OffSetFre negative", 1, 1, "Public=0", "OffSetFre", "-1", O::Refused, 14926, "100");
    row("NB too large", 1, 1, "Public=0", "NB", "4294967297", O::Refused, 14926, "1");
    row("OffSetFre letters", 1, 1, "Public=0", "OffSetFre", "12a", O::Refused, 14919, "100");
    row("TSQ", 1, 1, "", "TSQ", "1", O::Stored, 0, "1");
    row("Scan", 1, 1, "", "Scan", "0", O::Stored, 0, "0");
    row("Scan of the VFO", 1, 401, "", "Scan", "1", O::Refused, 14922, "0");
    row("HI_CUT", 1, 1, "Public=0", "HI_CUT", "1", O::Stored, 0, "1");
    row("BUSY", 1, 1, "Public=0", "BUSY", "1", O::Stored, 0, "1");
    row("NB", 1, 1, "Public=0", "NB", "0", O::Stored, 0, "0");
    row("Add_Sub_5K", 1, 1, "Public=0", "Add_Sub_5K", "1", O::Stored, 0, "1");
    row("AM_FM", 1, 1, "Public=0", "AM_FM", "1", O::Stored, 0, "1");
    row("Tx_Power", 1, 1, "Public=0", "Tx_Power", "2", O::Stored, 0, "2");
    row("Tx_Power with AM", 1, 1, "Public=0 AM_FM=1", "Tx_Power", "2", O::Refused, 14926, "0");
    row("RBTone", 1, 1, "Public=0", "RBTone", "5", O::Stored, 0, "5");
    row("RBTone undefined", 1, 1, "Public=0", "RBTone", "6", O::Refused, 14924, "0");
    row("DTMF_BOT", 1, 1, "Public=0", "DTMF_BOT", "1", O::Stored, 0, "1");
    row("DTMF_EOT undefined", 1, 1, "Public=0", "DTMF_EOT", "16", O::Refused, 14925, "0");
    row("DTMF_Call", 1, 1, "Public=0", "DTMF_Call", "1", O::Stored, 0, "1");
    row("RDCT", 1, 1, "", "RDCT", "142", O::Stored, 0, "142");
    row("RDCT 143", 1, 1, "", "RDCT", "143", O::Refused, 14926, "0");
    row("TDCT", 1, 1, "", "TDCT", "8", O::Stored, 0, "8");
    row("TDCT negative", 1, 1, "", "TDCT", "-1", O::Refused, 14926, "0");
    row("field of an empty slot", 1, 7, "", "DUP", "1", O::Refused, 14927, "");
    // Mode 0 (CB): national plans keep their frequencies; the MEM group takes a plan's.
    row("CB no group", 0, 380, "", "RxFre", "27.0", O::Refused, 14906, "");
    row("CB plan frequency", 0, 1, "", "RxFre", "27.0", O::Refused, 14911, "02718500");
    row("CB plan same frequency", 0, 1, "", "RxFre", "27.185", O::Stored, 0, "02718500");
    row("CB empty plan slot", 0, 2, "", "RxFre", "26.985", O::Refused, 14912, "");
    row("CB empty plan slot, its own", 0, 2, "", "RxFre", "26.975", O::Stored, 0, "02697500");
    row("CB plan row stays", 0, 1, "", "RxFre", "", O::Refused, 14973, "02718500");
    row("CB MEM far", 0, 402, "", "RxFre", "2.787", O::Refused, 14972, "02801500");
    row("CB UK listed frequency", 0, 121, "", "RxFre", "27.60125", O::Stored, 0, "02760100");
    row("CB DUP", 0, 1, "Public=0", "DUP", "1", O::Refused, 14921, "0");
    row("CB Tx_Power", 0, 1, "Public=0", "Tx_Power", "1", O::Refused, 14921, "0");
    row("CB MEM a plan's frequency", 0, 402, "", "RxFre", "27.0", O::Stored, 0, "02700000");
    row("CB MEM near a plan channel", 0, 402, "", "RxFre", "27.1867", O::Refused, 14972,
        "02801500");
    row("CB UK is FM only", 0, 121, "Public=0", "AM_FM", "1", O::Refused, 14923, "0");
    row("CB EU may use AM", 0, 1, "Public=0", "AM_FM", "1", O::Stored, 0, "1");
}

void TestChannelFieldRules::fields() {
    QFETCH(int, mode);
    QFETCH(int, chNo);
    QFETCH(QString, setup);
    QFETCH(QString, field);
    QFETCH(QString, value);
    QFETCH(EditOutcome, outcome);
    QFETCH(int, reason);
    QFETCH(QString, after);
    Document doc;
    doc.SetCountryMode(mode);
    doc.NewDocument();
    if (mode == 0) doc.AddChannel(121, u"27.60100"_s); // UK 1, as a plan file gives it
    doc.RadioData.DTMF.Codes[0].Code = u"123"_s;
    doc.RadioData.DTMF.Codes[0].Len = 3;
    for (const QString& op : setup.split(u' ', Qt::SkipEmptyParts)) {
        const QStringList kv = op.split(u'=');
        const EditResult r = EditChannelField(doc, chNo, ChannelFieldIndex(kv[0]), kv[1]);
        QVERIFY2(r.outcome == EditOutcome::Stored, qPrintable(op));
    }
    const int id = ChannelFieldIndex(field);
    QVERIFY(id > 0);
    const EditResult r = EditChannelField(doc, chNo, id, value);
    QVERIFY2(r.outcome == outcome, qPrintable(r.reason.text()));
    QCOMPARE(r.reason.id, reason);
    const CHInfoRec* c = doc.Channel(chNo);
    if (id == FldRxFre)
        QCOMPARE(c ? c->RxFre.text() : QString(), after);
    else if (after.isEmpty())
        QVERIFY(!c);
    else
        QCOMPARE(QString::number(c->field(id)), after);
}

void TestChannelFieldRules::slotNames() {
    QCOMPARE(ChannelSlotName(59, 0), u"CE 19"_s);
    QCOMPARE(ChannelSlotName(281, 0), u"DE 41"_s);
    QCOMPARE(ChannelSlotName(401, 0), u"VFO"_s);
    QCOMPARE(ChannelSlotName(380, 0), u"CH 380"_s);
    QCOMPARE(ChannelSlotName(404, 0), u"MEM 3"_s);
    QCOMPARE(ChannelSlotName(7, 2), u"A 7"_s);
    QCOMPARE(ChannelSlotName(401, 1), u"VFO"_s);
    QCOMPARE(ChannelFieldNames().size(), 18);
    for (const QString& n : ChannelFieldNames())
        QCOMPARE(ChannelFieldName(ChannelFieldIndex(n)), n);
}

MZ_TEST_GUILESS_MAIN(TestChannelFieldRules)
#include "tst_channelfieldrules.moc"
