// The settings windows from the main window: every menu item and tree node opens its window
// in every country mode without changing the document; a radio-information read from mzsim
// opens the radio-information window; and per window a round trip: every control changed
// (each changes exactly its own field), saved, opened again, written to mzsim and read back.

#include "gui/guitestenv.h"
#include "support/testmain.h"

#include "app/childwindows.h"
#include "app/frmmain.h"
#include "core/link/session.h"
#include "core/model/dtmfcodes.h"
#include "core/model/settingsforms.h"
#include "link/sessioncontroller.h"
#include "sim/simprocess.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMap>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTreeWidget>

using A = Prompter::Answer;

namespace {
// Every field of a record as "path" -> value, to tell which fields a control changed.
struct Flatten {
    QString prefix;
    QMap<QString, QString>* out;
    template <class T> void operator()(const char* name, const T& v) {
        put(prefix + QLatin1String(name), v);
    }
    void put(const QString& p, i16 v) { (*out)[p] = QString::number(v); }
    void put(const QString& p, u8 v) { (*out)[p] = QString::number(v); }
    template <int N> void put(const QString& p, const FixedText<N>& t) {
        (*out)[p] = QString::fromLatin1(t.raw());
    }
    template <class E, std::size_t N> void put(const QString& p, const std::array<E, N>& a) {
        for (std::size_t i = 0; i < N; ++i)
            put(p + QStringLiteral("[%1]").arg(i), a[i]);
    }
    template <class R> void put(const QString& p, const R& r) {
        Flatten f{p + QLatin1Char('.'), out};
        R::visit(r, f);
    }
};
QMap<QString, QString> flatten(const RadioDataRec& r) {
    QMap<QString, QString> m;
    Flatten f{QString(), &m};
    RadioDataRec::visit(r, f);
    return m;
}
QStringList changedFields(const RadioDataRec& before, const RadioDataRec& after) {
    const auto a = flatten(before), b = flatten(after);
    QStringList l;
    for (auto it = a.begin(); it != a.end(); ++it)
        if (b.value(it.key()) != it.value()) l << it.key();
    return l;
}

// The field each control of the windows edits.
QString fieldOf(const QString& window, const QString& control) {
    static const char* options[] = {"UseMem",      "WorkGroup", "Beep",     "TOT",      "Backlight",
                                    "Volume",      "SqlLevel",  "AsqFun",   "AsqValue", "Gain",
                                    "CHDisplay",   "ScanType",  "ScanTime", "SqlBack",  "AsqBack",
                                    "AutoPowerOn", "MemEdit"};
    static const QHash<QString, QString> publicCh = {
        {"Combo2_1", "DUP"},       {"Combo2_2", "RDCT"},      {"Combo2_4", "HI_CUT"},
        {"Combo2_5", "BUSY"},      {"Combo2_6", "NB"},        {"Combo2_7", "Add_Sub_5K"},
        {"Combo2_8", "AM_FM"},     {"Combo2_9", "Tx_Power"},  {"Combo2_10", "RBTone"},
        {"Combo2_11", "DTMF_BOT"}, {"Combo2_12", "DTMF_EOT"}, {"Combo2_13", "DTMF_Call"},
        {"Text2", "OffSetFre"}};
    const int n = control.section(QLatin1Char('_'), 1).toInt();
    if (window == QLatin1String("FrmOptFeatures")) {
        if (control.startsWith(QLatin1String("Combo1_")))
            return QStringLiteral("Func.") + QLatin1String(options[n]);
        if (control.startsWith(QLatin1String("Combo3_"))) return QStringLiteral("Func.WorkGroup");
        if (control == QLatin1String("Check1")) return QStringLiteral("Func.UseMaxSwr");
        if (control == QLatin1String("Text1")) return QStringLiteral("Func.MaxSwr");
        return QStringLiteral("PublicCH.") + publicCh.value(control);
    }
    if (window == QLatin1String("FrmDTMF")) {
        if (control.startsWith(QLatin1String("Combo1_")))
            return QStringLiteral("DTMF.DtmfSet[%1]").arg(n);
        if (control == QLatin1String("Check1")) return QStringLiteral("DTMF.DtmfSet[5]");
        return QStringLiteral("DTMF.Codes[%1].").arg(n);
    }
    if (control == QLatin1String("Combo2")) return QStringLiteral("Key.KeySet");
    return QStringLiteral("Key.KeyFun[%1]").arg(n);
}

// What the windows show of a document: every row's stored value and the hand-made controls.
QMap<QString, int> shownValues(const Document& d) {
    QMap<QString, int> m;
    int t = 0;
    for (const auto* table :
         {&OptionFields(), &PublicChannelFields(), &DtmfSettingFields(), &KeyFields()}) {
        for (const SettingsField& f : *table)
            m[QStringLiteral("%1/%2").arg(t).arg(f.name)] = f.get(d);
        ++t;
    }
    m["UseMaxSwr"] = d.RadioData.Func.UseMaxSwr;
    m["MaxSwr"] = d.RadioData.Func.MaxSwr;
    m["OffSetFre"] = d.RadioData.PublicCH.OffSetFre;
    m["Display"] = d.RadioData.DTMF.DtmfSet[5];
    for (int s = 0; s < 16; ++s)
        m[QStringLiteral("Code%1=").arg(s + 1) + ShownDtmfCode(d.RadioData.DTMF.Codes[s])] = 1;
    return m;
}
} // namespace

class TestSettingsMain : public QObject {
    Q_OBJECT

    std::unique_ptr<TestTree> tree;
    std::unique_ptr<Document> doc;
    ScriptedPrompter prompter;
    std::unique_ptr<frmMain> main;
    std::unique_ptr<SessionController> sessions;
    std::unique_ptr<SimProcess> sim;

    QAction* action(const char* name) { return child<QAction>(main.get(), name); }
    QString file(const char* name) const { return tree->dir.filePath(QLatin1String(name)); }
    bool startRadio(const QStringList& args) {
        sim = std::make_unique<SimProcess>();
        if (!sim->start(args + QStringList{QStringLiteral("--baud"), QStringLiteral("0")}))
            return false;
        App().PortName = sim->device;
        return true;
    }
    void newDocumentInMode(int mode) {
        doc->SetCountryMode(mode);
        main->commands().LoadNewDoc2();
        QCOMPARE(doc->CountryMode, mode);
        QVERIFY(!doc->IsDataChanged());
    }
    void clickTreeNode(const QString& key) {
        auto* tree = main->findChild<QTreeWidget*>();
        QVERIFY(tree);
        const auto found =
            tree->findItems(QStringLiteral("*"), Qt::MatchWildcard | Qt::MatchRecursive);
        for (QTreeWidgetItem* item : found)
            if (item->data(0, Qt::UserRole).toString() == key) {
                emit tree->itemClicked(item, 0);
                return;
            }
        QFAIL(qPrintable(QStringLiteral("no tree node ") + key));
    }

private slots:
    void init() {
        tree = std::make_unique<TestTree>();
        doc = std::make_unique<Document>();
        doc->setPrompter(&prompter);
        tree->startUp(*doc);
        prompter.reset();
        main = std::make_unique<frmMain>(*doc, prompter);
        RegisterChildWindows(*main);
        main->Load();
        main->show();
        main->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(main.get()));
        sessions = std::make_unique<SessionController>(*main);
    }
    void cleanup() {
        sessions.reset();
        main.reset();
        doc.reset();
        sim.reset();
        tree.reset();
    }

    void menusAndTreeOpenEveryWindowInEveryMode() {
        const struct {
            const char* menu;
            const char* node;
            const char* window;
        } windows[] = {{"mnuOptFeature", "N2", "FrmOptFeatures"},
                       {"MnuDTMF", "N4", "FrmDTMF"},
                       {"MnuKey", "N8", "FrmKey"}};
        for (int mode : {0, 1, 2}) {
            newDocumentInMode(mode);
            for (const auto& w : windows) {
                main->CloseCurAllWindows();
                action(w.menu)->trigger();
                QWidget* opened = main->ChildForm(QLatin1String(w.window));
                QVERIFY2(opened, w.window);
                QVERIFY(opened->isVisible());
                QVERIFY2(!doc->IsDataChanged(), w.window);
                // Opening it again brings the same window forward.
                clickTreeNode(QLatin1String(w.node));
                QCOMPARE(main->ChildForm(QLatin1String(w.window)), opened);
                main->CloseCurAllWindows();
                clickTreeNode(QLatin1String(w.node));
                QVERIFY(main->ChildForm(QLatin1String(w.window)));
            }
            // A new document closes them all, so no window shows a stale record.
            QVERIFY(!doc->IsDataChanged());
        }
    }

    void radioInformationReadOpensTheWindow() {
        // An information area with a full 16-character serial number, a dealer code cut by a
        // 0 byte and a handler cut by a 255 byte.
        QByteArray info(256, char(0xFF));
        info[0] = 1;
        auto put = [&](int at, const QByteArray& text) { info.replace(at, text.size(), text); };
        put(32, "1203-B-7");
        put(40, "042X");
        put(48, "SN12345678901234");
        put(64, "2026-01-15");
        put(80, "2026-06-02");
        put(96, QByteArray("new PA transistor") + char(0));
        put(192, QByteArray("DEALER", 6) + char(0) + "junk");
        put(208, "2026-02-01");
        put(224, "2026-03-10");
        put(240, QByteArray("Li") + char(0xFF) + "junk");
        QFile f(file("info.bin"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(info);
        f.close();
        QVERIFY(startRadio({"--mode", "1", "--info", file("info.bin")}));
        const RadioDataRec before = doc->RadioData;

        clickTreeNode(QStringLiteral("N7"));
        QTRY_VERIFY(main->ChildForm(QStringLiteral("FrmRadioInfo")));
        QWidget* w = main->ChildForm(QStringLiteral("FrmRadioInfo"));
        const auto text = [&](const char* box) { return child<QLineEdit>(w, box)->text(); };
        QCOMPARE(text("Text1_1"), QStringLiteral("SN12345678901234"));
        QCOMPARE(text("Text1_2"), QStringLiteral("2026-01-15"));
        QCOMPARE(text("Text1_3"), QStringLiteral("2026-06-02"));
        QCOMPARE(text("Text1_6"), QStringLiteral("1203-B-7"));
        QCOMPARE(text("Text1_7"), QStringLiteral("042X"));
        QCOMPARE(text("Text1_8"), QStringLiteral("DEALER"));
        QCOMPARE(text("Text1_9"), QStringLiteral("2026-02-01"));
        QCOMPARE(text("Text1_10"), QStringLiteral("2026-03-10"));
        QCOMPARE(text("Text1_11"), QStringLiteral("Li"));
        QCOMPARE(child<QLineEdit>(w, "Combo3")->text(), QStringLiteral("HF"));
        QVERIFY(doc->RadioData == before);

        // The menu command closes the window and reads again.
        QTRY_VERIFY(action("MnuLocalInfo")->isEnabled());
        action("MnuLocalInfo")->trigger();
        QVERIFY(!main->ChildForm(QStringLiteral("FrmRadioInfo")));
        QTRY_VERIFY(main->ChildForm(QStringLiteral("FrmRadioInfo")));
    }

    void roundTrip_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("controls"); // what the user can reach in that mode
        QTest::newRow("options CB") << "FrmOptFeatures" << 0 << 27;
        QTest::newRow("options HF") << "FrmOptFeatures" << 1 << 31;
        QTest::newRow("DTMF") << "FrmDTMF" << 1 << 22;
        QTest::newRow("keys") << "FrmKey" << 2 << 19;
    }

    void roundTrip() {
        QFETCH(QString, window);
        QFETCH(int, mode);
        QFETCH(int, controls);
        newDocumentInMode(mode);
        // Two codes exist, so that the options' code lists have something to pick.
        StoreDtmfCode(*doc, 3, QStringLiteral("123"));
        StoreDtmfCode(*doc, 9, QStringLiteral("#9"));
        const QString saved = file("settings.dat");
        main->setFileChooser([saved](bool, const QString&) { return saved; });
        action("mnuFileSaveAs")->trigger();
        QVERIFY(!doc->IsDataChanged());

        QWidget* w = main->ShowChildForm(window);
        QVERIFY(w);
        QVERIFY(!doc->IsDataChanged());
        auto* tabs = w->findChild<QTabWidget*>(QStringLiteral("SSTab1"));

        // Every list the user can reach: the next item.
        QStringList changed;
        for (QComboBox* box : w->findChildren<QComboBox*>()) {
            if (!box->isVisibleTo(w) || !box->isEnabled() || box->count() < 2) continue;
            const RadioDataRec before = doc->RadioData;
            const int next = (box->currentIndex() + 1) % box->count();
            box->setCurrentIndex(next);
            emit box->activated(next);
            const QStringList fields = changedFields(before, doc->RadioData);
            QVERIFY2(fields == QStringList{fieldOf(window, box->objectName())},
                     qPrintable(box->objectName() + QStringLiteral(": ") + fields.join(' ')));
            changed << box->objectName();
        }
        for (QCheckBox* check : w->findChildren<QCheckBox*>()) {
            const RadioDataRec before = doc->RadioData;
            check->click();
            QCOMPARE(changedFields(before, doc->RadioData),
                     QStringList{fieldOf(window, check->objectName())});
            changed << check->objectName();
        }
        // The text boxes, typed as the user would.
        if (tabs) tabs->setCurrentIndex(1);
        int n = 0;
        for (QLineEdit* box : w->findChildren<QLineEdit*>()) {
            if (!box->isVisibleTo(w) || box->isReadOnly() ||
                qobject_cast<QComboBox*>(box->parent()))
                continue;
            const RadioDataRec before = doc->RadioData;
            const QString name = box->objectName();
            const QString typed = name == QLatin1String("Text1") ? QStringLiteral("12.5")
                                  : name == QLatin1String("Text2")
                                      ? QStringLiteral("250")
                                      : QStringLiteral("%1A*").arg(++n);
            box->setFocus();
            QVERIFY(box->hasFocus());
            box->selectAll();
            QTest::keyClick(box, Qt::Key_Backspace);
            QTest::keyClicks(box, typed);
            QTest::keyClick(box, Qt::Key_Tab);
            const QStringList fields = changedFields(before, doc->RadioData);
            QVERIFY2(!fields.isEmpty(), qPrintable(name));
            for (const QString& f : fields)
                QVERIFY2(f.startsWith(fieldOf(window, name)), qPrintable(name + ": " + f));
            changed << name;
        }
        QVERIFY2(changed.size() == controls, qPrintable(changed.join(' ')));
        QVERIFY(doc->IsDataChanged());
        const QMap<QString, int> expect = shownValues(*doc);

        // Saved and opened again.
        prompter.reset({A::Ok});
        action("mnuFileSave")->trigger();
        QVERIFY(!doc->IsDataChanged());
        main->setFileChooser([saved](bool, const QString&) { return saved; });
        doc->NewDocument();
        QVERIFY(shownValues(*doc) != expect);
        prompter.reset({A::No});
        action("mnuFileOpen")->trigger();
        QCOMPARE(doc->CurFileName, saved);
        QCOMPARE(shownValues(*doc), expect);

        // Written to the virtual radio, checked by reading it back, and read back again.
        QVERIFY(startRadio({"--mode", QString::number(mode), "--save", file("radio.bin")}));
        prompter.reset({A::Ok, A::Ok});
        action("mnuWriteToRadio")->trigger();
        QTRY_VERIFY(prompter.texts().contains(LoadLangText(9780)));
        QTRY_VERIFY(action("mnuReadFromRadio")->isEnabled());
        doc->NewDocument();
        QVERIFY(startRadio({"--mode", QString::number(mode), "--image", file("radio.bin")}));
        QSignalSpy applied(&sessions->session(), &LinkSession::readReady);
        prompter.reset({A::Ok, A::Ok});
        action("mnuReadFromRadio")->trigger();
        QTRY_COMPARE(applied.size(), 1);
        QCOMPARE(shownValues(*doc), expect);
        // The window opens on what was read, changing nothing.
        w = main->ShowChildForm(window);
        QVERIFY(w);
        QCOMPARE(shownValues(*doc), expect);
    }
};

MZ_TEST_MAIN(TestSettingsMain)
#include "tst_settingsmain.moc"
