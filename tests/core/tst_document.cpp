#include "core/model/channeledit.h"
#include "core/model/country.h"
#include "core/model/document.h"
#include "support/scriptedprompter.h"
#include "support/testmain.h"

#include <QSignalSpy>
#include <QtTest>

namespace {
QVector<int> channelNumbers(const Document& d) {
    QVector<int> r;
    for (int i = 0; i < d.chCount(); ++i)
        r << d.CHInfo[i].CHNo;
    return r;
}
} // namespace

namespace {
// A frequency typed into row `row` of a group, as the channel windows store it.
EditResult type(Document& doc, int group, int row, const QString& text) {
    return EditChannelField(doc, FirstCHOfGroup(group, doc.CountryMode) + row, FldRxFre, text,
                            ValueSource::Typed);
}
} // namespace

class TestDocument : public QObject {
    Q_OBJECT
private slots:
    void newDocumentDefaults() {
        Document doc;
        doc.NewDocument();
        QCOMPARE(doc.chCount(), 10);
        QCOMPARE(channelNumbers(doc),
                 QVector<int>({1, 401, 402, 403, 404, 405, 406, 407, 408, 409}));
        QCOMPARE(doc.CHInfo[0].RxFre.text(), QString("02718500"));
        QCOMPARE(doc.CHInfo[1].RxFre.text(), QString("02718500"));
        QCOMPARE(doc.CHInfo[2].RxFre.text(), QString("02801500"));
        QCOMPARE(doc.CHInfo[9].RxFre.text(), QString("02800500"));
        const CHInfoRec& c = doc.CHInfo[0];
        QCOMPARE(c.Scan, i16(1));
        QCOMPARE(c.OffSetFre, i16(100));
        QCOMPARE(c.NB, i16(1));
        QCOMPARE(c.Public, i16(1));
        const FuncRec& f = doc.RadioData.Func;
        QCOMPARE(f.MemWorkCH, i16(1));
        QCOMPARE(f.GroupValid[0], i16(1));
        QCOMPARE(f.TOT, i16(4));
        QCOMPARE(f.MaxSwr, i16(160));
        QCOMPARE(doc.RadioData.Key.KeySet, i16(3));
        QCOMPARE(doc.RadioData.Key.KeyFun[17], i16(18));
        QCOMPARE(doc.RadioData.DTMF.DtmfSet, (std::array<i16, 6>{10, 0, 2, 0, 0, 1}));
        QCOMPARE(doc.RadioData.DTMF.Codes[5].Code.raw(), QByteArray(16, ' '));
        QCOMPARE(doc.RadioData.PublicCH.OffSetFre, i16(5));
        QCOMPARE(doc.RadioData.Head.Model.raw(), QByteArray("MZ-710 "));
        QCOMPARE(doc.RadioData.Head.Version.text(), QString("V100"));
        const ToneTipRec& t2 = doc.RadioData.ToneTips.Tip[1];
        QCOMPARE(t2.Step[13].Tone, i16(0));
        QCOMPARE(t2.Step[12].Tone, i16(80));
        QCOMPARE(t2.Step[13].Time, i16(4));
        QCOMPARE(doc.RadioData.ToneTips.Tip[3].Step[4].Tone, i16(192));
        QCOMPARE(doc.RadioData.ToneTips.Tip[5].Repeat, i16(0));
        QCOMPARE(doc.CurFileName, QString("new.dat"));
        QVERIFY(doc.IsNewFile);
        QCOMPARE(doc.RadioInfo.CustomerCode.text(), QString("001A"));
        QVERIFY(doc.RadioInfo.BatchNo.text().endsWith("-1-E-1"));
        QVERIFY(!doc.IsDataChanged());
    }

    void newDocumentOfHamMode() {
        Document doc;
        doc.SetCountryMode(2);
        doc.NewDocument();
        QCOMPARE(doc.FreLow, 28.0);
        QCOMPARE(doc.FreHigh, 29.7);
        QCOMPARE(doc.CHInfo[0].RxFre.text(), QString("02885000"));
        QCOMPARE(doc.RadioData.Head.CountryMode, i16(2));
        QCOMPARE(doc.RadioInfo.InfoMode, 2);
    }

    void listOperations() {
        Document doc;
        doc.AddChannel(7, "27.0");
        QCOMPARE(doc.chCount(), 1);
        doc.DeleteChannel(0);
        QCOMPARE(doc.chCount(), 0);
        for (int ch : {3, 5, 9})
            doc.AddChannel(ch, "27.1");
        doc.CHInfo[2].Reserved[0] = 77;
        doc.DeleteChannel(0);
        QCOMPARE(channelNumbers(doc), QVector<int>({5, 9}));
        QCOMPARE(doc.CHInfo[2].CHNo, i16(9)); // the old last entry stays behind
        QCOMPARE(doc.FindChannel(9), 1);
        QCOMPARE(doc.FindChannel(3), -1);
        doc.AddChannel(11, "27.2"); // Reserved words of the reused slot are kept
        QCOMPARE(doc.CHInfo[2].Reserved[0], i16(77));
    }

    void setFieldRules() {
        Document doc;
        doc.AddChannel(1, "27.0");
        CHInfoRec& c = doc.CHInfo[0];
        doc.SetCHField(c, FldTx_Power, 3);
        doc.SetCHField(c, FldAM_FM, 1);
        QCOMPARE(c.Tx_Power, i16(1));
        doc.SetCHField(c, FldTx_Power, 3);
        QCOMPARE(c.Tx_Power, i16(3));
        doc.SetCHField(c, FldOffSetFre, "1003");
        QCOMPARE(c.OffSetFre, i16(1000));
        doc.SetCHField(c, FldOffSetFre, "x");
        QCOMPARE(c.OffSetFre, i16(5));
        doc.SetCHField(c, FldRBTone, "9");
        QCOMPARE(c.RBTone, i16(8));
        doc.SetCHField(c, FldDTMF_Call, "Off");
        QCOMPARE(c.DTMF_Call, i16(0));
        doc.SetCHField(c, FldRDCT, 142);
        QCOMPARE(c.RDCT, i16(142));
        const CHInfoRec before = c;
        doc.SetCHField(c, 99, 5);
        QVERIFY(c == before);
    }

    void changeDetection() {
        Document doc;
        doc.NewDocument();
        QVERIFY(!doc.IsDataChanged());
        doc.RadioData.PublicCH.RDCT = 5; // edited in the optional features window
        QVERIFY(doc.IsDataChanged());
        doc.RadioData.PublicCH.RDCT = 0;
        doc.RadioData.PublicCH.TSQ = 1; // not compared
        QVERIFY(!doc.IsDataChanged());
        doc.CHInfo[3].Reserved[2] = 9; // never compared
        QVERIFY(!doc.IsDataChanged());
        doc.RadioData.Func.Spare[0] = 4;
        QVERIFY(!doc.IsDataChanged());
        // The group shown is kept in the file, but looking at another group is no edit.
        doc.RadioData.Func.GroupSel = 3;
        QVERIFY(!doc.IsDataChanged());
        doc.RadioData.DTMF.Codes[0].Code = "12";
        QVERIFY(doc.IsDataChanged());
        doc.ToFileCopy();
        QVERIFY(!doc.IsDataChanged());
        // Same channels in another order are no change.
        std::swap(doc.CHInfo[1], doc.CHInfo[2]);
        QVERIFY(!doc.IsDataChanged());
        doc.CHInfo[1].RxFre = "02800000";
        QVERIFY(doc.IsDataChanged());
        doc.ToFileCopy();
        doc.DeleteChannel(0);
        doc.AddChannel(2, "27");
        QVERIFY(doc.IsDataChanged()); // same count, a channel number gone
    }

    void typedValueCreatesAndDeletes() {
        // What the rule source allows is stored by SetCHValue, which decides nothing itself.
        Document doc;
        ScriptedPrompter p;
        doc.setPrompter(&p);
        doc.SetCountryMode(1);
        doc.NewDocument();
        QSignalSpy changed(&doc, &Document::channelChanged);
        // Any field but the frequency stores nothing in an empty slot.
        doc.SetCHValue(0, 2, FldDUP, 1);
        QCOMPARE(doc.chCount(), 10);
        QCOMPARE(type(doc, 0, 2, "27.0049").outcome, EditOutcome::Adjusted);
        QCOMPARE(doc.chCount(), 11);
        const CHInfoRec* c = doc.Channel(2);
        QVERIFY(c);
        QCOMPARE(c->RxFre.text(), QString("02700000"));
        QCOMPARE(c->Public, i16(1));
        QCOMPARE(changed.count(), 2);
        // Out of the band: refused, the empty row stays empty.
        QCOMPARE(type(doc, 0, 3, "31").outcome, EditOutcome::Refused);
        QVERIFY(!doc.Channel(3));
        // Channel 1 and 2 are the only memory channels: clearing both in group A is refused.
        type(doc, 0, 2, "");
        QCOMPARE(type(doc, 0, 1, "").outcome, EditOutcome::Refused);
        QVERIFY(doc.Channel(1));
        // With a memory channel in another group the deletion goes through.
        type(doc, 1, 1, "27.1");
        type(doc, 0, 1, "");
        QVERIFY(!doc.Channel(1));
        QVERIFY(p.asked.isEmpty());
        // VFO never goes; the last MEM channel stays.
        type(doc, 10, 1, "");
        QVERIFY(doc.Channel(401));
        for (int r = 1; r <= 8; ++r)
            type(doc, 11, r, "");
        QCOMPARE(doc.CountCHInGroup(11, 1), 1);
        QVERIFY(doc.Channel(409));
    }

    void memGroupOfCbTakesPlanChannelsOnly() {
        Document doc;
        doc.NewDocument();
        QCOMPARE(type(doc, 8, 1, "27.19").outcome, EditOutcome::Refused); // no plan channel
        QCOMPARE(doc.Channel(402)->RxFre.text(), QString("02801500"));
        type(doc, 8, 1, "27.185");
        QCOMPARE(doc.Channel(402)->RxFre.text(), QString("02718500"));
    }

    void deletingLastChannelOfBankClearsItsSettings() {
        Document doc;
        doc.SetCountryMode(1);
        doc.NewDocument();
        doc.SetCHValue(2, 5, FldRxFre, "28.1");
        FuncRec& f = doc.RadioData.Func;
        f.GroupValid = {};
        f.GroupValid[2] = 1;
        f.WorkCH[2] = 4;
        f.EmgCH1[2] = 4;
        doc.SetCHValue(2, 7, FldRxFre, "28.2");
        QCOMPARE(f.WorkCH[2], i16(4)); // row 5 still programmed
        doc.SetCHValue(2, 5, FldRxFre, "");
        QCOMPARE(f.WorkCH[2], i16(6)); // moved to the first programmed row (7)
        doc.SetCHValue(2, 7, FldRxFre, "");
        QCOMPARE(f.GroupValid[2], i16(0));
        QCOMPARE(f.WorkCH[2], i16(0));
        QCOMPARE(f.EmgCH1[2], i16(0));
        QCOMPARE(f.GroupValid[0], i16(1)); // the group of the first remaining channel
    }

    void references() {
        Document doc;
        doc.NewDocument();
        doc.CHInfo[0].DTMF_Call = 2;
        doc.CHInfo[1].DTMF_BOT = 2;
        doc.RadioData.PublicCH.DTMF_EOT = 2;
        doc.CHInfo[2].DTMF_Call = 3;
        doc.ReplaceDtmfRef(2, 0);
        QCOMPARE(doc.CHInfo[0].DTMF_Call, i16(0));
        QCOMPARE(doc.CHInfo[1].DTMF_BOT, i16(0));
        QCOMPARE(doc.RadioData.PublicCH.DTMF_EOT, i16(0));
        QCOMPARE(doc.CHInfo[2].DTMF_Call, i16(3));

        QCOMPARE(doc.ValidRBTone(1), 1);
        QCOMPARE(doc.ValidRBTone(6), 0); // all steps zero
        QCOMPARE(doc.ValidRBTone(9), 0);
        doc.CHInfo[0].RBTone = 2;
        doc.RadioData.PublicCH.RBTone = 2;
        doc.CHInfo[1].RBTone = 3;
        doc.RadioData.ToneTips.Tip[1].Repeat = 0;
        QSignalSpy spy(&doc, &Document::rogerBeepsRechecked);
        doc.RecheckRBTones();
        QCOMPARE(doc.CHInfo[0].RBTone, i16(0));
        QCOMPARE(doc.RadioData.PublicCH.RBTone, i16(0));
        QCOMPARE(doc.CHInfo[1].RBTone, i16(3));
        QCOMPARE(spy.count(), 1);
    }

    void transferCopies() {
        Document doc;
        doc.NewDocument();
        doc.FileRadioData.Head.Model = "MZ-710";
        doc.FileRadioData.Head.CountryMode = 2;
        doc.FileRadioData.CHCount = 1;
        doc.FileCHInfo[0].CHNo = 7;
        doc.FromFileCopy();
        QCOMPARE(doc.CountryMode, 2);
        QCOMPARE(doc.BandText, QString("28.000 - 29.700 MHz"));
        QCOMPARE(doc.FreHigh, 29.7);
        QCOMPARE(doc.RadioInfo.InfoMode, 2);
        QCOMPARE(doc.chCount(), 1);
        QCOMPARE(doc.CHInfo[0].CHNo, i16(7));
        doc.ModelName = "X";
        doc.ToFileCopy();
        QCOMPARE(doc.FileRadioData.Head.Model.text(), QString("X"));
        QCOMPARE(doc.FileRadioData.Head.Version.text(), QString("V100"));
    }

    void adoptingAnImage() {
        // What the image is decides the name, the title and whether leaving asks to save.
        Document source;
        source.SetCountryMode(1);
        source.NewDocument();
        source.AddChannel(7, QStringLiteral("28.50000"));
        source.FillFileHead(source.RadioData.Head);
        struct Row {
            QString fileName, title;
            AdoptedImage::State state;
            QString curFileName, shownTitle;
            bool changed;
        };
        const QList<Row> rows = {
            {"/data/Radio1.dat", "", AdoptedImage::State::Saved, "/data/Radio1.dat", "Radio1.dat",
             false},
            {"", "read from the radio 2026-12-07 15:22", AdoptedImage::State::Unsaved,
             Document::unnamedFileName(), "read from the radio 2026-12-07 15:22", true},
            {"", "", AdoptedImage::State::Saved, Document::unnamedFileName(),
             Document::unnamedFileName(), false},
        };
        for (const Row& row : rows) {
            Document doc;
            doc.NewDocument();
            // An earlier document with more channels, as opened or saved last.
            for (int c = 1; c <= 100; ++c)
                doc.AddChannel(200 + c, QStringLiteral("27.00500"));
            doc.ToFileCopy();
            QSignalSpy replaced(&doc, &Document::documentReplaced);
            QSignalSpy state(&doc, &Document::stateChanged);
            AdoptedImage image;
            image.data = source.RadioData;
            image.channels = source.CHInfo;
            image.fileName = row.fileName;
            image.title = row.title;
            image.state = row.state;
            doc.adoptImage(image);
            QCOMPARE(replaced.size(), 1);
            QCOMPARE(state.size(), 1);
            QCOMPARE(doc.CountryMode, 1);
            QCOMPARE(doc.chCount(), source.chCount());
            QCOMPARE(doc.CurFileName, row.curFileName);
            QCOMPARE(doc.IsNewFile, row.fileName.isEmpty());
            QCOMPARE(doc.title(), row.shownTitle);
            QCOMPARE(doc.IsDataChanged(), row.changed);
            // Nothing of the earlier document stays behind the new channels, where a save
            // would write it into the new file.
            for (int i = source.chCount(); i < MaxChannels; ++i)
                QVERIFY(doc.FileCHInfo[i] == source.CHInfo[i]);
            // The document as it stands adopts back to itself, title and all.
            doc.adoptImage(doc.currentImage());
            QCOMPARE(doc.title(), row.shownTitle);
            QCOMPARE(doc.IsDataChanged(), row.changed);
        }
    }

    // A new document has no channels of its own until it is edited: showing another group
    // is no edit, an edit taken back leaves nothing to lose, and neither a read (changed or
    // not) nor a saved document is one.
    void untouchedNewDocument() {
        Document doc;
        QVERIFY(!doc.untouchedNew());
        doc.NewDocument();
        QVERIFY(doc.untouchedNew());
        doc.EditFunc([](FuncRec& f) { f.GroupSel = 3; });
        QVERIFY(doc.untouchedNew());
        doc.EditKeys([](KeyRec& k) { k.KeySet = 1; });
        QVERIFY(!doc.untouchedNew());
        doc.EditKeys([](KeyRec& k) { k.KeySet = 3; });
        QVERIFY(doc.untouchedNew());

        AdoptedImage built = doc.currentImage();
        built.state = AdoptedImage::State::Saved;
        AdoptedImage read = built;
        read.title = QStringLiteral("read from the radio");
        doc.adoptImage(read);
        QVERIFY(!doc.IsDataChanged());
        QVERIFY(!doc.untouchedNew());
        built.builtNew = true;
        doc.adoptImage(built);
        QVERIFY(doc.untouchedNew());
        doc.IsNewFile = false; // saved under a name of the user's
        QVERIFY(!doc.untouchedNew());
    }
};

MZ_TEST_GUILESS_MAIN(TestDocument)
#include "tst_document.moc"
