#include "cbplanrule.h"
#include "helpers.h"

#include <cmath>

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
        return v && std::abs(*v - mhz) < 0.0000005; // below the stored 10 Hz step
    };
    for (const PlanRow& r : CbPlanRows()) {
        if (r.group != group || r.stored.isEmpty()) continue;
        const QString storedMhz = r.stored.left(3) + QLatin1Char('.') + r.stored.mid(3);
        if (same(storedMhz) || same(r.shown)) return &r;
    }
    return nullptr;
}
