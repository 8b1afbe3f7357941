// Undo and redo of document edits: steps gather the edits of one user action, undo gives back
// the exact bytes, the save question follows the data, and a new start forgets the steps.

#include "core/files/datafile.h"
#include "core/files/opendatafile.h"
#include "core/model/documenthistory.h"
#include "support/documentbuilders.h"
#include "support/testmain.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray bytesOf(const Document& doc) {
    return EncodeDataFile(doc.RadioData, doc.CHInfo);
}

// Lets the pending edits become a step, as the event loop does after each user action.
void settle() {
    QCoreApplication::processEvents();
}

} // namespace

class TestDocumentHistory : public QObject {
    Q_OBJECT

    Document doc;

    DocumentHistory& history() { return doc.history(); }

private slots:
    void initTestCase() { UseStagedLanguage(); }

    void init() {
        NewDocumentInMode(doc, 1);
        history().setRecording(true);
        history().clear();
    }

    void cleanup() { history().setRecording(false); }

    void editsOfOneTurnAreOneStepAndUndoGivesTheBytesBack() {
        const QByteArray start = bytesOf(doc);
        // A frequency typed into an empty row creates the channel and touches the group
        // settings: one user action, one step.
        doc.SetCHValue(0, 3, FldRxFre, QStringLiteral("28.1"));
        doc.SetCHValue(0, 3, FldTSQ, 1);
        settle();
        QCOMPARE(history().stack().count(), 1);
        QCOMPARE(history().undoText(), QStringLiteral("edit of channel A 3"));

        doc.SetCHValue(0, 1, FldScan, 0);
        doc.SetCHValue(0, 3, FldScan, 0);
        settle();
        QCOMPARE(history().undoText(), QStringLiteral("edit of 2 channels"));
        const QByteArray end = bytesOf(doc);

        history().undo();
        history().undo();
        QCOMPARE(bytesOf(doc), start);
        QVERIFY(!history().stack().canUndo());
        history().redo();
        history().redo();
        QCOMPARE(bytesOf(doc), end);
    }

    void stepsAreNamedAfterWhatChanged_data() {
        QTest::addColumn<int>("what");
        QTest::addColumn<QString>("caption");
        QTest::newRow("group settings") << 0 << "change of the group settings";
        QTest::newRow("options") << 1 << "change of the optional features";
        QTest::newRow("public channel") << 2 << "change of the optional features";
        QTest::newRow("keys") << 3 << "change of the keys";
        QTest::newRow("dtmf") << 4 << "change of the DTMF settings";
        QTest::newRow("tone tips") << 5 << "change of the tone tips";
    }
    void stepsAreNamedAfterWhatChanged() {
        QFETCH(int, what);
        QFETCH(QString, caption);
        switch (what) {
        case 0:
            doc.EditFunc([](FuncRec& f) { f.EmgMode1[0] = 1; });
            break;
        case 1:
            doc.EditFunc([](FuncRec& f) { f.Beep = 1; });
            break;
        case 2:
            doc.EditPublic([](CHInfoRec& p) { p.RDCT = 7; });
            break;
        case 3:
            doc.EditKeys([](KeyRec& k) { k.KeyFun[2] = 9; });
            break;
        case 4:
            doc.EditDtmf([](DTMFRec& d) { d.Codes[0].Len = 3; });
            break;
        case 5:
            doc.EditToneTips([](ToneTipsRec& t) { t.Tip[7].Repeat = 2; });
            break;
        }
        settle();
        QCOMPARE(history().undoText(), caption);
    }

    void theSaveQuestionFollowsTheData() {
        doc.ToFileCopy(); // as after a save
        QVERIFY(!doc.IsDataChanged());
        doc.SetCHValue(0, 1, FldTSQ, 1);
        settle();
        QVERIFY(doc.IsDataChanged());
        history().undo();
        QVERIFY(!doc.IsDataChanged());
        history().redo();
        QVERIFY(doc.IsDataChanged());
    }

    void showingAnotherGroupIsNoStepButUndoingEverythingRestoresIt() {
        doc.EditFunc([](FuncRec& f) { f.GroupSel = 3; });
        settle();
        QCOMPARE(history().stack().count(), 0);
        doc.SetCHValue(3, 2, FldRxFre, QStringLiteral("28.2"));
        settle();
        QCOMPARE(history().stack().count(), 1);
        // Undoing the edit stays in the group it was made in.
        history().undo();
        QCOMPARE(doc.RadioData.Func.GroupSel, i16(3));
        QVERIFY(doc.FindChannel(FirstCHOfGroup(3, 1) + 2) < 0);

        // An edit before switching groups: undoing back to it shows its group again.
        history().clear();
        doc.EditFunc([](FuncRec& f) { f.GroupSel = 0; });
        doc.SetCHValue(0, 1, FldTSQ, 1);
        settle();
        const QByteArray afterFirst = bytesOf(doc);
        doc.EditFunc([](FuncRec& f) { f.GroupSel = 5; });
        settle();
        doc.SetCHValue(5, 1, FldRxFre, QStringLiteral("28.3"));
        settle();
        history().undo();
        history().undo();
        QCOMPARE(doc.RadioData.Func.GroupSel, i16(3)); // as it was where undo stops
        history().redo();
        QCOMPARE(bytesOf(doc), afterFirst);
    }

    void commandsNameTheirStepAndNothingChangedIsNoStep() {
        doc.SetCHValue(0, 1, FldTSQ, 1); // pending
        history().flush();
        QCOMPARE(history().stack().count(), 1);
        history().commit({{9900, {}}, {9892, {QStringLiteral("3")}}});
        QCOMPARE(history().stack().count(), 1); // nothing changed since
        doc.SetCHValue(0, 1, FldScan, 0);
        history().commit({{9900, {}}, {9892, {QStringLiteral("3")}}});
        QCOMPARE(history().undoText(), QStringLiteral("paste of 3 channels"));
        settle(); // the edit's own signal finds no further change
        QCOMPARE(history().stack().count(), 2);
    }

    void aNewStartForgetsTheSteps() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.dat"));
        QVERIFY(WriteBytes(path, NewDocumentFile(1, 1)));
        for (int how = 0; how < 3; ++how) {
            doc.SetCHValue(0, 1, FldTSQ, 1);
            settle();
            QVERIFY(history().stack().canUndo());
            if (how == 0) doc.NewDocument();
            if (how == 1) NewDocumentWithInitFile(doc);
            if (how == 2) QCOMPARE(OpenDataFile(doc, path), OpenResult::Opened);
            settle();
            QVERIFY2(!history().stack().canUndo(), qPrintable(QString::number(how)));
        }
    }

    void stepsAreRenamedInTheNewLanguage() {
        doc.SetCHValue(0, 1, FldTSQ, 1);
        settle();
        UseStagedLanguage(Language::Chinese);
        history().retranslate();
        QCOMPARE(history().undoText(), QStringLiteral("编辑信道 A 1"));
        UseStagedLanguage(Language::English);
        history().retranslate();
        QCOMPARE(history().undoText(), QStringLiteral("edit of channel A 1"));
    }

    void withoutRecordingNothingIsKept() {
        history().setRecording(false);
        doc.SetCHValue(0, 1, FldTSQ, 1);
        settle();
        history().flush();
        QCOMPARE(history().stack().count(), 0);
    }
};

MZ_TEST_GUILESS_MAIN(TestDocumentHistory)
#include "tst_documenthistory.moc"
