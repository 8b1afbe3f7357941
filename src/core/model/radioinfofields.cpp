#include "radioinfofields.h"
#include "country.h"

#include "../lang/langtext.h"

const std::vector<RadioInfoField>& RadioInfoFields() {
    // Labels: Label1(d) shows text 21001 + d.
    static const std::vector<RadioInfoField> rows = {
        {QStringLiteral("Text1_0"), QStringLiteral("Label1_5"), 21006, 4, false,
         [](const RadioInfoRec& r) { return r.InfoCode; }},
        {QStringLiteral("Text1_1"), QStringLiteral("Label1_2"), 21003, 16, false,
         [](const RadioInfoRec& r) { return r.SerialNo.text(); }},
        {QStringLiteral("Text1_2"), QStringLiteral("Label1_3"), 21004, 16, false,
         [](const RadioInfoRec& r) { return r.FactoryDate.text(); }},
        {QStringLiteral("Text1_3"), QStringLiteral("Label1_4"), 21005, 16, false,
         [](const RadioInfoRec& r) { return r.RepairDate.text(); }},
        {QStringLiteral("Text1_5"), QStringLiteral("Label1_6"), 21007, 16, false,
         [](const RadioInfoRec& r) { return r.SoftVersion; }},
        {QStringLiteral("Text1_4"), QStringLiteral("Label1_7"), 21008, 96, true,
         [](const RadioInfoRec& r) { return r.RepairNote.text(); }},
        {QStringLiteral("Text1_6"), QStringLiteral("Label1_8"), 21009, 16, false,
         [](const RadioInfoRec& r) { return r.BatchNo.text(); }},
        {QStringLiteral("Text1_7"), QStringLiteral("Label1_9"), 21010, 16, false,
         [](const RadioInfoRec& r) { return r.CustomerCode.text(); }},
        {QStringLiteral("Text1_8"), QStringLiteral("Label1_10"), 21011, 16, false,
         [](const RadioInfoRec& r) { return r.DealerCode.text(); }},
        {QStringLiteral("Text1_9"), QStringLiteral("Label1_11"), 21012, 16, false,
         [](const RadioInfoRec& r) { return r.StockInDate.text(); }},
        {QStringLiteral("Text1_10"), QStringLiteral("Label1_12"), 21013, 16, false,
         [](const RadioInfoRec& r) { return r.SaleDate.text(); }},
        {QStringLiteral("Text1_11"), QStringLiteral("Label1_13"), 21014, 16, false,
         [](const RadioInfoRec& r) { return r.Handler.text(); }},
    };
    return rows;
}

QStringList RadioInfoModeItems() {
    return {ModeName(0), ModeName(1), ModeName(2)};
}

QStringList RadioInfoBandItems() {
    return {BandTextOf(0), BandTextOf(1), BandTextOf(2)};
}

QString RadioInfoAsText(const RadioInfoRec& info) {
    const auto line = [](int label, const QString& value) {
        return LoadLangText(label) + QStringLiteral(": ") + value + QLatin1Char('\n');
    };
    QString t = line(21001, ModelShownName(info.InfoModel)) + line(21015, ModeName(info.InfoMode)) +
                line(21002, BandTextOf(info.InfoMode));
    for (const RadioInfoField& f : RadioInfoFields())
        t += line(f.label, f.text(info));
    return t;
}
