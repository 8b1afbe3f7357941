#include "channellists.h"
#include "core/lang/langtext.h"
#include "core/model/helpers.h"
#include "core/model/tones.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QSignalBlocker>
#include <QWidget>

namespace channels {

QStringList OffOnItems() {
    return {LoadLangText(14600), LoadLangText(14601)};
}
QStringList DupItems() {
    return {LoadLangText(14600), QStringLiteral("+"), QStringLiteral("-")};
}
QStringList ScanItems() {
    return {LoadLangText(14602), LoadLangText(14603)};
}
QStringList ToneItems() {
    QStringList l = ToneShownNames();
    l.front() = LoadLangText(14600);
    return l;
}
const QStringList& ModulationItems() {
    static const QStringList l{QStringLiteral("FM"), QStringLiteral("AM")};
    return l;
}
QStringList GroupValidItems() {
    return {LoadLangText(14604), LoadLangText(14605)};
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
