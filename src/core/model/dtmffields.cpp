// The settings rows of the DTMF window: timing lists and the D-key list.

#include "document.h"
#include "settingsforms.h"

#include "../lang/langtext.h"

namespace {
// DtmfSet(k): list Combo1(k - 1), label Label1(k - 1) with text 18004 + k.
SettingsField dtmfSet(int k) {
    SettingsField f;
    f.name = QStringLiteral("Combo1_%1").arg(k - 1);
    f.labelName = QStringLiteral("Label1_%1").arg(k - 1);
    f.label = 18004 + k;
    f.get = [k](const Document& doc) { return int(doc.RadioData.DTMF.DtmfSet[k - 1]); };
    f.set = [k](Document& doc, int v) {
        doc.EditDtmf([&](DTMFRec& r) { r.DtmfSet[k - 1] = static_cast<i16>(v); });
    };
    return f;
}
} // namespace

const std::vector<SettingsField>& DtmfSettingFields() {
    using namespace settingsitems;
    static const std::vector<SettingsField> rows = [] {
        std::vector<SettingsField> r;
        r.push_back(dtmfSet(1).withItems(numbers(10, 500, 10)).scaledBy(10));
        r.push_back(dtmfSet(2).withItems(numbers(0, 1000, 100)).scaledBy(100));
        r.push_back(dtmfSet(3).withItems(numbers(100, 2500, 100)).scaledBy(100));
        r.push_back(dtmfSet(4)
                        .withItems({QStringLiteral("0"), QStringLiteral("100"),
                                    QStringLiteral("500"), QStringLiteral("1000")})
                        .scaledBy(100));
        r.push_back(dtmfSet(5).withItems([](const Document&) {
            QStringList l{LoadLangText(18040)};
            for (int n = 1; n <= 16; ++n)
                l << QString::number(n) + QLatin1Char('s');
            return l;
        }));
        return r;
    }();
    return rows;
}
