// A value still being typed in the channel table is never lost: Save, Exit and New take it
// into account, as the user would expect from a spreadsheet.

#include "gui/guitestenv.h"

#include "app/childwindows.h"
#include "app/frmmain.h"
#include "channels/channelgridview.h"
#include "channels/channeltablemodel.h"
#include "channels/frmcommchinfo.h"
#include "core/files/datafile.h"

#include <QAction>
#include <QCloseEvent>
#include <QFile>

using A = Prompter::Answer;

class TestPendingEdits : public QObject {
    Q_OBJECT

    std::unique_ptr<TestTree> tree;
    std::unique_ptr<Document> doc;
    ScriptedPrompter prompter;
    std::unique_ptr<frmMain> main;
    QString chosen;

    frmCommChInfo* table() const {
        return qobject_cast<frmCommChInfo*>(main->ChildForm(QStringLiteral("frmCommChInfo")));
    }
    // Row 2 of bank "A" gets a frequency typed into its cell, without Enter.
    void typeFrequencyWithoutEnter() {
        frmCommChInfo* t = table();
        QVERIFY(t);
        t->grid()->setFocus();
        t->grid()->setCurrentIndex(t->tableModel()->index(1, 1));
        QTest::keyClick(t->grid(), Qt::Key_Return);
        QTRY_VERIFY(t->grid()->isEditing());
        for (char c : QByteArray("28.5"))
            QTest::keyClick(QApplication::focusWidget(), c);
        QVERIFY(doc->FindChannel(2) < 0);
    }

private slots:
    void init() {
        tree = std::make_unique<TestTree>();
        doc = std::make_unique<Document>();
        doc->setPrompter(&prompter);
        tree->startUp(*doc);
        doc->SetCountryMode(1);
        doc->NewDocument();
        prompter.reset();
        main = std::make_unique<frmMain>(*doc, prompter);
        RegisterChildWindows(*main);
        main->setFileChooser([this](bool, const QString&) { return chosen; });
        main->Load();
        main->show();
        QVERIFY(QTest::qWaitForWindowExposed(main.get()));
    }
    void cleanup() {
        main.reset();
        doc.reset();
        tree.reset();
    }

    void saveTakesTheTypedValue() {
        typeFrequencyWithoutEnter();
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
        prompter.reset({A::Cancel});
        QCloseEvent e;
        QApplication::sendEvent(main.get(), &e);
        QVERIFY(!e.isAccepted());
        QCOMPARE(prompter.texts(), QStringList{LoadLangText(9006)});
        QVERIFY(doc->FindChannel(2) >= 0);
    }
};

QTEST_MAIN(TestPendingEdits)
#include "tst_pendingedits.moc"
