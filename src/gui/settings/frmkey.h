#pragma once

// FrmKey: the key record (KeyRec), the key modes the radio offers and the functions of the
// keys P1 to P6 in each of the three key modes. Every pick is stored at once; there is no OK
// or Cancel. A stored function code outside the list shows the first entry and stays stored
// until the user picks.
//
// Controls (objectName): Label1 / Combo2 (KeySet); Frame1_0..2, one per key mode, each with
// Label2_i / Combo1_i for i = 6 × (mode - 1) .. + 5 (P1..P3 left, P4..P6 right); CommandClose,
// CommandHelp (the manual's chapter). A function list shows each fixed name with what it does
// after an em dash ("MOD — modulation AM/FM", the language's texts 25101 to 25120), also as
// the entry's tooltip; its list position stays the code minus 1. Each list is named "Key mode
// 1, P1" .. "Key mode 3, P6" (text 25121) for a screen reader.

#include "settingswindow.h"

class Document;
class SettingsForm;

class FrmKey : public SettingsWindow {
    Q_OBJECT
public:
    explicit FrmKey(Document& doc, QWidget* parent = nullptr);
    ~FrmKey() override;

private:
    Document& doc_;
    SettingsForm* form_ = nullptr;
};
