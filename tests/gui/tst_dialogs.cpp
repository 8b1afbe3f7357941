// The dialogs reached from the main window: language, model information, serial port,
// password; and the progress window's captions and percentages.

#include "gui/guitestenv.h"
#include "support/testmain.h"

#include "app/frmmain.h"
#include "common/guiprompter.h"
#include "core/app/inifile.h"
#include "core/model/country.h"
#include "link/frmpassword.h"
#include "link/frmprogress.h"
#include "link/frmsetcomm.h"
#include "link/virtualradioprocess.h"
#include "sim/simprocess.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTreeWidget>

using A = Prompter::Answer;

namespace {
void click(QWidget* dialog, const char* button) {
    QTest::mouseClick(child<QPushButton>(dialog, button), Qt::LeftButton);
}
QString setting(const TestTree& t, const char* key) {
    return IniRead(t.mysetup(), QStringLiteral("language"), QLatin1String(key));
}
} // namespace

class TestDialogs : public QObject {
    Q_OBJECT

    std::unique_ptr<TestTree> tree;
    std::unique_ptr<Document> doc;
    ScriptedPrompter prompter;
    std::unique_ptr<frmMain> main;
    QStringList made;

    void trigger(const char* name) { child<QAction>(main.get(), name)->trigger(); }
    void registerWindow(const QString& name, int titleText) {
        main->registerChildFactory(name, [this, name, titleText] {
            made << name;
            auto* w = new QWidget;
            w->setWindowTitle(LoadLangText(titleText));
            return w;
        });
    }

private slots:
    void init() {
        tree = std::make_unique<TestTree>();
        doc = std::make_unique<Document>();
        doc->setPrompter(&prompter);
        tree->startUp(*doc);
        prompter.reset();
        made.clear();
        main = std::make_unique<frmMain>(*doc, prompter);
        registerWindow(QStringLiteral("frmCommChInfo"), 12001);
        registerWindow(QStringLiteral("FrmKey"), 12010);
        main->Load();
        main->show();
        QVERIFY(QTest::qWaitForWindowExposed(main.get()));
    }
    void cleanup() {
        FrmSetComm::setPortLister(nullptr);
        main.reset();
        doc.reset();
        tree.reset();
    }

    void languageSwitchRebuildsTextsAndReopensTheTable() {
        trigger("MnuKey");
        QCOMPARE(made, (QStringList{"frmCommChInfo", "FrmKey"}));
        const QString englishTitle = App().AppTitle;

        onNextModal([](QWidget* dlg) {
            QCOMPARE(dlg->objectName(), QStringLiteral("FrmSetLanguage"));
            // Every language file of the folder, by its own name, English and Chinese first.
            auto* combo = child<QComboBox>(dlg, "Combo1");
            QStringList names;
            for (int i = 0; i < combo->count(); ++i)
                names << combo->itemText(i);
            QStringList expected;
            for (const LanguageInfo& l : FindLanguages(App().langDir()))
                expected << l.name;
            QCOMPARE(names, expected);
            QCOMPARE(names.mid(0, 2), (QStringList{"English", "中文"}));
            QVERIFY(names.contains(QStringLiteral("Ẍlong testẍ")));
            QCOMPARE(combo->currentIndex(), 0);
            combo->setCurrentIndex(1);
            click(dlg, "CommandOK");
        });
        trigger("mnuLanguage");

        QCOMPARE(App().CurLanguage, Language::Chinese);
        QCOMPARE(App().LangFile, QStringLiteral("chinese.ini"));
        QCOMPARE(setting(*tree, "CurrentLanguage"), QStringLiteral("2"));
        // Every child closed; the table alone came back, in the new language.
        QCOMPARE(made, (QStringList{"frmCommChInfo", "FrmKey", "frmCommChInfo"}));
        QTRY_COMPARE(main->mdiArea()->subWindowList().size(), 1);
        QVERIFY(!main->ChildForm(QStringLiteral("FrmKey")));
        QWidget* table = main->ChildForm(QStringLiteral("frmCommChInfo"));
        QVERIFY(table);
        QCOMPARE(table->windowTitle(), LoadLangTextFrom(App().langDir() + "/chinese.ini", 12001));
        QVERIFY(table->windowTitle() != LoadLangTextFrom(App().langDir() + "/english.ini", 12001));
        QCOMPARE(child<QMenu>(main.get(), "mnuFile")->title(),
                 LoadLangTextFrom(App().langDir() + "/chinese.ini", 10000));
        QCOMPARE(child<QAction>(main.get(), "ReadRadio")->toolTip(),
                 LoadLangTextFrom(App().langDir() + "/chinese.ini", 11004) +
                     QStringLiteral(" (Ctrl+R)"));
        auto* tv = child<QTreeWidget>(main.get(), "TreeView1");
        QCOMPARE(tv->topLevelItem(0)->child(0)->text(0),
                 LoadLangTextFrom(App().langDir() + "/chinese.ini", 12001));
        // The per-user store keeps the name it started with; a message box speaks the new
        // language, its title too.
        QCOMPARE(App().AppTitle, englishTitle);
        {
            GuiPrompter ask(main.get());
            QString title;
            onNextModal([&title](QWidget* box) { title = box->windowTitle(); });
            ask.message(9009);
            QCOMPARE(title, LoadLangTextFrom(App().langDir() + "/chinese.ini", 12000));
        }

        // OK without a change writes again and rebuilds nothing.
        IniWrite(tree->mysetup(), "language", "CurrentLanguage", "9");
        onNextModal([](QWidget* dlg) { click(dlg, "CommandOK"); });
        trigger("mnuLanguage");
        QCOMPARE(setting(*tree, "CurrentLanguage"), QStringLiteral("2"));
        QCOMPARE(made.size(), 3);

        // Cancel after changing the selection changes nothing.
        onNextModal([](QWidget* dlg) {
            child<QComboBox>(dlg, "Combo1")->setCurrentIndex(0);
            click(dlg, "CommandCancel");
        });
        trigger("mnuLanguage");
        QCOMPARE(App().CurLanguage, Language::Chinese);
        QCOMPARE(made.size(), 3);

        // And back to English.
        onNextModal([](QWidget* dlg) {
            child<QComboBox>(dlg, "Combo1")->setCurrentIndex(0);
            click(dlg, "CommandOK");
        });
        trigger("mnuLanguage");
        QCOMPARE(App().LangFile, QStringLiteral("english.ini"));
        QCOMPARE(setting(*tree, "CurrentLanguage"), QStringLiteral("1"));
        QCOMPARE(child<QMenu>(main.get(), "mnuFile")->title(), LoadLangText(10000));
        QCOMPARE(made.size(), 4);
    }

    // A language beyond the first two: stored as 3 with its file, and listed as current.
    void languageBeyondTheFirstTwo() {
        onNextModal([](QWidget* dlg) {
            auto* combo = child<QComboBox>(dlg, "Combo1");
            combo->setCurrentIndex(combo->findData(QStringLiteral("testlong.ini")));
            click(dlg, "CommandOK");
        });
        trigger("mnuLanguage");
        QCOMPARE(App().LangFile, QStringLiteral("testlong.ini"));
        QCOMPARE(setting(*tree, "CurrentLanguage"), QStringLiteral("3"));
        QCOMPARE(setting(*tree, "LanguageFile"), QStringLiteral("testlong.ini"));
        QCOMPARE(child<QMenu>(main.get(), "mnuFile")->title(),
                 MarkedText(LoadLangTextFrom(App().langDir() + "/english.ini", 10000)));
        onNextModal([](QWidget* dlg) {
            auto* combo = child<QComboBox>(dlg, "Combo1");
            QCOMPARE(combo->currentData().toString(), QStringLiteral("testlong.ini"));
            combo->setCurrentIndex(0);
            click(dlg, "CommandOK");
        });
        trigger("mnuLanguage");
        QCOMPARE(setting(*tree, "CurrentLanguage"), QStringLiteral("1"));
        QCOMPARE(setting(*tree, "LanguageFile"), QString());
        QCOMPARE(child<QMenu>(main.get(), "mnuFile")->title(), LoadLangText(10000));
    }

    void enterInTheLanguageListMovesOn() {
        onNextModal([](QWidget* dlg) {
            auto* combo = child<QComboBox>(dlg, "Combo1");
            combo->setFocus();
            QTest::keyClick(combo, Qt::Key_Return);
            // The dialog is still open: Enter moved the focus instead of pressing OK.
            QVERIFY(dlg->isVisible());
            QVERIFY(!combo->hasFocus());
            click(dlg, "CommandCancel");
        });
        trigger("mnuLanguage");
        QCOMPARE(App().CurLanguage, Language::English);
    }

    void modelInformationChangeToHam() {
        QSignalSpy built(&main->commands(), &DocumentCommands::newDocumentBuilt);
        // Unchanged band: nothing asked, nothing changed, whatever model is typed.
        onNextModal([](QWidget* dlg) {
            QCOMPARE(dlg->windowTitle(), LoadLangText(13000));
            QCOMPARE(child<QComboBox>(dlg, "Combo3")->currentText(), QStringLiteral("CB"));
            QCOMPARE(child<QComboBox>(dlg, "Combo1")->currentText(), QStringLiteral("MZ-710"));
            QCOMPARE(child<QComboBox>(dlg, "Combo2")->currentText(),
                     QStringLiteral("26.965 - 27.405 MHz"));
            child<QComboBox>(dlg, "Combo1")->setEditText(QStringLiteral("XY-1"));
            click(dlg, "CommandOK");
        });
        trigger("mnuModelInfo");
        QVERIFY(prompter.asked.isEmpty());
        QCOMPARE(doc->ModelName, QStringLiteral("MZ-710"));
        QTest::qWait(150);
        QCOMPARE(built.size(), 0);

        // HAM for an edited document, warned and confirmed: a new document of mode 2.
        doc->EditKeys([](KeyRec& k) { k.KeySet = 1; });
        prompter.reset({A::Ok});
        onNextModal([](QWidget* dlg) {
            auto* mode = child<QComboBox>(dlg, "Combo3");
            mode->setCurrentIndex(2);
            emit mode->activated(2);
            QCOMPARE(child<QComboBox>(dlg, "Combo2")->currentIndex(), 2);
            click(dlg, "CommandOK");
        });
        trigger("mnuModelInfo");
        QCOMPARE(prompter.texts(), QStringList{LoadLangText(9016)});
        QCOMPARE(prompter.asked[0].icon, Prompter::Icon::Warning);
        QCOMPARE(doc->CountryMode, 2);
        QCOMPARE(doc->BandText, QStringLiteral("28.000 - 29.700 MHz"));
        QCOMPARE(doc->FreLow, 28.0);
        QCOMPARE(doc->FreHigh, 29.7);
        QTRY_COMPARE(built.size(), 1);
        QCOMPARE(doc->RadioData.Head.CountryMode, i16(2));
        QCOMPARE(doc->RadioInfo.InfoMode, 2);
        QVERIFY(!doc->IsDataChanged());
        QVERIFY(main->windowTitle().contains(QStringLiteral("[MZ-710:HAM:28.000 - 29.700 MHz]")));
        QCOMPARE(child<QLabel>(main.get(), "Panel2")->text(),
                 QStringLiteral("MZ-710[HAM:28.000 - 29.700 MHz]"));

        // Back to CB after an edit, but the warning is cancelled: nothing changes.
        doc->EditKeys([](KeyRec& k) { k.KeySet = 1; });
        prompter.reset({A::Cancel});
        onNextModal([](QWidget* dlg) {
            auto* mode = child<QComboBox>(dlg, "Combo3");
            mode->setCurrentIndex(0);
            emit mode->activated(0);
            click(dlg, "CommandOK");
        });
        trigger("mnuModelInfo");
        QCOMPARE(doc->CountryMode, 2);
        QTest::qWait(150);
        QCOMPARE(built.size(), 1);
    }

    void portDialogShowsPresentPortsAndStoresTheChoice() {
        QList<PortEntry> ports{{"ttyS2", "/dev/ttyS2", "16550A"},
                               {"ttyS11", "/dev/ttyS11", ""},
                               {"ttyS19", "/dev/ttyS19", ""},
                               {"ttyUSB0", "/dev/ttyUSB0", "USB-Serial Controller"}};
        FrmSetComm::setPortLister([&] { return ports; });
        FrmSetComm dlg(main.get());
        QCOMPARE(dlg.windowTitle(), LoadLangText(22000));
        QList<int> enabled;
        for (int i = 0; i < 16; ++i) {
            auto* b = child<QRadioButton>(&dlg, QStringLiteral("Option1_%1").arg(i).toLatin1());
            QCOMPARE(b->text(), LoadLangText(22002) + QString::number(i + 1));
            if (b->isEnabled()) enabled << i + 1;
        }
        QCOMPARE(enabled, (QList<int>{3, 12}));
        // The port in use shows selected even when absent.
        QVERIFY(child<QRadioButton>(&dlg, "Option1_0")->isChecked());
        // A numbered port is its button only; the list holds the others (COM20 has no button).
        auto* list = child<QListWidget>(&dlg, "ListPorts");
        QCOMPARE(list->count(), 2);
        QCOMPARE(list->item(0)->text(), QStringLiteral("/dev/ttyS19"));
        QVERIFY(list->item(1)->text().contains(QStringLiteral("USB-Serial Controller")));

        // A cable plugged in while the dialog is open; the choice stays.
        child<QRadioButton>(&dlg, "Option1_11")->click();
        ports.append({"ttyS4", "/dev/ttyS4", ""});
        dlg.RefreshPorts();
        QVERIFY(child<QRadioButton>(&dlg, "Option1_4")->isEnabled());
        QVERIFY(child<QRadioButton>(&dlg, "Option1_11")->isChecked());
        QCOMPARE(list->count(), 2);
        child<QRadioButton>(&dlg, "Option1_4")->click();
        click(&dlg, "CommandOK");
        QCOMPARE(App().ComPort, 5);
        QCOMPARE(setting(*tree, "comPort"), QStringLiteral("5"));
        QCOMPARE(setting(*tree, "portName"), QString());
    }

    void portDialogTakesListedAndTypedDevices() {
        QList<PortEntry> ports{{"ttyUSB0", "/dev/ttyUSB0", "USB-Serial Controller"},
                               {"ttyS6", "/dev/ttyS6", ""}};
        FrmSetComm::setPortLister([&] { return ports; });
        onNextModal([](QWidget* dlg) {
            auto* list = child<QListWidget>(dlg, "ListPorts");
            list->setCurrentRow(0);
            QVERIFY(!child<QRadioButton>(dlg, "Option1_0")->isChecked());
            click(dlg, "CommandOK");
        });
        trigger("mnuComm");
        QCOMPARE(App().PortName, QStringLiteral("/dev/ttyUSB0"));
        QCOMPARE(App().ComPort, 1);
        QCOMPARE(setting(*tree, "portName"), QStringLiteral("/dev/ttyUSB0"));
        QCOMPARE(child<QLabel>(main.get(), "Panel3")->text(), QStringLiteral("/dev/ttyUSB0"));

        // A path that is not there is asked about; No keeps the dialog open and the old port.
        prompter.expect(LoadLangText(27614), Prompter::Answer::No);
        onNextModal([](QWidget* dlg) {
            auto* path = child<QLineEdit>(dlg, "TextPath");
            path->setFocus();
            QTest::keyClicks(path, QStringLiteral("/dev/ttyNOSUCH9"));
            click(dlg, "CommandOK");
            QVERIFY(dlg->isVisible());
            click(dlg, "CommandCancel");
        });
        trigger("mnuComm");
        QVERIFY(prompter.saw(QStringLiteral("/dev/ttyNOSUCH9 does not exist")));
        QCOMPARE(App().PortName, QStringLiteral("/dev/ttyUSB0"));
        // Yes takes it: a cable not plugged in yet.
        prompter.reset();
        prompter.expect(LoadLangText(27614), Prompter::Answer::Yes);

        // A pseudo-terminal is typed; it shows typed again next time.
        onNextModal([](QWidget* dlg) {
            auto* list = child<QListWidget>(dlg, "ListPorts");
            QCOMPARE(list->currentRow(), 0);
            auto* path = child<QLineEdit>(dlg, "TextPath");
            path->setFocus();
            QTest::keyClicks(path, QStringLiteral("/dev/pts/7"));
            QVERIFY(list->selectedItems().isEmpty());
            click(dlg, "CommandOK");
        });
        trigger("mnuComm");
        QCOMPARE(setting(*tree, "portName"), QStringLiteral("/dev/pts/7"));
        onNextModal([](QWidget* dlg) {
            QCOMPARE(child<QLineEdit>(dlg, "TextPath")->text(), QStringLiteral("/dev/pts/7"));
            // Cancel keeps everything.
            child<QRadioButton>(dlg, "Option1_6")->click();
            click(dlg, "CommandCancel");
        });
        trigger("mnuComm");
        QCOMPARE(App().PortName, QStringLiteral("/dev/pts/7"));
        QCOMPARE(setting(*tree, "comPort"), QStringLiteral("1"));

        // A typed /dev/ttyS3 is COM4, and shows as that button next time.
        onNextModal([](QWidget* dlg) {
            auto* path = child<QLineEdit>(dlg, "TextPath");
            path->clear();
            path->setFocus();
            QTest::keyClicks(path, QStringLiteral("/dev/ttyS3"));
            click(dlg, "CommandOK");
        });
        trigger("mnuComm");
        QCOMPARE(App().ComPort, 4);
        QCOMPARE(setting(*tree, "portName"), QString());
        App().PortName = QStringLiteral("/dev/ttyS5");
        onNextModal([](QWidget* dlg) {
            QVERIFY(child<QRadioButton>(dlg, "Option1_5")->isChecked());
            QVERIFY(child<QLineEdit>(dlg, "TextPath")->text().isEmpty());
            click(dlg, "CommandCancel");
        });
        trigger("mnuComm");

        // A COM button clears the device name.
        onNextModal([](QWidget* dlg) {
            child<QRadioButton>(dlg, "Option1_6")->click();
            QVERIFY(child<QLineEdit>(dlg, "TextPath")->text().isEmpty());
            click(dlg, "CommandOK");
        });
        trigger("mnuComm");
        QCOMPARE(setting(*tree, "comPort"), QStringLiteral("7"));
        QCOMPARE(setting(*tree, "portName"), QString());
        QCOMPARE(child<QLabel>(main.get(), "Panel3")->text(),
                 LoadLangText(12008) + QStringLiteral("7"));
    }

    void portDialogOffersTheVirtualRadioWhenInstalled() {
        FrmSetComm::setPortLister([] { return QList<PortEntry>(); });
        {
            FrmSetComm dlg;
            QCOMPARE(child<QListWidget>(&dlg, "ListPorts")->count(), 0);
        }
        QFile sim(VirtualRadioProcess::program());
        QVERIFY(sim.open(QIODevice::WriteOnly));
        sim.write("#!/bin/sh\n");
        sim.close();
        sim.setPermissions(sim.permissions() | QFile::ExeOwner);
        FrmSetComm dlg;
        auto* list = child<QListWidget>(&dlg, "ListPorts");
        QCOMPARE(list->count(), 1);
        QCOMPARE(list->item(0)->text(), VirtualRadioProcess::displayName());
        list->setCurrentRow(0);
        click(&dlg, "CommandOK");
        // The shared settings file holds a name; the link lies in this user's data folder.
        QCOMPARE(App().PortName, VirtualRadioProcess::portSetting());
        QCOMPARE(setting(*tree, "portName"), QStringLiteral("virtual-radio"));
        QVERIFY(!setting(*tree, "portName").contains(QDir::homePath()));
        QCOMPARE(VirtualRadioProcess::sessionPort(App().PortName), VirtualRadioProcess::linkPath());
        // What an older version stored still counts as the virtual radio.
        App().PortName = VirtualRadioProcess::linkPath();
        FrmSetComm again;
        QCOMPARE(child<QListWidget>(&again, "ListPorts")->currentRow(), 0);
    }

    void portDialogStoresTheCableByItsStableNameAndTestsIt() {
        const QString byId =
            QStringLiteral("/dev/serial/by-id/usb-FTDI_FT232R_A10K1234-if00-port0");
        QList<PortEntry> ports{{"ttyUSB1", "/dev/ttyUSB1", "FTDI FT232R (0403:6001)", byId,
                                "/dev/ttyUSB1\nFTDI FT232R\nS/N A10K1234"}};
        FrmSetComm::setPortLister([&] { return ports; });
        {
            FrmSetComm dlg;
            auto* list = child<QListWidget>(&dlg, "ListPorts");
            QCOMPARE(list->count(), 1);
            QVERIFY(list->item(0)->text().contains(QStringLiteral("FTDI FT232R (0403:6001)")));
            QVERIFY(list->item(0)->toolTip().contains(QStringLiteral("A10K1234")));
            list->setCurrentRow(0);
            click(&dlg, "CommandOK");
        }
        QCOMPARE(App().PortName, byId);
        QCOMPARE(setting(*tree, "portName"), byId);
        // After a re-plug the same cable is ttyUSB0: still the one chosen.
        ports = {{"ttyUSB0", "/dev/ttyUSB0", "FTDI FT232R (0403:6001)", byId, QString()}};
        FrmSetComm replugged;
        QCOMPARE(child<QListWidget>(&replugged, "ListPorts")->currentRow(), 0);

        // Test Connection asks the radio on the port chosen in the dialog, before OK.
        SimProcess sim;
        QVERIFY(sim.start({"--mode", "2"}));
        auto* path = child<QLineEdit>(&replugged, "TextPath");
        path->setFocus();
        QTest::keyClicks(path, sim.device);
        QCOMPARE(replugged.chosenPort(), sim.device);
        auto* result = child<QLabel>(&replugged, "LabelTestResult");
        QVERIFY(!result->accessibleName().isEmpty());
        click(&replugged, "CommandTest");
        QTRY_VERIFY_WITH_TIMEOUT(result->text().contains(QStringLiteral("MZ-710")), 5000);
        QVERIFY(result->text().contains(ModeName(2)));
        // Testing stores nothing.
        QCOMPARE(App().PortName, byId);
        path->clear();
        QTest::keyClicks(path, QStringLiteral("/dev/serial/by-id/usb-gone-if00-port0"));
        click(&replugged, "CommandTest");
        QVERIFY(result->text().contains(QStringLiteral("is not plugged in")));
    }

    void passwordCommandKeepsThePasswordForTheRun() {
        onNextModal([](QWidget* dlg) {
            QCOMPARE(dlg->windowTitle(), LoadLangText(23100));
            QCOMPARE(child<QLabel>(dlg, "Label1")->text(), LoadLangText(23101));
            auto* text = child<QLineEdit>(dlg, "Text1");
            QCOMPARE(text->echoMode(), QLineEdit::Password);
            QCOMPARE(text->maxLength(), 4);
            text->setFocus();
            QTest::keyClicks(text, QStringLiteral("ab  xy"));
            QCOMPARE(text->text(), QStringLiteral("ab  "));
            click(dlg, "CommandOK");
        });
        trigger("MnuProPassWord");
        // The trailing blanks are dropped on OK.
        QCOMPARE(main->progPassword(), QStringLiteral("ab"));

        onNextModal([](QWidget* dlg) {
            auto* text = child<QLineEdit>(dlg, "Text1");
            QCOMPARE(text->text(), QStringLiteral("ab"));
            text->setText(QStringLiteral("Zz"));
            click(dlg, "CommandCancel");
        });
        trigger("MnuProPassWord");
        QCOMPARE(main->progPassword(), QStringLiteral("ab"));

        // Nothing of it reaches the settings file.
        QVERIFY(!tree->setupText().contains(QStringLiteral("ab")));
        QCOMPARE(FrmPassWord::CleanPassword(QStringLiteral(" a") + QChar(0) + QStringLiteral("b")),
                 QStringLiteral(" a"));
        QCOMPARE(FrmPassWord::CleanPassword(QStringLiteral("A1 ")), QStringLiteral("A1"));
    }

    void aboutShowsItsTextsAndCloses() {
        bool shown = false;
        onNextModal([&shown](QWidget* dlg) {
            QCOMPARE(dlg->windowTitle(), LoadLangText(24000));
            QCOMPARE(child<QLabel>(dlg, "lblTitle")->text(), LoadLangText(24001));
            QCOMPARE(child<QLabel>(dlg, "lblVersion")->text(), LoadLangText(24002));
            QCOMPARE(child<QLabel>(dlg, "lblDescription")->text(), LoadLangText(24003));
            QCOMPARE(child<QLabel>(dlg, "lblDisclaimer")->text(), LoadLangText(24004));
            QCOMPARE(child<QPushButton>(dlg, "cmdOK")->text(), LoadLangText(24005));
            shown = true;
            QTest::mouseClick(child<QPushButton>(dlg, "cmdOK"), Qt::LeftButton);
        });
        trigger("About");
        QVERIFY(shown);
    }

    void progressWindowCaptionsAndPercentages() {
        FrmProgress read(CommKind::Read);
        QCOMPARE(read.windowTitle(), LoadLangText(9027));
        FrmProgress write(CommKind::Write);
        QCOMPARE(write.windowTitle(), LoadLangText(9028));
        QCOMPARE(child<QLabel>(&write, "Label1")->text(), LoadLangText(9029));
        QVERIFY(!LoadLangText(9027).isEmpty() && LoadLangText(9027) != LoadLangText(9028));

        QSignalSpy loaded(&read, &FrmProgress::loaded);
        read.show();
        QTRY_COMPARE(loaded.size(), 1);
        auto* bar = child<QProgressBar>(&read, "ProgressBar1");
        auto* label = child<QLabel>(&read, "Label2");
        QCOMPARE(bar->minimum(), 0);
        QCOMPARE(bar->maximum(), 100);
        QCOMPARE(label->text(), QStringLiteral("0%"));
        read.ShowProgress(0, 7423);
        read.ShowProgress(16, 7423);
        QCOMPARE(label->text(), QStringLiteral("0%"));
        read.ShowProgress(3712, 7423);
        QCOMPARE(label->text(), QStringLiteral("50%"));
        QCOMPARE(bar->value(), 50);
        // A resent earlier block does not move it back.
        read.ShowProgress(3696, 7423);
        QCOMPARE(read.LastPercent(), 50);
        read.ShowProgress(0x1CF0, 7423);
        QCOMPARE(label->text(), QStringLiteral("100%"));
        read.ResetProgress();
        QCOMPARE(bar->value(), 0);
        QCOMPARE(label->text(), QStringLiteral("0%"));

        // Only the session closes it.
        QTest::keyClick(&read, Qt::Key_Escape);
        QVERIFY(!read.close());
        QVERIFY(read.isVisible());
        read.hide();
        read.show();
        QTest::qWait(20);
        QCOMPARE(loaded.size(), 1);
        read.Finish();
        QVERIFY(!read.isVisible());
    }
};

MZ_TEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
