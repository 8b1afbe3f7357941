#include "frmmodelinfo.h"

#include "common/guiprompter.h"
#include "core/lang/langtext.h"
#include "core/model/country.h"
#include "core/model/document.h"
#include "lang/captions.h"
#include "lang/enterfocus.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

FrmModelInfo::FrmModelInfo(Document& doc, Prompter& prompter, QWidget* parent)
    : QDialog(parent), doc_(doc), prompter_(prompter) {
    setObjectName(QStringLiteral("FrmModelInfo"));
    setWindowTitle(LoadLangText(13000));

    Combo3_ = new QComboBox(this);
    Combo3_->setObjectName(QStringLiteral("Combo3"));
    Combo1_ = new QComboBox(this);
    Combo1_->setObjectName(QStringLiteral("Combo1"));
    Combo1_->setEditable(true);
    Combo2_ = new QComboBox(this);
    Combo2_->setObjectName(QStringLiteral("Combo2"));

    auto* grid = new QGridLayout;
    QComboBox* rows[] = {Combo3_, Combo1_, Combo2_};
    for (int i = 0; i < 3; ++i) {
        auto* label = new QLabel(LoadLangText(13001 + i), this);
        label->setObjectName(QStringLiteral("Label1_%1").arg(i));
        label->setBuddy(rows[i]);
        grid->addWidget(label, i, 0);
        grid->addWidget(rows[i], i, 1);
    }
    grid->setColumnStretch(1, 1);

    // The program knows one model; the list holds it so that it can be shown selected.
    const QString model = ModelShownName(doc_.ModelName);
    for (int mode = 0; mode < 3; ++mode) {
        Combo3_->addItem(ModeName(mode));
        Combo2_->addItem(BandTextOf(mode));
    }
    Combo1_->addItem(ModelShownName(QStringLiteral("MZ-710")));
    Combo1_->setCurrentIndex(std::max(0, Combo1_->findText(model)));
    const int mode = IsValidMode(doc_.CountryMode) ? doc_.CountryMode : 0;
    Combo3_->setCurrentIndex(mode);
    Combo2_->setCurrentIndex(mode);
    connect(Combo3_, &QComboBox::activated, this, [this](int i) {
        if (!loading_) Combo2_->setCurrentIndex(i);
    });
    EnterMovesFocus::install(Combo1_);
    EnterMovesFocus::install(Combo2_);

    auto* buttons = OKCancelButtons(this, [this] { CommandOK_Click(); });

    auto* l = new QVBoxLayout(this);
    l->addLayout(grid);
    l->addSpacing(8);
    l->addWidget(buttons);
    setMinimumWidth(340);
    loading_ = false;
}

void FrmModelInfo::CommandOK_Click() {
    const int mode = Combo2_->currentIndex();
    if (mode == doc_.CountryMode) {
        accept();
        return;
    }
    // A new document nobody has touched holds nothing to lose: the mode simply changes.
    if (!doc_.untouchedNew()) {
        const QString text = LoadLangText(9016);
        const auto buttons = Prompter::Buttons::OkCancel;
        const auto icon = Prompter::Icon::Warning;
        auto* gui = dynamic_cast<GuiPrompter*>(&prompter_);
        const Prompter::Answer answer =
            gui ? gui->askTitled(LoadLangText(9019), text, buttons, icon)
                : prompter_.ask(text, buttons, icon);
        if (answer != Prompter::Answer::Ok) {
            reject();
            return;
        }
    }
    doc_.SetCountryMode(mode);
    modeChanged_ = true;
    accept();
}
