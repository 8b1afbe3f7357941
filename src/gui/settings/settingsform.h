#pragma once

// Builds, shows and stores the rows of a settings window from their table (SettingsField):
// a label and a list per row. Showing fills the lists and selects what the document holds
// without storing anything; a pick by the user stores through the row's set(), and the
// window redraws from the Document's signals like every other window. A row with notes shows
// each item with its note after an em dash and the note as the item's tooltip; its closed
// list asks only for the room its items need without the notes, and its open list is as wide
// as the entries.

#include "core/model/settingsfield.h"

#include <QObject>
#include <vector>

class Document;
class QComboBox;
class QGridLayout;
class QLabel;
class QWidget;

class SettingsForm : public QObject {
    Q_OBJECT
public:
    SettingsForm(Document& doc, QWidget* owner);

    // The row's label goes to column 2 × column of grid row, its list beside it.
    QComboBox* addRow(const SettingsField& field, QGridLayout* grid, int row, int column = 0);
    // Every field of a table, one grid row each from firstRow on.
    void addRows(const std::vector<SettingsField>& fields, QGridLayout* grid, int firstRow = 0);

    // Label captions from the language file (rows with label 0 keep theirs).
    void setCaptions();
    // Shows every row: hidden per country mode, lists refilled when their items changed, the
    // stored value selected. Stores nothing.
    void show();
    // True while show() runs (a window's own change handlers ignore that time).
    bool showing() const { return showing_; }

    QComboBox* list(const QString& name) const;
    QLabel* label(const QString& name) const;

signals:
    // The user picked an item and the row's field was stored.
    void stored(const QString& name);

private:
    struct Row {
        const SettingsField* field;
        QLabel* label;
        QComboBox* box;
        QStringList items; // the field's items as last shown (the box may show them with notes)
    };
    static QStringList withNotes(const Row& row, const QStringList& items);
    static void fitNotedList(const Row& row, const QStringList& items);
    static void showNote(const Row& row);
    void picked(const Row& row, int index);

    Document& doc_;
    QWidget* owner_;
    std::vector<Row> rows_;
    bool showing_ = false;
};
