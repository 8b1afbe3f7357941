#include "frm_mem_freq.h"
#include "channellists.h"
#include "common/twips.h"
#include "core/lang/langtext.h"
#include "core/model/country.h"
#include "core/model/document.h"
#include "core/model/helpers.h"
#include "lang/captions.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QVBoxLayout>

using namespace channels;

namespace {
// The national plans of mode 0: groups 0..7.
constexpr int PlanCount = 8;
} // namespace

Frm_Mem_Freq::Frm_Mem_Freq(Document& doc, const QString& text, QWidget* parent)
    : QDialog(parent), doc_(doc) {
    setObjectName(QStringLiteral("Frm_Mem_Freq"));
    setWindowTitle(LoadLangText(14606));
    const QScopedValueRollback busy(DialogBusy, true);

    auto* top = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    const char* labelNames[3] = {"Label2_0", "Label2_1", "Label1"};
    const int labelTexts[3] = {14607, 14608, 14609}; // "Band", "Channel", "Frequency"
    for (int i = 0; i < 3; ++i) {
        auto* l = new QLabel(LoadLangText(labelTexts[i]), this);
        l->setObjectName(QString::fromLatin1(labelNames[i]));
        grid->addWidget(l, i, 0);
    }
    for (int i = 0; i < 2; ++i) {
        combo1_[i] = new QComboBox(this);
        combo1_[i]->setObjectName(QStringLiteral("Combo1_%1").arg(i));
        combo1_[i]->setMinimumWidth(twipsToPixelsX(this, 1500));
        grid->addWidget(combo1_[i], i, 1);
    }
    text1_ = new QLineEdit(this);
    text1_->setObjectName(QStringLiteral("Text1"));
    text1_->setReadOnly(true);
    grid->addWidget(text1_, 2, 1);
    top->addLayout(grid);

    QDialogButtonBox* buttons = OKCancelButtons(this);
    ok_ = buttons->findChild<QPushButton*>(QStringLiteral("CommandOK"));
    top->addWidget(buttons);
    for (int i = 0; i < 2; ++i)
        static_cast<QLabel*>(grid->itemAtPosition(i, 0)->widget())->setBuddy(combo1_[i]);
    static_cast<QLabel*>(grid->itemAtPosition(2, 0)->widget())->setBuddy(text1_);

    QStringList bands{LoadLangText(14600)};
    for (int g = 0; g < PlanCount; ++g)
        bands << GroupName(g, 0);
    FillList(combo1_[0], bands);

    text1_->setText(text);
    band_ = 0;
    channel_ = 0;
    if (const auto v = ParseNumber(text)) {
        int position = 0, chNo = 0;
        doc_.NearestCHFre(*v, &position, &chNo);
        const int g = GroupOfChannel(chNo, 0);
        // A nearest channel outside the national plans (none is programmed) leaves "Off".
        if (chNo <= 360 && g >= 0 && g < PlanCount) {
            band_ = g + 1;
            channel_ = position;
        }
    }
    SelectItemAt(combo1_[0], band_);
    fillChannelList(channel_);
    // The plan channel that was found is what OK would store, so it is what the dialog shows,
    // not the memory channel's old frequency ("Off", when none was found, shows nothing).
    showFrequency(FirstCHOfGroup(band_ - 1, 0) + channel_ + 1);
    updateOk();

    connect(combo1_[0], &QComboBox::activated, this, &Frm_Mem_Freq::bandChosen);
    connect(combo1_[1], &QComboBox::activated, this, &Frm_Mem_Freq::channelChosen);
}

QString Frm_Mem_Freq::frequencyText() const {
    return text1_->text();
}

void Frm_Mem_Freq::fillChannelList(int wished) {
    QStringList items;
    if (band_ > 0)
        for (int n = 1; n <= GroupSize(band_ - 1, 0); ++n)
            items << QString::number(n);
    FillList(combo1_[1], items);
    if (items.isEmpty()) {
        channel_ = wished;
        return;
    }
    SelectItemAt(combo1_[1], wished);
    channel_ = combo1_[1]->currentIndex();
}

void Frm_Mem_Freq::showFrequency(int chNo) {
    if (band_ == 0) {
        text1_->clear();
        return;
    }
    // A plan row without a channel shows nothing: keeping the previous text would let OK
    // store a frequency that belongs to another choice.
    const CHInfoRec* c = doc_.Channel(chNo);
    text1_->setText(c ? doc_.FreToListText(c->RxFre.text(), band_ - 1) : QString());
}

void Frm_Mem_Freq::updateOk() {
    // An empty frequency asks for the memory channel to be deleted; only "Off" means that.
    ok_->setEnabled(band_ == 0 || !text1_->text().isEmpty());
}

void Frm_Mem_Freq::bandChosen() {
    if (DialogBusy) return;
    const QScopedValueRollback busy(DialogBusy, true);
    band_ = combo1_[0]->currentIndex();
    fillChannelList(channel_);
    showFrequency(FirstCHOfGroup(band_ - 1, 0) + channel_ + 1);
    updateOk();
}

void Frm_Mem_Freq::channelChosen() {
    if (DialogBusy) return;
    channel_ = combo1_[1]->currentIndex();
    showFrequency(FirstCHOfGroup(band_ - 1, 0) + channel_ + 1);
    updateOk();
}
