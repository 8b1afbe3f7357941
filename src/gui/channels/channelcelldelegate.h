#pragma once

// The in-cell editors of the channel table: Text1 (frequency, column 1), Text2 (OffSetFre,
// column 4) and the lists Combo1 (Public, column 2), Combo2 (DUP, 3), Combo3 (TSQ, 5) and
// Combo4 (Scan, 6). The editors carry those names as objectName.
//
// - An editor opens showing the cell's text (a list selects the item equal to it).
// - A list stores the value the user picks at once and stays open (the selection made when it
//   opens is not stored: only QComboBox::activated, which code never raises, stores).
// - Enter stores the value and closes the editor; Tab does the same; Escape closes it without
//   storing; the focus moving elsewhere stores and closes (Qt's own handling).
// - Storing goes through the model (SetCHValue): Text1 passes its text formatted "#0.00000",
//   Text2 its text, the lists their index.
//
// At most one editor is open; commitOpenEditor()/closeOpenEditor() let the window store or
// drop it (SaveGridEdit, SetEditDisable).

#include <QPointer>
#include <QStyledItemDelegate>

class ChannelCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit ChannelCellDelegate(QObject* parent = nullptr);

    QWidget* openEditor() const { return editor_; }
    // Stores the value of the open editor (SaveGridEdit); the editor stays open.
    void commitOpenEditor();
    // Stores and closes (EndGridEdit).
    void commitAndCloseOpenEditor();
    // Closes without storing (SetEditDisable).
    void closeOpenEditor();

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void destroyEditor(QWidget* editor, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override;

protected:
    bool eventFilter(QObject* object, QEvent* event) override;

private:
    mutable QPointer<QWidget> editor_;
    bool committing_ = false;
};
