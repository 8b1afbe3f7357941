#include "channeltablemodel.h"
#include "channellists.h"
#include "core/lang/langtext.h"
#include "core/model/channelrules.h"
#include "core/model/country.h"
#include "core/model/document.h"
#include "typedvalue.h"

#include <QGuiApplication>
#include <QPalette>

const QColor ChannelTableModel::RowNumberColor(0, 0, 255);
const QColor ChannelTableModel::HeaderColor(0, 0, 155);
const QColor ChannelTableModel::EditCellColor(255, 0, 0);
const QColor ChannelTableModel::EditCellBack(220, 220, 220);
const QColor ChannelTableModel::HeldFrequencyColor(200, 80, 0);

ChannelTableModel::ChannelTableModel(Document& doc, QObject* parent)
    : QAbstractTableModel(parent), doc_(doc) {
    loadHeaderTexts();
}

void ChannelTableModel::loadHeaderTexts() {
    static const int ids[Columns] = {14001, 14002, 14003, 14004, 14005, 14006, 14008, 14011};
    headers_.clear();
    for (int id : ids)
        headers_ << LoadLangText(id);
    emit headerDataChanged(Qt::Horizontal, 0, Columns - 1);
}

void ChannelTableModel::setGroup(int group) {
    beginResetModel();
    group_ = group;
    cells_.resize(qMax(0, GroupSize(group, doc_.CountryMode)));
    for (Row& r : cells_)
        ShowGridRow(r, -1, true);
    const int base = FirstCHOfGroup(group_, doc_.CountryMode);
    for (int i = 0; i < doc_.chCount(); ++i) {
        const int r = doc_.CHInfo[i].CHNo - base;
        if (r > 0 && r <= cells_.size()) ShowGridRow(cells_[r - 1], i, false);
    }
    endResetModel();
}

void ChannelTableModel::refreshRows() {
    setGroup(group_);
}

void ChannelTableModel::reShowGrid(int chNo) {
    const int r = chNo - FirstCHOfGroup(group_, doc_.CountryMode);
    if (r < 1 || r > cells_.size()) return;
    const int i = doc_.FindChannel(chNo);
    ShowGridRow(cells_[r - 1], i, i < 0);
    emit dataChanged(index(r - 1, 1), index(r - 1, 6), {Qt::DisplayRole});
}

void ChannelTableModel::ShowGridRow(Row& row, int listIndex, bool clear) const {
    if (clear) {
        row.fill(QString());
        return;
    }
    const CHInfoRec& c = doc_.CHInfo[listIndex];
    row[0] = doc_.FreToListText(c.RxFre.text(), group_);
    row[1] = channels::ItemAt(channels::OffOnItems(), c.Public);
    row[2] = channels::ItemAt(channels::DupItems(), c.DUP);
    row[3] = QString::number(c.OffSetFre);
    row[4] = channels::ItemAt(channels::OffOnItems(), c.TSQ);
    row[5] = channels::ItemAt(channels::ScanItems(), c.Scan);
}

QString ChannelTableModel::cellText(int row, int col) const {
    if (row < 1 || row > cells_.size() || col < 0 || col >= Columns) return QString();
    if (col == 0) return QString::number(row);
    if (col == EditCol) return QStringLiteral(">>");
    return cells_[row - 1][col - 1];
}

int ChannelTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(cells_.size());
}

int ChannelTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : Columns;
}

QVariant ChannelTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const int col = index.column();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return cellText(index.row() + 1, col);
    case Qt::TextAlignmentRole:
        return int(Qt::AlignCenter);
    case Qt::ForegroundRole:
        if (col == 0) return RowNumberColor;
        if (col == EditCol) return EditCellColor;
        if (col == FreCol && heldNote(index.row() + 1).id) return HeldFrequencyColor;
        return {};
    case Qt::ToolTipRole:
        // A frequency kept as the radio or an older file had it, which the rules would not
        // take here: it is written as it is, and the cell says why it stands out.
        if (col == FreCol) {
            const TextNote why = heldNote(index.row() + 1);
            if (why.id) return why.text();
        }
        return {};
    case Qt::BackgroundRole:
        if (col == EditCol) return EditCellBack;
        if (col == FreCol) { // a frequency that is not typed (the CB plans) looks read-only
            const ChannelSlotRef slot = slotAt(doc_, group_, index.row() + 1);
            return QGuiApplication::palette().color(
                fieldAccess(doc_, slot, FldRxFre).editable() ? QPalette::Base : QPalette::Window);
        }
        return {};
    default:
        return {};
    }
}

TextNote ChannelTableModel::heldNote(int row) const {
    return heldFrequencyNote(doc_, slotAt(doc_, group_, row));
}

QVariant ChannelTableModel::headerData(int section, Qt::Orientation o, int role) const {
    if (o != Qt::Horizontal || section < 0 || section >= Columns)
        return QAbstractTableModel::headerData(section, o, role);
    switch (role) {
    case Qt::DisplayRole:
        return headers_.value(section);
    case Qt::ForegroundRole:
        return HeaderColor;
    case Qt::TextAlignmentRole:
        return int(Qt::AlignCenter);
    default:
        return {};
    }
}

Qt::ItemFlags ChannelTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    // Whether a cell may be edited is decided by the window (EnterGridEdit), not here.
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable |
           (index.column() >= 1 && index.column() <= 6 ? Qt::ItemIsEditable : Qt::NoItemFlags);
}

bool ChannelTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole || index.column() < 1 || index.column() > 6)
        return false;
    return storeTypedValue(doc_, group_, index.row() + 1, index.column(), value.toString());
}
