#pragma once

#include <QDialog>

class QLineEdit;

// The radio password dialog: up to four characters, shown as "*". OK hands back the text
// cut at a NUL and without trailing blanks; Cancel leaves the password as it was.
class FrmPassWord : public QDialog {
    Q_OBJECT
public:
    explicit FrmPassWord(const QString& current, QWidget* parent = nullptr);
    // The text as OK takes it.
    QString password() const;
    // Shows the dialog modally with the password; OK replaces it. Returns whether OK was
    // pressed.
    static bool Ask(QString& progPassword, QWidget* parent = nullptr);
    static QString CleanPassword(const QString& typed);

private:
    QLineEdit* Text1_;
};
