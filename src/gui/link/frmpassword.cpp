#include "frmpassword.h"

#include "core/lang/langtext.h"
#include "lang/captions.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

FrmPassWord::FrmPassWord(const QString& current, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FrmPassWord"));
    setWindowTitle(LoadLangText(23100));
    auto* label = new QLabel(LoadLangText(23101), this);
    label->setObjectName(QStringLiteral("Label1"));
    Text1_ = new QLineEdit(this);
    Text1_->setObjectName(QStringLiteral("Text1"));
    Text1_->setMaxLength(4);
    Text1_->setEchoMode(QLineEdit::Password);
    // Each character shows as "*", whatever the style's own mask character is.
    Text1_->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
    Text1_->setText(current);
    Text1_->selectAll();
    label->setBuddy(Text1_);

    auto* buttons = OKCancelButtons(this);

    auto* row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(Text1_, 1);
    auto* l = new QVBoxLayout(this);
    l->addLayout(row);
    l->addSpacing(8);
    l->addWidget(buttons);
    setMinimumWidth(280);
}

QString FrmPassWord::CleanPassword(const QString& typed) {
    QString t = typed;
    if (const int nul = t.indexOf(QChar(0)); nul >= 0) t.truncate(nul);
    while (t.endsWith(QLatin1Char(' ')))
        t.chop(1);
    return t;
}

QString FrmPassWord::password() const {
    return CleanPassword(Text1_->text());
}

bool FrmPassWord::Ask(QString& progPassword, QWidget* parent) {
    FrmPassWord dlg(progPassword, parent);
    if (dlg.exec() != QDialog::Accepted) return false;
    progPassword = dlg.password();
    return true;
}
