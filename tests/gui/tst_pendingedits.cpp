// A value still being typed in the channel table is never lost: Save, Exit and New take it
// into account, as the user would expect from a spreadsheet.

#include "core/files/datafile.h"
#include "gui/mainwindowfixture.h"
#include "support/testmain.h"

#include <QAction>
#include <QCloseEvent>
#include <QFile>

using A = Prompter::Answer;

class TestPendingEdits : public QObject, MainWindowFixture {
    Q_OBJECT

    ScriptedPrompter prompter;

    frmCommChInfo* table() const { return channelTable(); }

private slots:
    void init() {
        build(prompter, 1, [](Document& d) {
            d.SetCountryMode(1);
            d.NewDocument();
        });
        show();
    }
    void cleanup() { reset(); }

    void saveTakesTheTypedValue() {
        typeFrequencyWithoutEnter();
        QVERIFY(doc->FindChannel(2) < 0);
        chosen = tree->dir.filePath("typed.dat");
        child<QAction>(main.get(), "mnuFileSave")->trigger();
        QFile f(chosen);
        QVERIFY(f.open(QIODevice::ReadOnly));
        RadioDataRec data;
        ChannelList channels{};
        QVERIFY(DecodeDataFile(f.readAll(), data, channels));
        bool found = false;
        for (int i = 0; i < data.CHCount; ++i)
            found |= channels[i].CHNo == 2 && channels[i].RxFre.text() == "02850000";
        QVERIFY(found);
    }

    void exitAsksAboutTheTypedValue() {
        doc->ToFileCopy(); // nothing else changed
        typeFrequencyWithoutEnter();
        QVERIFY(doc->FindChannel(2) < 0);
        prompter.reset({A::Cancel});
        QCloseEvent e;
        QApplication::sendEvent(main.get(), &e);
        QVERIFY(!e.isAccepted());
        QCOMPARE(prompter.texts(), QStringList{LoadLangText(9006)});
        QVERIFY(doc->FindChannel(2) >= 0);
    }
};

MZ_TEST_MAIN(TestPendingEdits)
#include "tst_pendingedits.moc"
