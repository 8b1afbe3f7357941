#include "frmradioinfo.h"
#include "common/windowteardown.h"
#include "core/lang/langtext.h"
#include "core/model/country.h"
#include "core/model/document.h"
#include "core/model/radioinfofields.h"
#include "lang/captions.h"

#include <QApplication>
#include <QClipboard>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {
// The window only shows what the radio holds: its fields are drawn on the window's own
// background, without frames, so that nothing looks as if it could be typed or picked; the
// text stays selectable.
void looksReadOnly(QWidget* w) {
    QPalette p = w->palette();
    p.setColor(QPalette::Base, p.color(QPalette::Window));
    w->setPalette(p);
    if (auto* e = qobject_cast<QLineEdit*>(w)) e->setFrame(false);
}
} // namespace

FrmRadioInfo::FrmRadioInfo(Document& doc, QWidget* parent) : SettingsWindow(parent), doc_(doc) {
    setObjectName(QStringLiteral("FrmRadioInfo"));
    setWindowTitle(LoadLangText(21000));

    auto* grid = new QGridLayout;
    body()->addLayout(grid);
    int row = 0;
    // The object names are those of the lists these fields once were.
    model_ = addShown("Combo1_0", 21001, grid, row++, "Label1_0");
    mode_ = addShown("Combo3", 21015, grid, row++, "Label1_14");
    band_ = addShown("Combo1_1", 21002, grid, row++, "Label1_1");

    auto* frame1 = new QGroupBox(LoadLangText(21016), this);
    frame1->setObjectName(QStringLiteral("Frame1"));
    auto* dealer = new QGridLayout(frame1);
    int dealerRow = 0;
    for (const RadioInfoField& f : RadioInfoFields()) {
        // Text1(6) and after are the dealer's.
        const bool inFrame = f.box.mid(6).toInt() >= 6;
        QWidget* parent = inFrame ? static_cast<QWidget*>(frame1) : this;
        auto* label = new QLabel(LoadLangText(f.label), parent);
        label->setObjectName(f.labelName);
        label->setAlignment(Qt::AlignRight | (f.multiLine ? Qt::AlignTop : Qt::AlignVCenter));
        QWidget* box;
        if (f.multiLine) {
            auto* e = new QPlainTextEdit(parent);
            e->setReadOnly(true);
            e->setTabChangesFocus(true);
            e->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
            e->setFixedHeight(e->fontMetrics().lineSpacing() * 4 + 12);
            box = e;
        } else {
            auto* e = new QLineEdit(parent);
            e->setReadOnly(true);
            e->setMaxLength(f.maxLength);
            box = e;
        }
        box->setObjectName(f.box);
        box->setAccessibleName(label->text());
        looksReadOnly(box);
        label->setBuddy(box);
        boxes_.insert(f.box, box);
        QGridLayout* g = inFrame ? dealer : grid;
        const int r = inFrame ? dealerRow++ : row++;
        g->addWidget(label, r, 0);
        g->addWidget(box, r, 1);
    }
    grid->addWidget(frame1, row++, 0, 1, 2);
    grid->setColumnStretch(1, 1);

    auto* copy = new QPushButton(LangTextOr(9700, "Copy"), this);
    copy->setObjectName(QStringLiteral("CommandCopy"));
    copy->setAutoDefault(true);
    buttons()->insertWidget(1, copy);
    connect(copy, &QPushButton::clicked, this, &FrmRadioInfo::copyToClipboard);

    ShowByData();
    // A replaced document brings its own country mode.
    connect(&doc_, &Document::documentReplaced, this, &FrmRadioInfo::ShowByData);
}

FrmRadioInfo::~FrmRadioInfo() {
    detachFromDocument(this, doc_);
}

QLineEdit* FrmRadioInfo::addShown(const char* name, int labelText, QGridLayout* grid, int row,
                                  const char* labelName) {
    auto* label = new QLabel(LoadLangText(labelText), this);
    label->setObjectName(QLatin1String(labelName));
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* box = new QLineEdit(this);
    box->setObjectName(QLatin1String(name));
    box->setReadOnly(true);
    box->setAccessibleName(label->text());
    looksReadOnly(box);
    label->setBuddy(box);
    grid->addWidget(label, row, 0);
    grid->addWidget(box, row, 1);
    return box;
}

void FrmRadioInfo::ShowByData() {
    const RadioInfoRec& info = doc_.RadioInfo;
    const QString model = ModelShownName(info.InfoModel);
    model_->setText(model.isEmpty() ? ModelShownName(doc_.ModelName) : model);
    // An unknown mode shows as no mode and no band.
    const bool known = IsValidMode(info.InfoMode);
    mode_->setText(known ? RadioInfoModeItems().value(info.InfoMode) : QString());
    band_->setText(known ? RadioInfoBandItems().value(info.InfoMode) : QString());
    for (const RadioInfoField& f : RadioInfoFields()) {
        QWidget* box = boxes_.value(f.box);
        if (auto* e = qobject_cast<QLineEdit*>(box))
            e->setText(f.text(info));
        else if (auto* p = qobject_cast<QPlainTextEdit*>(box))
            p->setPlainText(f.text(info));
    }
}

void FrmRadioInfo::copyToClipboard() {
    QApplication::clipboard()->setText(RadioInfoAsText(doc_.RadioInfo));
}
