#include "startpanel.h"

#include "core/lang/langtext.h"
#include "core/model/country.h"
#include "lang/captions.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QLabel* wrappedLabel(const char* name, QWidget* parent) {
    auto* l = new QLabel(parent);
    l->setObjectName(QLatin1String(name));
    l->setWordWrap(true);
    return l;
}

QPushButton* button(const QString& name, QWidget* parent) {
    auto* b = new QPushButton(parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

// What belongs to a step stands below its sentence, indented under it.
QHBoxLayout* indented(QVBoxLayout* column) {
    auto* row = new QHBoxLayout;
    row->setContentsMargins(column->spacing() * 3, 0, 0, 0);
    column->addLayout(row);
    return row;
}

// A step: its sentence (returned), then its buttons in a row of their own.
QLabel* step(QVBoxLayout* column, const char* name, const QList<QWidget*>& widgets) {
    QLabel* sentence = wrappedLabel(name, column->parentWidget());
    column->addWidget(sentence);
    QHBoxLayout* row = indented(column);
    for (QWidget* w : widgets)
        row->addWidget(w);
    row->addStretch(1);
    return sentence;
}
} // namespace

StartPanel::StartPanel(QWidget* parent) : QScrollArea(parent) {
    setObjectName(QStringLiteral("StartPanel"));
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(true);
    // The buttons are the tab stops; a panel larger than its room scrolls to the one that has
    // the focus.
    setFocusPolicy(Qt::NoFocus);

    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("StartPage"));
    auto* column = new QWidget(page);
    auto* outer = new QHBoxLayout(page);
    // Lines that run across a wide window are hard to read: the text keeps a column of its
    // own, in the middle.
    outer->addStretch(1);
    outer->addWidget(column, 20);
    outer->addStretch(1);
    column->setMaximumWidth(column->fontMetrics().averageCharWidth() * 80);

    auto* v = new QVBoxLayout(column);
    title_ = wrappedLabel("LabelStartTitle", column);
    QFont big = title_->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.4);
    title_->setFont(big);
    intro_ = wrappedLabel("LabelStartIntro", column);
    v->addWidget(title_);
    v->addWidget(intro_);
    v->addSpacing(v->spacing() * 2);

    port_ = button(QStringLiteral("CommandPort"), column);
    portNow_ = new QLabel(column);
    portNow_->setObjectName(QStringLiteral("LabelPortNow"));
    portStep_ = step(v, "LabelStepPort", {port_, portNow_});
    read_ = button(QStringLiteral("CommandRead"), column);
    readStep_ = step(v, "LabelStepRead", {read_});
    open_ = button(QStringLiteral("CommandOpen"), column);
    openStep_ = step(v, "LabelStepOpen", {open_});
    for (int mode = 0; mode < 3; ++mode) {
        newMode_[mode] = button(QStringLiteral("CommandNew%1").arg(mode), column);
        connect(newMode_[mode], &QPushButton::clicked, this,
                [this, mode] { emit newRequested(mode); });
    }
    newStep_ = step(v, "LabelStepNew", {newMode_[0], newMode_[1], newMode_[2]});
    // The access key of the sentence leads to its first button.
    newStep_->setBuddy(newMode_[0]);
    cbNote_ = wrappedLabel("LabelCbPlans", column);
    indented(v)->addWidget(cbNote_);
    v->addStretch(1);

    setWidget(page);

    connect(port_, &QPushButton::clicked, this, &StartPanel::portRequested);
    connect(read_, &QPushButton::clicked, this, &StartPanel::readRequested);
    connect(open_, &QPushButton::clicked, this, &StartPanel::openRequested);
    retranslate();
}

void StartPanel::retranslate() {
    title_->setText(LoadLangText(12910));
    setAccessibleName(title_->text());
    intro_->setText(LoadLangText(12911));
    portStep_->setText(LoadLangText(12912));
    readStep_->setText(LoadLangText(12914));
    openStep_->setText(LoadLangText(12916));
    newStep_->setText(LoadLangText(12918));
    cbNote_->setText(LoadLangText(12920));
    const struct {
        QPushButton* b;
        int text;
        QLabel* step;
    } named[] = {{port_, 12913, portStep_}, {read_, 12915, readStep_}, {open_, 12917, openStep_}};
    for (const auto& n : named) {
        n.b->setText(LoadLangText(n.text));
        n.b->setAccessibleName(withoutAccessKey(n.b->text()));
        n.b->setAccessibleDescription(n.step->text());
    }
    for (int mode = 0; mode < 3; ++mode) {
        // The mode and its band, so that the choice needs no other window.
        newMode_[mode]->setText(ModeName(mode) + QLatin1Char('\n') + BandTextOf(mode));
        newMode_[mode]->setAccessibleName(LoadLangText(12919).arg(ModeName(mode)));
        newMode_[mode]->setAccessibleDescription(BandTextOf(mode));
    }
    setPortText(portText_);
}

void StartPanel::setPortText(const QString& port) {
    portText_ = port;
    portNow_->setText(port.isEmpty() ? QString() : LoadLangText(12921).arg(port));
}

QList<QPushButton*> StartPanel::buttons() const {
    return {port_, read_, open_, newMode_[0], newMode_[1], newMode_[2]};
}

void StartPanel::focusFirst() {
    port_->setFocus(Qt::OtherFocusReason);
}
