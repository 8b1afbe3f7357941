#pragma once

// File > Backups: the copies kept of every read from the radio, newest first, with the date of
// the read, the country mode and the number of channels. Open takes the chosen one as a new,
// unsaved document (the caller does that with chosenPath()).

#include <QDialog>

class QLabel;
class QPushButton;
class QTableWidget;

class FrmBackups : public QDialog {
    Q_OBJECT
public:
    explicit FrmBackups(const QString& dir, QWidget* parent = nullptr);

    // The backup chosen with Open (or a double click); empty otherwise.
    QString chosenPath() const { return chosen_; }
    QTableWidget* table() const { return table_; }

private:
    void fill(const QString& dir);
    void openSelected();

    QTableWidget* table_;
    QLabel* Label1_;
    QPushButton* CommandOpen_;
    QString chosen_;
};
