#include "frmeditselected.h"
#include "frmchinfoedit.h"

#include "core/lang/langtext.h"
#include "core/model/document.h"
#include "core/model/records.h"
#include "core/model/settingsforms.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>

namespace {

bool isDtmf(int id) {
    return id == FldDTMF_BOT || id == FldDTMF_EOT || id == FldDTMF_Call;
}

} // namespace

FrmEditSelected::FrmEditSelected(const Document& doc, int selected, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("FrmEditSelected"));
    setWindowTitle(LoadLangText(14994));
    auto* top = new QVBoxLayout(this);
    auto* count = new QLabel(LoadLangText(27611).arg(selected), this);
    count->setObjectName(QStringLiteral("LabelSelected"));
    count->setWordWrap(true);
    top->addWidget(count);
    auto* area = new QScrollArea(this);
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    auto* inner = new QWidget(area);
    auto* grid = new QGridLayout(inner);
    area->setWidget(inner);
    top->addWidget(area, 1);

    // Every tone tip: whether a row may use it is the rule source's to judge.
    QStringList roger{LoadLangText(15030)};
    for (int n = 1; n <= 8; ++n)
        roger << QString::number(n);

    // The fields the mode has not stay out: the CB mode has no offset and no power setting.
    const bool cb = doc.CountryMode == 0;
    const auto offered = [cb](int id) {
        return !(cb && (id == FldDUP || id == FldOffSetFre || id == FldTx_Power));
    };
    struct Row {
        QLabel* label;
        QWidget* editor;
        QCheckBox* tick;
    };
    QList<Row> rows;
    auto addRow = [&](int id, const QString& label, QWidget* editor) {
        auto* l = new QLabel(label, inner);
        l->setBuddy(editor);
        auto* tick = new QCheckBox(LoadLangText(14995), inner);
        tick->setObjectName(QStringLiteral("chkChange_%1").arg(id));
        tick->setAccessibleName(label + QLatin1Char(' ') + LoadLangText(14995));
        change_[id] = tick;
        rows.append({l, editor, tick});
    };
    for (int i = 0; i < 16; ++i) {
        const int id = FrmCHInfoEdit::FieldOfCombo2(i);
        if (!offered(id)) continue;
        auto* c = new QComboBox(inner);
        c->setObjectName(QStringLiteral("Combo2_%1").arg(i));
        combo2_[i] = c;
        // The lists of the channel edit dialog; those it fills from the document offer here
        // every power level and tone tip, and the DTMF codes the document defines.
        QStringList items = FrmCHInfoEdit::fixedItemsOfCombo2(i);
        if (items.isEmpty())
            items = id == FldTx_Power ? PowerListItems(0)
                    : id == FldRBTone ? roger
                                      : DtmfCodeItems(doc);
        c->addItems(items);
        addRow(id, LoadLangText(15005 + i), c);
        // A value chosen is a value meant to be changed.
        connect(c, &QComboBox::activated, this, [this, id] { change_[id]->setChecked(true); });
        if (i == 1 && offered(FldOffSetFre)) {
            text2_ = new QLineEdit(QStringLiteral("100"), inner);
            text2_->setObjectName(QStringLiteral("Text2"));
            text2_->setValidator(new QIntValidator(0, 9999, text2_));
            addRow(FldOffSetFre, LoadLangText(15100), text2_);
            connect(text2_, &QLineEdit::textEdited, this,
                    [this] { change_[FldOffSetFre]->setChecked(true); });
        }
    }
    // Two columns of fields, so that all of them fit a screen of 768 pixels without scrolling.
    const int half = static_cast<int>((rows.size() + 1) / 2);
    for (int n = 0; n < rows.size(); ++n) {
        const int r = n % half, c = (n / half) * 4;
        grid->addWidget(rows[n].label, r, c);
        grid->addWidget(rows[n].editor, r, c + 1);
        grid->addWidget(rows[n].tick, r, c + 2);
    }
    grid->setColumnMinimumWidth(3, 16);
    grid->setRowStretch(half, 1);
    // Without scroll bars where the screen has the room; a smaller screen scrolls the fields.
    QSize room = inner->sizeHint();
    if (const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen())
        room = room.boundedTo(screen->availableGeometry().size() * 3 / 4);
    area->setMinimumSize(room);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    top->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

QList<FieldValue> FrmEditSelected::values() const {
    QList<FieldValue> out;
    for (int id = FldPublic; id <= FldTDCT; ++id) {
        if (!change_[id] || !change_[id]->isChecked()) continue;
        if (id == FldOffSetFre) {
            out.append({id, text2_->text()});
            continue;
        }
        const int i = id < FldOffSetFre ? id - 2 : id - 3;
        const QComboBox* c = combo2_[i];
        // A DTMF list names the codes the document defines; its first item is "off".
        const QString v = isDtmf(id)
                              ? (c->currentIndex() <= 0 ? QStringLiteral("0") : c->currentText())
                              : QString::number(c->currentIndex());
        out.append({id, v});
    }
    return out;
}
