#include "frmsetlanguage.h"
#include "captions.h"
#include "enterfocus.h"

#include "core/app/appstate.h"
#include "core/app/startup.h"
#include "core/lang/langtext.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

FrmSetLanguage::FrmSetLanguage(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FrmSetLanguage"));
    setWindowTitle(LoadLangText(23000));
    auto* label = new QLabel(LoadLangText(23001), this);
    label->setObjectName(QStringLiteral("Label1"));
    Combo1_ = new QComboBox(this);
    Combo1_->setObjectName(QStringLiteral("Combo1"));
    Combo1_->addItem(LoadLangText(23002));
    Combo1_->addItem(LoadLangText(23003));
    Combo1_->setCurrentIndex(int(App().CurLanguage) - 1);
    label->setBuddy(Combo1_);
    EnterMovesFocus::install(Combo1_);

    auto* buttons = OKCancelButtons(this, [this] { CommandOK_Click(); });

    auto* l = new QVBoxLayout(this);
    l->addWidget(label);
    l->addWidget(Combo1_);
    l->addSpacing(8);
    l->addWidget(buttons);
    setMinimumWidth(300);
}

void FrmSetLanguage::CommandOK_Click() {
    AppState& a = App();
    const Language n = Combo1_->currentIndex() == 1 ? Language::Chinese : Language::English;
    if (n != a.CurLanguage) {
        a.ShownLanguage = a.CurLanguage;
        a.UseLanguage(n);
    }
    // Written on every OK, changed or not.
    WriteLanguageSetting();
    accept();
}
