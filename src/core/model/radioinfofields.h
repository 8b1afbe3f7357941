#pragma once

// The fields of the radio-information window, one line per box, in the order the window and
// its copied text show them.

#include "radioinfo.h"

#include <QString>
#include <vector>

struct RadioInfoField {
    QString box;       // objectName of the box ("Text1_1" for Text1(1))
    QString labelName; // objectName of its label
    int label;         // text id of the label
    int maxLength;     // the most characters the box holds
    bool multiLine;
    QString (*text)(const RadioInfoRec&);
};

// Text1(0) .. Text1(11); InfoSpare is not shown.
const std::vector<RadioInfoField>& RadioInfoFields();
// The mode names shown by Combo3 ("CB", "HF", "HAM") and the band texts of Combo1(1).
QStringList RadioInfoModeItems();
QStringList RadioInfoBandItems();
// The record as text, one "label: value" line per field (model, mode, band, then the boxes),
// with the labels of the current language.
QString RadioInfoAsText(const RadioInfoRec& info);
