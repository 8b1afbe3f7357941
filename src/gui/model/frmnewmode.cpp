#include "frmnewmode.h"

#include "core/lang/langtext.h"
#include "core/model/country.h"
#include "lang/captions.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

FrmNewMode::FrmNewMode(int current, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FrmNewMode"));
    setWindowTitle(LoadLangText(12922));

    auto* label = new QLabel(LoadLangText(12923), this);
    label->setObjectName(QStringLiteral("LabelMode"));
    auto* group = new QButtonGroup(this);
    auto* l = new QVBoxLayout(this);
    l->addWidget(label);
    // The access keys are the modes' own letters: CB, HF, HAM.
    const char* keyed[] = {"&CB", "&HF", "H&AM"};
    for (int mode = 0; mode < 3; ++mode) {
        modes_[mode] = new QRadioButton(
            QLatin1String(keyed[mode]) + QStringLiteral("   ") + BandTextOf(mode), this);
        modes_[mode]->setObjectName(QStringLiteral("OptionMode%1").arg(mode));
        modes_[mode]->setAccessibleName(ModeName(mode));
        modes_[mode]->setAccessibleDescription(BandTextOf(mode));
        group->addButton(modes_[mode], mode);
        l->addWidget(modes_[mode]);
    }
    label->setBuddy(modes_[0]);
    QRadioButton* chosen = modes_[IsValidMode(current) ? current : 0];
    chosen->setChecked(true);
    chosen->setFocus();
    l->addSpacing(8);
    l->addWidget(OKCancelButtons(this));
}

int FrmNewMode::chosenMode() const {
    for (int mode = 0; mode < 3; ++mode)
        if (modes_[mode]->isChecked()) return mode;
    return -1;
}

int FrmNewMode::Ask(int current, QWidget* parent) {
    FrmNewMode dlg(current, parent);
    return dlg.exec() == QDialog::Accepted ? dlg.chosenMode() : -1;
}
