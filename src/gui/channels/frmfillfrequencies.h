#pragma once

// Channel > Fill Frequencies: a start frequency and a step for the selected rows. The values
// pass the rule source row by row (the band and its 5 kHz raster), so the dialog only reads
// numbers.
//
// Controls: txtStart (MHz), txtStep (kHz), buttons OK and Cancel.

#include <QDialog>

class Document;
class QLineEdit;

class FrmFillFrequencies : public QDialog {
    Q_OBJECT
public:
    FrmFillFrequencies(const Document& doc, QWidget* parent);
    double start() const;
    double stepKhz() const;

private:
    QLineEdit* start_ = nullptr;
    QLineEdit* step_ = nullptr;
};
