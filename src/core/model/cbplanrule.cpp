#include "cbplanrule.h"
#include "frequency.h"
#include "helpers.h"

const QVector<PlanRow>& CbPlanRows() {
    static const QVector<PlanRow> rows = [] {
        QString error;
        return ParsePlanTable(CbPlanTableText(), 0, &error).value_or(QVector<PlanRow>());
    }();
    return rows;
}

const PlanRow* CbPlanRowStored(int group, const QString& stored) {
    if (stored.isEmpty()) return nullptr;
    for (const PlanRow& r : CbPlanRows())
        if (r.group == group && r.stored == stored) return &r;
    return nullptr;
}

const PlanRow* CbPlanRowMhz(int group, double mhz) {
    auto same = [mhz](const QString& text) {
        const auto v = ParseNumber(text);
        return v && sameMhz(*v, mhz);
    };
    for (const PlanRow& r : CbPlanRows()) {
        if (r.group != group || r.stored.isEmpty()) continue;
        const QString storedText = r.stored.left(3) + QLatin1Char('.') + r.stored.mid(3);
        if (same(storedText) || same(r.shown)) return &r;
    }
    return nullptr;
}
