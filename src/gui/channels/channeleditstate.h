#pragma once

// What the channel table and the channel edit dialog share about the channel being edited:
// the group shown (CurGroup, kept equal to Func.GroupSel by the table), the row being edited
// (CurCH, also the channel the dialog shows), the column being edited (CurCol) and which of
// the two windows is open. It stays valid while the windows come and go, so it hangs on the
// Document as a child object: ChannelEditState::of(doc) finds it or creates it.
//
// The windows keep each other in step through its signals instead of calling each other:
// the table announces a group change (the open dialog follows), the dialog announces a group
// chosen in it (the open table follows), and the table's ">>" cell asks the open dialog to
// show a row.

#include <QObject>

class Document;

class ChannelEditState : public QObject {
    Q_OBJECT
public:
    static ChannelEditState& of(Document& doc);

    int CurGroup = 0;
    int CurCH = 1;
    int CurCol = 0;
    bool CHInfoOpen = false;
    bool CHEditOpen = false;

    // CurGroup from the document's GroupSel, limited to the groups of its mode; CurCH 1.
    void resetFrom(const Document& doc);

signals:
    // The table now shows group CurGroup.
    void tableGroupChanged();
    // The dialog chose group CurGroup; the table follows.
    void dialogGroupChosen();
    // The table's ">>" cell of row CurCH was used; an open dialog shows that channel.
    void channelRequested();
    // A window stored a value moved from what was typed: the main window's status line says so.
    void statusNote(const QString& text);

private:
    explicit ChannelEditState(Document& doc);
};
