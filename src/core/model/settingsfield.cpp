#include "settingsfield.h"
#include "../lang/langtext.h"
#include "helpers.h"

SettingsField& SettingsField::withItems(std::function<QStringList(const Document&)> f) {
    items = std::move(f);
    return *this;
}

SettingsField& SettingsField::withItems(const QStringList& fixed) {
    items = [fixed](const Document&) { return fixed; };
    return *this;
}

SettingsField& SettingsField::asNumber(int defaultValue) {
    store = Store::Number;
    def = defaultValue;
    return *this;
}

SettingsField& SettingsField::scaledBy(int factor) {
    store = Store::Scaled;
    scale = factor;
    return *this;
}

SettingsField& SettingsField::indexFrom(int firstValue) {
    base = firstValue;
    return *this;
}

SettingsField& SettingsField::hiddenIn(std::initializer_list<int> modes) {
    for (int m : modes)
        hiddenInModes |= 1u << m;
    return *this;
}

SettingsField& SettingsField::withNotes(std::function<QString(int index)> f) {
    note = std::move(f);
    return *this;
}

int SettingsField::shownIndex(const Document& doc, const QStringList& list) const {
    if (list.isEmpty()) return -1;
    const int value = get(doc);
    int i = -1;
    switch (store) {
    case Store::Index:
        i = value - base;
        break;
    case Store::Number:
        i = list.indexOf(QString::number(value));
        break;
    case Store::Scaled:
        i = list.indexOf(QString::number(value * scale));
        break;
    }
    return i >= 0 && i < list.size() ? i : 0;
}

int SettingsField::valueOfPick(const QStringList& list, int index) const {
    if (store == Store::Index) return index + base;
    const auto v = index >= 0 && index < list.size() ? ParseNumber(list.at(index)) : std::nullopt;
    if (store == Store::Number) return v ? static_cast<int>(RoundEven(*v)) : def;
    return v ? static_cast<int>(RoundEven(*v / scale)) : def;
}

void SettingsField::pick(Document& doc, const QStringList& list, int index) const {
    if (index < 0 || index >= list.size()) return;
    set(doc, valueOfPick(list, index));
}

namespace settingsitems {

QStringList offOn() {
    return texts({16040, 16110});
}

QStringList numbers(int from, int to, int step) {
    QStringList l;
    for (int n = from; n <= to; n += step)
        l << QString::number(n);
    return l;
}

QStringList texts(std::initializer_list<int> textIds) {
    QStringList l;
    for (int id : textIds)
        l << LoadLangText(id);
    return l;
}

QStringList numbersWithUnit(int from, int to, int factor, int unitText) {
    const QString unit = LoadLangText(unitText);
    QStringList l;
    for (int n = from; n <= to; ++n)
        l << QString::number(n * factor) + unit;
    return l;
}

} // namespace settingsitems
