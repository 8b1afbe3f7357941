// The rows of the settings windows as data: every item of every list stores a value that
// shows the same item again, showing stores nothing, the values some items stand for, hidden
// rows, the country-plan pair, the DTMF character filter and the copied radio information.

#include "core/app/appstate.h"
#include "core/lang/langtext.h"
#include "core/model/document.h"
#include "core/model/dtmfcodes.h"
#include "core/model/radioinfofields.h"
#include "core/model/settingsforms.h"
#include "support/documentbuilders.h"
#include "support/testmain.h"

#include <QTest>

namespace {
Document* newDoc(int mode) {
    auto* d = new Document;
    d->InitDir.clear();
    d->SetCountryMode(mode);
    d->NewDocument();
    return d;
}

std::vector<const std::vector<SettingsField>*> allTables() {
    return {&OptionFields(), &PublicChannelFields(), &DtmfSettingFields(), &KeyFields()};
}
} // namespace

class TestSettingsFields : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { UseStagedLanguage(); }

    void everyPickShowsItselfAgain() {
        for (int mode : {0, 1, 2}) {
            std::unique_ptr<Document> doc(newDoc(mode));
            // Codes 2 and 5 defined, so that the code lists hold more than "Off".
            StoreDtmfCode(*doc, 2, QStringLiteral("12#"));
            StoreDtmfCode(*doc, 5, QStringLiteral("*0"));
            for (const auto* table : allTables())
                for (const SettingsField& f : *table) {
                    const QStringList items = f.items(*doc);
                    QVERIFY2(!items.isEmpty(), qPrintable(f.name));
                    // Showing alone stores nothing.
                    const RadioDataRec before = doc->RadioData;
                    f.shownIndex(*doc, items);
                    QVERIFY(doc->RadioData == before);
                    for (int i = items.size() - 1; i >= 0; --i) {
                        f.pick(*doc, f.items(*doc), i);
                        QVERIFY2(f.shownIndex(*doc, f.items(*doc)) == i,
                                 qPrintable(QStringLiteral("%1 item %2 in mode %3")
                                                .arg(f.name)
                                                .arg(i)
                                                .arg(mode)));
                    }
                }
        }
    }

    void storedValuesOfTheLists() {
        std::unique_ptr<Document> doc(newDoc(1));
        struct Case {
            const std::vector<SettingsField>& table;
            const char* name;
            QString item;
            int expect;
            std::function<int(const Document&)> value;
        };
        const QList<Case> cases = {
            {OptionFields(), "Combo1_3", QStringLiteral("7min"), 7,
             [](const Document& d) { return d.RadioData.Func.TOT; }},
            {OptionFields(), "Combo1_5", QStringLiteral("56"), 56,
             [](const Document& d) { return d.RadioData.Func.Volume; }},
            {OptionFields(), "Combo1_6", QStringLiteral("Off"), 0,
             [](const Document& d) { return d.RadioData.Func.SqlLevel; }},
            {OptionFields(), "Combo1_9", QStringLiteral("Max"), 11,
             [](const Document& d) { return d.RadioData.Func.Gain; }},
            {OptionFields(), "Combo1_12", QStringLiteral("30s"), 5,
             [](const Document& d) { return d.RadioData.Func.ScanTime; }},
            {PublicChannelFields(), "Combo2_2", QStringLiteral("D754N"), 142,
             [](const Document& d) { return d.RadioData.PublicCH.RDCT; }},
            {PublicChannelFields(), "Combo2_10", QStringLiteral("3"), 3,
             [](const Document& d) { return d.RadioData.PublicCH.RBTone; }},
            {DtmfSettingFields(), "Combo1_0", QStringLiteral("70"), 7,
             [](const Document& d) { return d.RadioData.DTMF.DtmfSet[0]; }},
            {DtmfSettingFields(), "Combo1_2", QStringLiteral("2500"), 25,
             [](const Document& d) { return d.RadioData.DTMF.DtmfSet[2]; }},
            {DtmfSettingFields(), "Combo1_3", QStringLiteral("500"), 5,
             [](const Document& d) { return d.RadioData.DTMF.DtmfSet[3]; }},
            {DtmfSettingFields(), "Combo1_4", QStringLiteral("16s"), 16,
             [](const Document& d) { return d.RadioData.DTMF.DtmfSet[4]; }},
            {KeyFields(), "Combo2", QStringLiteral("2&3"), 2,
             [](const Document& d) { return d.RadioData.Key.KeySet; }},
            {KeyFields(), "Combo1_17", QStringLiteral("NULL"), 20,
             [](const Document& d) { return d.RadioData.Key.KeyFun[17]; }},
        };
        for (const Case& c : cases) {
            const auto it = std::find_if(c.table.begin(), c.table.end(),
                                         [&](const SettingsField& f) { return f.name == c.name; });
            QVERIFY(it != c.table.end());
            const QStringList items = it->items(*doc);
            it->pick(*doc, items, items.indexOf(c.item));
            QCOMPARE(c.value(*doc), c.expect);
        }
    }

    void hiddenRowsPerMode() {
        const auto hidden = [](const std::vector<SettingsField>& t, int mode) {
            QStringList l;
            for (const SettingsField& f : t)
                if (f.hiddenInMode(mode)) l << f.name;
            return l;
        };
        QCOMPARE(hidden(OptionFields(), 0), (QStringList{"Combo1_7", "Combo1_9"}));
        QCOMPARE(hidden(OptionFields(), 1), QStringList{"Combo1_7"});
        QCOMPARE(hidden(OptionFields(), 2), QStringList{"Combo1_7"});
        // The CB mode has no offset direction and no power setting.
        QCOMPARE(hidden(PublicChannelFields(), 0), (QStringList{"Combo2_1", "Combo2_9"}));
        for (int mode : {1, 2})
            QVERIFY(hidden(PublicChannelFields(), mode).isEmpty());
    }

    void countryPlanPairRoundTrips() {
        // Every working group of mode 0 shows in the plan lists and picking what they show
        // stores it again; "U" shows as "U" with "U", "UK" as "U" with "UK", the names of the
        // channel window.
        for (int g = 0; g < 8; ++g) {
            int plan = -1, pair = -2;
            PlanOfWorkGroup(g, &plan, &pair);
            QCOMPARE(WorkGroupOfPlan(plan, pair), g);
        }
        int plan, pair;
        PlanOfWorkGroup(2, &plan, &pair);
        QCOMPARE(CountryPlanItems()[plan], QStringLiteral("U"));
        QCOMPARE(CountryPlanPairItems()[pair], QStringLiteral("U"));
        PlanOfWorkGroup(3, &plan, &pair);
        QCOMPARE(CountryPlanPairItems()[pair], QStringLiteral("UK"));
        PlanOfWorkGroup(6, &plan, &pair);
        QCOMPARE(CountryPlanItems()[plan], QStringLiteral("DE"));
        QCOMPARE(pair, -1);
    }

    void dtmfCharacterFilter() {
        const QList<std::pair<QString, QString>> cases = {
            {"x", ""},
            {"b", "B"},
            {"0123abcdABCD*#", "0123ABCDABCD*#"},
            {"1e2E3f* #", "123*#"},
            {QString::fromUtf8("1\xc3\xa9"
                               "2\xe4\xb8\xad"),
             "12"},
            {"12345678901234567890", "1234567890123456"},
        };
        for (const auto& [in, out] : cases)
            QCOMPARE(FilterDtmfText(in), out);
    }

    void radioInformationAsText() {
        std::unique_ptr<Document> doc(newDoc(2));
        doc->RadioInfo.SerialNo = QStringLiteral("SN-1234567890123");
        doc->RadioInfo.DealerCode = QStringLiteral("DLR9");
        const QString t = RadioInfoAsText(doc->RadioInfo);
        QVERIFY(t.contains(LoadLangText(21003) + QStringLiteral(": SN-1234567890123\n")));
        QVERIFY(t.contains(LoadLangText(21011) + QStringLiteral(": DLR9\n")));
        QVERIFY(t.contains(LoadLangText(21015) + QStringLiteral(": HAM\n")));
        QVERIFY(t.contains(QStringLiteral("28.000 - 29.700 MHz")));
    }
};

MZ_TEST_MAIN(TestSettingsFields)
#include "tst_settingsfields.moc"
