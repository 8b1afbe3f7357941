#include "channellists.h"
#include "core/lang/langtext.h"
#include "core/model/helpers.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QSignalBlocker>
#include <QWidget>

namespace channels {

const QStringList& OffOnItems() {
    static const QStringList l{QStringLiteral("Off"), QStringLiteral("On")};
    return l;
}
const QStringList& DupItems() {
    static const QStringList l{QStringLiteral("Off"), QStringLiteral("+"), QStringLiteral("-")};
    return l;
}
const QStringList& ScanItems() {
    static const QStringList l{QStringLiteral("Del"), QStringLiteral("Add")};
    return l;
}
const QStringList& ModulationItems() {
    static const QStringList l{QStringLiteral("FM"), QStringLiteral("AM")};
    return l;
}
const QStringList& GroupValidItems() {
    static const QStringList l{QStringLiteral("Disable"), QStringLiteral("Enable")};
    return l;
}
const QStringList& CountryItems() {
    static const QStringList l{QStringLiteral("EU"), QStringLiteral("CE"), QStringLiteral("U"),
                               QStringLiteral("PL"), QStringLiteral("I2"), QStringLiteral("DE"),
                               QStringLiteral("IN"), QStringLiteral("MEM")};
    return l;
}
const QStringList& CountryPairItems() {
    static const QStringList l{QStringLiteral("U"), QStringLiteral("UK")};
    return l;
}

QString ItemAt(const QStringList& items, int index) {
    if (items.isEmpty()) return QString();
    return index >= 0 && index < items.size() ? items.at(index) : items.first();
}

void SelectItemByText(QComboBox* box, const QString& text) {
    const QSignalBlocker block(box);
    const int i = box->findText(text, Qt::MatchExactly);
    box->setCurrentIndex(i >= 0 ? i : (box->count() > 0 ? 0 : -1));
}

void SelectItemAt(QComboBox* box, int index) {
    const QSignalBlocker block(box);
    box->setCurrentIndex(index >= 0 && index < box->count() ? index : (box->count() ? 0 : -1));
}

void FillList(QComboBox* box, const QStringList& items) {
    const QSignalBlocker block(box);
    box->clear();
    box->addItems(items);
    box->setCurrentIndex(-1);
}

int ListNumber(const QComboBox* box, int def) {
    if (box->currentIndex() < 0) return def;
    const auto v = ParseNumber(box->currentText());
    return v ? static_cast<int>(RoundEven(*v)) : def;
}

} // namespace channels
