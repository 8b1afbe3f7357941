#pragma once

// Channel > Edit Selected Channels: the fields of the channel edit dialog, each with a tick
// box "change". What is ticked is applied to every selected channel by the channel commands
// (EditRows), value by value through the rule source; the dialog only collects the values.
//
// Controls: Combo2_0 .. Combo2_15 as in the channel edit dialog (field ids 2, 3, 5 .. 18),
// Text2 the offset; each with its tick box chkChange_<field id>. Only the fields of the
// document's country mode are offered (the CB mode has no offset and no power setting).

#include "core/model/channelrows.h"

#include <QDialog>
#include <QList>
#include <array>

class Document;
class QCheckBox;
class QComboBox;
class QLineEdit;

class FrmEditSelected : public QDialog {
    Q_OBJECT
public:
    // selected: how many channels the selection holds, said at the top.
    FrmEditSelected(const Document& doc, int selected, QWidget* parent);

    // The ticked fields with their values.
    QList<FieldValue> values() const;

private:
    std::array<QComboBox*, 16> combo2_{};
    QLineEdit* text2_ = nullptr;
    std::array<QCheckBox*, 19> change_{}; // by field id
};
