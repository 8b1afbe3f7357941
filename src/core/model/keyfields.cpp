// The rows of the key window: the key-mode combination and the eighteen key functions.

#include "document.h"
#include "settingsforms.h"

#include "../lang/langtext.h"

QStringList KeyFunctionNames() {
    return {QStringLiteral("MOD"), QStringLiteral("RFG"), QStringLiteral("EMG"),
            QStringLiteral("VOL"), QStringLiteral("SQL"), QStringLiteral("POW"),
            QStringLiteral("DSP"), QStringLiteral("SCA"), QStringLiteral("MEM"),
            QStringLiteral("BND"), QStringLiteral("DW"),  QStringLiteral("CAL"),
            QStringLiteral("NB"),  QStringLiteral("RB"),  QStringLiteral("HIC"),
            QStringLiteral("TSQ"), QStringLiteral("SPL"), QStringLiteral("5K"),
            QStringLiteral("DIM"), QStringLiteral("NULL")};
}

QString KeyFunctionMeaning(int code) {
    return code >= 1 && code <= 20 ? LoadLangText(25101 + (code - 1)) : QString();
}

const std::vector<SettingsField>& KeyFields() {
    static const std::vector<SettingsField> rows = [] {
        std::vector<SettingsField> r;
        SettingsField set;
        set.name = QStringLiteral("Combo2");
        set.labelName = QStringLiteral("Label1");
        set.label = 25007;
        set.get = [](const Document& d) { return int(d.RadioData.Key.KeySet); };
        set.set = [](Document& d, int v) {
            d.EditKeys([&](KeyRec& k) { k.KeySet = static_cast<i16>(v); });
        };
        set.withItems({QStringLiteral("1&2"), QStringLiteral("1&3"), QStringLiteral("2&3"),
                       QStringLiteral("1&2&3")});
        r.push_back(set);
        // Combo1(i) edits word i + 1: key P(i mod 6 + 1) in key mode i / 6 + 1. The labels
        // "P1" .. "P6" are fixed texts (label 0). The function names are fixed too; what each
        // does is said beside it in the language of the program.
        for (int i = 0; i < 18; ++i) {
            SettingsField f;
            f.name = QStringLiteral("Combo1_%1").arg(i);
            f.labelName = QStringLiteral("Label2_%1").arg(i);
            f.get = [i](const Document& d) { return int(d.RadioData.Key.KeyFun[i]); };
            f.set = [i](Document& d, int v) {
                d.EditKeys([&](KeyRec& k) { k.KeyFun[i] = static_cast<i16>(v); });
            };
            f.withItems(KeyFunctionNames()).indexFrom(1).withNotes([](int index) {
                return KeyFunctionMeaning(index + 1);
            });
            r.push_back(f);
        }
        return r;
    }();
    return rows;
}
