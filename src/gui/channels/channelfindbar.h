#pragma once

// The find bar over the channel table: a frequency, a tone or a slot ("EU 19"). Enter and F3
// go to the next match across all groups (the table switches the group as needed), Shift+F3
// to the previous one; the bar says "3 of 12" or "not found"; Esc closes it.
//
// Controls: findText (what to find), findStatus (where the last match lies among all).

#include <QWidget>

class Document;
class QLabel;
class QLineEdit;
class frmCommChInfo;

class ChannelFindBar : public QWidget {
    Q_OBJECT
public:
    ChannelFindBar(Document& doc, frmCommChInfo& table, QWidget* parent);

    // Shows the bar with its text selected and the focus in it.
    void open();
    // Goes to the next (or previous) match from the table's current cell, wrapping around.
    void findNext(bool backwards = false);
    QString status() const;
    void changeLanguage();

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    Document& doc_;
    frmCommChInfo& table_;
    QLabel* label_ = nullptr;
    QLineEdit* text_ = nullptr;
    QLabel* status_ = nullptr;
    QString lastQuery_;
};
