#pragma once

// The channel table window frmCommChInfo: one channel group at a time as a table (one row per
// channel slot), the group selector and the settings of the shown group above it (working
// channel, emergency channels and their modulation, group valid). Every accepted edit is
// stored at once through Document::SetCHValue; the window redraws from the Document's signals,
// so a change made anywhere shows here at once.
//
// Controls (objectName; a control array element "Name(i)" is named "Name_i"):
//   MSFlexGrid1        the table; columns 0 row number, 1 frequency (Text1), 2 Public (Combo1),
//                      3 DUP (Combo2, hidden), 4 OffSetFre (Text2, hidden), 5 TSQ (Combo3),
//                      6 Scan (Combo4), 7 ">>". The in-cell editors exist only while a cell is
//                      edited and are children of the table's viewport.
//   Label1, Combo7     group selector (country modes 1 and 2)
//   Combo9_0, Combo9_1 country selector of mode 0 ("U" in Combo9_0 shows Combo9_1: "U", "UK")
//   Label3_0..2, Combo8_0..2   working channel, emergency channels 1 and 2
//   Label3_3, Combo8_3 group valid (the label is never shown)
//   Combo10_0, Combo10_1       modulation of the emergency channels
//   CommandCHInfoEdit, CommandClose, CommandHelp (the manual's chapter; the main window
//   shows it)
//
// Hooks for the main window:
//   - requestEditDialog(): the ">>" cell or CommandCHInfoEdit wants the channel edit dialog
//     FrmCHInfoEdit; the main window shows it (or brings the open one to the front) through
//     ShowChildForm. The dialog finds the channel to show in ChannelEditState.
//   - commitEdits(): stores a value still being typed in a cell and closes the cell editor;
//     the main window calls it before a save, a read or a write.
//   - CommandClose closes the enclosing QMdiSubWindow when there is one, else the window.
//     The window deletes itself when closed (WA_DeleteOnClose) and stores a pending cell
//     value first.
//   - Hiding the channel menu and toolbar buttons when this window stops being the active
//     child window (ShowCHInfo(False)) is left to the main window, which sees the activation
//     change itself.

#include <QWidget>
#include <array>
#include <functional>

class ChannelCellDelegate;
class ChannelFindBar;
class ChannelEditState;
class ChannelGridView;
class ChannelTableModel;
class Document;
class QComboBox;
class QKeyEvent;
class QLabel;
class QModelIndex;
class QPushButton;
struct FuncRec;

class frmCommChInfo : public QWidget {
    Q_OBJECT
public:
    explicit frmCommChInfo(Document& doc, QWidget* parent = nullptr);
    ~frmCommChInfo() override;

    // Redraws the row that shows channel chNo, if it lies in the shown group.
    void reShowGrid(int chNo);
    // Hides the cell editor without storing its value.
    void SetEditDisable();
    // Selects CurGroup and brings the country selector in line.
    void ChangeGroup();
    // Shows the group settings of the shown group.
    void ReshowByCh();
    // Starts editing the current cell, unless the cell may not be edited.
    void EnterGridEdit();
    // Stores a value still being typed and closes the cell editor.
    Q_INVOKABLE void commitEdits();

    // The rows (1-based) the channel commands act on: the selected cells' rows, or the current
    // cell's row. False when the table has neither.
    bool selectedRows(int* first, int* last) const;
    // The same rows in the order the view shows them (a sorted view's order).
    QList<int> selectedRowsAsShown() const;
    // Gives every row of an empty national plan group its plan channel (CommandFillFromPlan).
    void fillFromPlan();
    // Selects rows first..last (the channel columns) and makes the first one current.
    void selectRows(int first, int last);
    int shownGroup() const;
    // Shows group g (as choosing it in the group selector does).
    void showGroup(int g);
    // The find bar over the table (Edit > Find).
    ChannelFindBar* findBar() const { return findBar_; }

    ChannelTableModel* tableModel() const { return model_; }
    ChannelGridView* grid() const { return grid_; }

signals:
    void requestEditDialog();
    // The selected rows or the shown group changed (the channel commands' state follows).
    void rowSelectionChanged();

protected:
    void closeEvent(QCloseEvent* e) override;
    // The window fills the main window's area downwards and grows with it; it opens with the
    // size it was closed with.
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void offerPlanFill();
    void buildControls();
    void InitShowGrid();
    void InitGridRows();
    void ShowRowHeads();
    void ChangShowByLanguage();
    void SetGridData();
    void SetEmgModeEnable(int group, int which);
    void SaveGridEdit();
    void EndGridEdit();
    void fillGroupSelectors();
    void syncCountrySelector();

    void groupChanged(); // Combo7 click
    void combo8Click(int i);
    void combo9Click(int i);
    void combo10Click(int i);
    void cellEntered(const QModelIndex& current);
    void typedInGrid(QKeyEvent* e);
    bool cellRefused(int row, int col) const;
    void fitColumnsToHeader();
    void showCaption(int textId);
    void editFunc(const std::function<void(FuncRec&)>& change);
    void onGroupSettingsChanged();
    void onDocumentReplaced();
    void closeWindow();

    Document& doc_;
    ChannelEditState& st_;
    ChannelTableModel* model_ = nullptr;
    ChannelCellDelegate* delegate_ = nullptr;
    ChannelGridView* grid_ = nullptr;
    ChannelFindBar* findBar_ = nullptr;
    QLabel* label1_ = nullptr;
    QComboBox* combo7_ = nullptr;
    std::array<QComboBox*, 2> combo9_{};
    std::array<QLabel*, 4> label3_{};
    std::array<QComboBox*, 4> combo8_{};
    std::array<QComboBox*, 2> combo10_{};
    QPushButton* commandCHInfoEdit_ = nullptr;
    QPushButton* commandFillFromPlan_ = nullptr;
    QPushButton* commandClose_ = nullptr;
    QPushButton* commandHelp_ = nullptr;

    // Window flags: rows being rebuilt (cell entry is not handled), loading finished, group
    // selectors being set by code (their handlers do not write back).
    bool GridRedrawing = false;
    bool GridLoaded = false;
    bool GroupSyncing = false;
    // This window is changing the group settings itself (their change signal is its own).
    bool editingFunc_ = false;
    bool reshowing_ = false;
    bool hostWatched_ = false;
    void fillHostHeight();
};
