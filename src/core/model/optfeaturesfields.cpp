// The rows of the optional features window: the radio-wide options and the public channel.

#include "country.h"
#include "document.h"
#include "settingsforms.h"
#include "tones.h"

#include "../lang/langtext.h"

using namespace settingsitems;

namespace {
// An option of FuncRec: list Combo1(d), label Label1(d) with text 16001 + d.
SettingsField option(int d, i16 FuncRec::*field) {
    SettingsField f;
    f.name = QStringLiteral("Combo1_%1").arg(d);
    f.labelName = QStringLiteral("Label1_%1").arg(d);
    f.label = 16001 + d;
    f.get = [field](const Document& doc) { return int(doc.RadioData.Func.*field); };
    f.set = [field](Document& doc, int v) {
        doc.EditFunc([&](FuncRec& r) { r.*field = static_cast<i16>(v); });
    };
    f.withItems([](const Document&) { return offOn(); });
    return f;
}

// A field of the public channel by its channel field index: list Combo2(j), label Label3(j)
// with text 15005 + j. Stored through SetCHField, so the channel rules hold (AM allows two
// power levels, codes and tone tips are clamped).
SettingsField publicField(int j, int fieldIndex) {
    SettingsField f;
    f.name = QStringLiteral("Combo2_%1").arg(j);
    f.labelName = QStringLiteral("Label3_%1").arg(j);
    f.label = 15005 + j;
    f.get = [fieldIndex](const Document& doc) { return doc.RadioData.PublicCH.field(fieldIndex); };
    f.set = [fieldIndex](Document& doc, int v) {
        doc.EditPublic([&](CHInfoRec& p) { doc.SetCHField(p, fieldIndex, v); });
    };
    f.withItems([](const Document&) { return offOn(); });
    return f;
}

QStringList dtmfCodes(const Document& doc) {
    return DtmfCodeItems(doc);
}
} // namespace

const std::vector<SettingsField>& OptionFields() {
    static const std::vector<SettingsField> rows = [] {
        std::vector<SettingsField> r;
        r.push_back(option(0, &FuncRec::UseMem));
        r.push_back(option(1, &FuncRec::WorkGroup).withItems([](const Document& d) {
            // Mode 0 shows the country-plan lists instead (the window's own).
            return GroupNames(d.CountryMode, QStringLiteral("MEM"));
        }));
        r.push_back(option(2, &FuncRec::Beep));
        r.push_back(option(3, &FuncRec::TOT).withItems([](const Document&) {
            return numbersWithUnit(0, 30, 1, 16061);
        }));
        r.push_back(option(4, &FuncRec::Backlight).withItems(numbers(1, 3)).asNumber(1));
        r.push_back(option(5, &FuncRec::Volume).withItems(numbers(1, 56)).asNumber(1));
        r.push_back(option(6, &FuncRec::SqlLevel).withItems([](const Document&) {
            return texts({16040}) + numbers(1, 28);
        }));
        r.push_back(option(7, &FuncRec::AsqFun).hiddenIn({0, 1, 2}));
        r.push_back(option(8, &FuncRec::AsqValue).withItems(numbers(1, 9)).asNumber(1));
        r.push_back(option(9, &FuncRec::Gain)
                        .withItems([](const Document&) {
                            return texts({16040}) + numbers(3, 30, 3) + texts({16049});
                        })
                        .hiddenIn({0}));
        r.push_back(option(10, &FuncRec::CHDisplay).withItems([](const Document&) {
            return texts({17001, 17002});
        }));
        r.push_back(option(11, &FuncRec::ScanType).withItems([](const Document&) {
            return texts({16059, 16058});
        }));
        r.push_back(option(12, &FuncRec::ScanTime).withItems([](const Document&) {
            return numbersWithUnit(1, 6, 5, 16060);
        }));
        r.push_back(option(13, &FuncRec::SqlBack).withItems(numbers(1, 7)).asNumber(1));
        r.push_back(option(14, &FuncRec::AsqBack).withItems(numbers(1, 7)).asNumber(1));
        r.push_back(option(15, &FuncRec::AutoPowerOn));
        r.push_back(option(16, &FuncRec::MemEdit));
        return r;
    }();
    return rows;
}

const std::vector<SettingsField>& PublicChannelFields() {
    static const std::vector<SettingsField> rows = [] {
        std::vector<SettingsField> r;
        // The CB mode has no offset direction and no power setting: the channel windows do not
        // offer them there, and neither does the public channel.
        r.push_back(
            publicField(1, FldDUP)
                .withItems([](const Document&) {
                    return texts({16040}) + QStringList{QStringLiteral("+"), QStringLiteral("-")};
                })
                .hiddenIn({0}));
        r.push_back(publicField(2, FldRDCT).withItems([](const Document&) {
            QStringList l = ToneShownNames();
            l.front() = LoadLangText(16040);
            return l;
        }));
        r.push_back(publicField(4, FldHI_CUT));
        r.push_back(publicField(5, FldBUSY));
        r.push_back(publicField(6, FldNB));
        r.push_back(publicField(7, FldAdd_Sub_5K));
        r.push_back(
            publicField(8, FldAM_FM).withItems({QStringLiteral("FM"), QStringLiteral("AM")}));
        r.push_back(publicField(9, FldTx_Power)
                        .withItems([](const Document& d) {
                            return PowerListItems(d.RadioData.PublicCH.AM_FM);
                        })
                        .hiddenIn({0}));
        r.push_back(publicField(10, FldRBTone).withItems(RogerBeepItems).asNumber(0));
        for (int j = 11; j <= 13; ++j)
            r.push_back(publicField(j, FldDTMF_BOT + (j - 11)).withItems(dtmfCodes).asNumber(0));
        return r;
    }();
    return rows;
}

QStringList PowerListItems(int amFm) {
    QStringList l = texts({15044, 15045});
    if (amFm == 0) l << LoadLangText(15046);
    return l;
}

QStringList RogerBeepItems(const Document& doc) {
    QStringList l = texts({15030});
    for (int n = 1; n <= 8; ++n)
        if (doc.ValidRBTone(n) > 0) l << QString::number(n);
    return l;
}

QStringList DtmfCodeItems(const Document& doc) {
    QStringList l = texts({14013});
    for (int n = 1; n <= 16; ++n)
        if (doc.RadioData.DTMF.Codes[n - 1].Len > 0) l << QString::number(n);
    return l;
}

// The names are those of the channel window's group lists: the same plan has one name.
QStringList CountryPlanItems() {
    return {QStringLiteral("EU"), QStringLiteral("CE"), QStringLiteral("U"), QStringLiteral("PL"),
            QStringLiteral("I2"), QStringLiteral("DE"), QStringLiteral("IN")};
}

QStringList CountryPlanPairItems() {
    return {QStringLiteral("U"), QStringLiteral("UK")};
}

QString CountryPlanPairNote(int pair) {
    if (pair == 0) return LoadLangText(27617);
    if (pair == 1) return LoadLangText(27618);
    return QString();
}

void PlanOfWorkGroup(int workGroup, int* plan, int* pair) {
    // Groups "U" (2) and "UK" (3) both show as "U"; the variant tells them apart.
    if (workGroup == 2 || workGroup == 3) {
        *plan = PlanUK;
        *pair = workGroup == 3 ? 1 : 0;
        return;
    }
    const int i = CountryPlanItems().indexOf(GroupName(workGroup, 0));
    *plan = i >= 0 ? i : 0;
    *pair = -1;
}

int WorkGroupOfPlan(int plan, int pair) {
    if (plan == PlanUK) return pair == 1 ? 3 : 2;
    const QStringList groups = GroupNames(0, QStringLiteral("MEM"));
    const int g = groups.indexOf(CountryPlanItems().value(plan));
    return g >= 0 ? g : 0;
}
