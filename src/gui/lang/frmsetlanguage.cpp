#include "frmsetlanguage.h"
#include "captions.h"
#include "enterfocus.h"

#include "core/app/appstate.h"
#include "core/app/startup.h"
#include "core/lang/langtext.h"
#include "core/lang/languages.h"

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
    // Every language file found, each by its own name, so that a reader finds their language
    // whatever the window speaks now.
    for (const LanguageInfo& l : FindLanguages(App().langDir()))
        Combo1_->addItem(l.name, l.file);
    Combo1_->setCurrentIndex(std::max(0, Combo1_->findData(App().LangFile)));
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
    const QString file = Combo1_->currentData().toString();
    // The main window sees the change when it is active again and rebuilds its texts.
    if (!file.isEmpty() && file != a.LangFile) a.UseLanguageFileNamed(file);
    // Written on every OK, changed or not.
    WriteLanguageSetting();
    accept();
}
