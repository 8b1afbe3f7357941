#pragma once

// The grid of the channel table (objectName MSFlexGrid1): a table view whose column 0 is the
// fixed column of row numbers (the current cell never goes there), Tab leaves the grid as it
// leaves any other control, and editing starts only when the window decides (EnterGridEdit):
// on Enter, F2, a double click, or by typing a character the cell's editor takes.

#include <QTableView>
#include <QVector>

class ChannelGridView : public QTableView {
    Q_OBJECT
public:
    explicit ChannelGridView(QWidget* parent = nullptr);

    // Opens the editor of index; event (a key press) is passed on to it when given.
    bool openEditor(const QModelIndex& index, QEvent* event = nullptr);
    bool isEditing() const { return state() == EditingState; }
    // Room for the visible columns and about sixteen rows, so that a new window shows a useful
    // part of a group instead of the view's small default.
    QSize sizeHint() const override;

    // Sorting the view: a click on a column header shows the rows ordered by that column,
    // again in descending order, a third time in the radio's order. Only the order on screen
    // changes (the rows' visual positions); the model, the document and what is saved keep
    // the radio's order, and every index still names its row of the group.
    void sortViewBy(int column);
    void clearViewSort();
    bool viewSorted() const { return sortColumn_ >= 0; }

signals:
    // The view was sorted or returned to the radio's order.
    void viewSortChanged();
    // Enter or F2 on the current cell (double clicks come through doubleClicked()).
    void enterPressed();
    // A printable key on the current cell; the window may start editing with it.
    void keyTyped(QKeyEvent* e);

protected:
    void keyPressEvent(QKeyEvent* e) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void mousePressEvent(QMouseEvent* e) override;

private:
    void showOrder(const QVector<int>& logicalRows);
    int sortColumn_ = -1;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;

public:
    // Typing never jumps to a cell that starts with the typed letter.
    void keyboardSearch(const QString&) override {}
};
