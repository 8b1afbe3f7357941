#pragma once

// The cells of the channel table for the group it shows: one row per channel slot of the
// group, 8 columns (row number, frequency, Public, DUP, OffSetFre, TSQ, Scan, ">>"). Columns
// 1 to 6 are the field ids of the channel value setter. The cell texts are kept like the
// cells of a grid: they are built when a row is shown (ShowGridRow) and read from then on, so
// painting never touches the channel list. Edits go to Document::SetCHValue; the table window
// redraws rows from the Document's signals.

#include <QAbstractTableModel>
#include <QColor>
#include <QStringList>
#include <QVector>
#include <array>

#include "core/model/textnote.h"

class Document;

class ChannelTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int Columns = 8;
    static constexpr int FreCol = 1;
    static constexpr int EditCol = 7;

    explicit ChannelTableModel(Document& doc, QObject* parent = nullptr);

    // Shows group g: all rows rebuilt (the row count may change).
    void setGroup(int group);
    int group() const { return group_; }
    // Header texts, looked up in the language file.
    void loadHeaderTexts();
    // Rebuilds every row of the shown group from the channel list.
    void refreshRows();
    // Redraws the one row that shows channel chNo, when it lies in the shown group.
    void reShowGrid(int chNo);

    // Text of a data cell; row is 1-based as in the grid (row 0 is the header).
    QString cellText(int row, int col) const;
    int dataRows() const { return static_cast<int>(cells_.size()); }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation o, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Stores value through the rule source (storeTypedValue): a refused value changes nothing.
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    static const QColor RowNumberColor; // blue
    static const QColor HeaderColor;    // dark blue
    static const QColor EditCellColor;  // red ">>"
    static const QColor EditCellBack;   // grey
    // A frequency kept as it was read that the rules would not take here (heldFrequencyNote).
    static const QColor HeldFrequencyColor; // dark orange

private:
    TextNote heldNote(int row) const;
    using Row = std::array<QString, 6>; // columns 1..6
    void ShowGridRow(Row& row, int listIndex, bool clear) const;

    Document& doc_;
    int group_ = 0;
    QVector<Row> cells_;
    QStringList headers_;
};
