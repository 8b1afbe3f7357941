#include "frmtonetips.h"

#include "common/frmhelp.h"
#include "common/subwindow.h"
#include "common/windowteardown.h"
#include "core/lang/langtext.h"
#include "core/lang/prompter.h"
#include "core/model/document.h"
#include "core/sound/tippcm.h"
#include "lang/captions.h"
#include "lang/enterfocus.h"
#include "tonetipdiagram.h"
#include "tonetipplayer.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMediaDevices>
#include <QPushButton>
#include <QSaveFile>
#include <QSignalBlocker>
#include <QTabBar>
#include <QVBoxLayout>

namespace {
constexpr int TipCount = 8;
constexpr int NoteCount = 14;
// Texts added for the parts of the window beyond the radio's own editor.
constexpr int TxtSaveWav = 29900;
constexpr int TxtWavFiles = 29901;
constexpr int TxtNoOutput = 29902;
constexpr int TxtOutputFailed = 29903;
constexpr int TxtDiagram = 29904;
constexpr int MsgWavNotWritten = 9720;

// Combo3 entry k stands for Tone k + 39 (400 Hz at entry 1); entry 0 is the rest.
int toneOfEntry(int k) {
    return k <= 0 ? 0 : k + 39;
}
// The entry showing a stored Tone; -1 when no entry stands for it.
int entryOfTone(int tone) {
    if (tone == 0) return 0;
    if (tone >= 40 && tone <= 255) return tone - 39;
    return -1;
}

// Selects the entry at index without counting as a pick; an index outside the list shows the
// first entry.
void showEntry(QComboBox* box, int index) {
    const QSignalBlocker quiet(box);
    box->setCurrentIndex(index >= 0 && index < box->count() ? index : 0);
}

QStringList tensOfMs(int count) {
    QStringList items;
    for (int k = 0; k < count; ++k)
        items << QString::number(10 * k);
    return items;
}

int twips(const QWidget* w, int t) {
    return qRound(t * w->logicalDpiX() / 1440.0);
}
} // namespace

FrmToneTips::FrmToneTips(Document& doc, QWidget* parent)
    : QWidget(parent), doc_(doc), player_(new ToneTipPlayer(this)),
      devices_(new QMediaDevices(this)) {
    setObjectName(QStringLiteral("FrmToneTips"));
    setAttribute(Qt::WA_DeleteOnClose);
    buildControls();
    fillLists();
    setCaptions();
    offerHelp(this);
    curToneTip_ = tabStrip1_->currentIndex() + 1;
    ShowTip();
    updateSoundState();

    connect(&doc_, &Document::toneTipsChanged, this, &FrmToneTips::ShowTip);
    connect(&doc_, &Document::documentReplaced, this, &FrmToneTips::ShowTip);
    connect(player_, &ToneTipPlayer::finished, this, &FrmToneTips::playbackEnded);
    connect(player_, &ToneTipPlayer::outputFailed, this,
            [this] { statusMessage(LoadLangText(TxtOutputFailed)); });
    connect(devices_, &QMediaDevices::audioOutputsChanged, this, &FrmToneTips::updateSoundState);
}

FrmToneTips::~FrmToneTips() {
    detachFromDocument(this, doc_);
    player_->stop();
}

void FrmToneTips::buildControls() {
    auto* top = new QVBoxLayout(this);

    tabStrip1_ = new QTabBar(this);
    tabStrip1_->setObjectName(QStringLiteral("TabStrip1"));
    tabStrip1_->setExpanding(false);
    for (int n = 1; n <= TipCount; ++n)
        tabStrip1_->addTab(QString());
    connect(tabStrip1_, &QTabBar::currentChanged, this, &FrmToneTips::tabClick);
    top->addWidget(tabStrip1_);

    auto newLabel = [this](const QString& name) {
        auto* l = new QLabel(this);
        l->setObjectName(name);
        return l;
    };
    auto newList = [this](const QString& name) {
        auto* c = new QComboBox(this);
        c->setObjectName(name);
        c->setMaxVisibleItems(16);
        EnterMovesFocus::install(c);
        return c;
    };
    auto newButton = [this](const QString& name) {
        auto* b = new QPushButton(this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        return b;
    };

    // Repeat, pause and the playback buttons.
    auto* head = new QHBoxLayout;
    head->setSpacing(twips(this, 100));
    label1_ = newLabel(QStringLiteral("Label1_0"));
    combo1_ = newList(QStringLiteral("Combo1_0"));
    label1_->setBuddy(combo1_);
    label2_ = newLabel(QStringLiteral("Label2_0"));
    combo2_ = newList(QStringLiteral("Combo2_0"));
    label2_->setBuddy(combo2_);
    command1_ = newButton(QStringLiteral("Command1_0"));
    command2_ = newButton(QStringLiteral("Command2_0"));
    commandSaveWav_ = newButton(QStringLiteral("CommandSaveWav"));
    head->addWidget(label1_);
    head->addWidget(combo1_);
    head->addSpacing(twips(this, 300));
    head->addWidget(label2_);
    head->addWidget(combo2_);
    head->addStretch(1);
    top->addLayout(head);
    // The playback buttons on a row of their own, so that a longer language's lists and
    // buttons do not share one line's width.
    auto* play = new QHBoxLayout;
    play->addStretch(1);
    play->addWidget(command1_);
    play->addWidget(command2_);
    play->addWidget(commandSaveWav_);
    top->addLayout(play);

    // Two columns of seven notes: caption, frequency, duration.
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(twips(this, 100));
    grid->setVerticalSpacing(2);
    for (int c = 0; c < 2; ++c) {
        label3_[c] = newLabel(QStringLiteral("Label3_%1").arg(c));
        label4_[c] = newLabel(QStringLiteral("Label4_%1").arg(c));
        // Column captions wrap rather than widen the two columns past the window.
        label3_[c]->setWordWrap(true);
        label4_[c]->setWordWrap(true);
        grid->addWidget(label3_[c], 0, c * 4 + 1);
        grid->addWidget(label4_[c], 0, c * 4 + 2);
    }
    grid->setColumnMinimumWidth(3, twips(this, 400));
    for (int i = 0; i < NoteCount; ++i) {
        const int row = 1 + i % 7;
        const int col = (i / 7) * 4;
        label5_[i] = newLabel(QStringLiteral("Label5_%1").arg(i));
        label5_[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        combo3_[i] = newList(QStringLiteral("Combo3_%1").arg(i));
        combo4_[i] = newList(QStringLiteral("Combo4_%1").arg(i));
        grid->addWidget(label5_[i], row, col);
        grid->addWidget(combo3_[i], row, col + 1);
        grid->addWidget(combo4_[i], row, col + 2);
        connect(combo3_[i], &QComboBox::activated, this, [this, i](int k) { combo3Click(i, k); });
        connect(combo4_[i], &QComboBox::activated, this, [this, i](int k) { combo4Click(i, k); });
    }
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(2, 1);
    grid->setColumnStretch(5, 1);
    grid->setColumnStretch(6, 1);
    top->addLayout(grid);

    picture1_ = new ToneTipDiagram(this);
    top->addWidget(picture1_, 1);

    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    commandClose_ = newButton(QStringLiteral("CommandClose"));
    commandHelp_ = newButton(QStringLiteral("CommandHelp"));
    bottom->addWidget(commandClose_);
    bottom->addWidget(commandHelp_);
    top->addLayout(bottom);

    connect(combo1_, &QComboBox::activated, this, &FrmToneTips::combo1Click);
    connect(combo2_, &QComboBox::activated, this, &FrmToneTips::combo2Click);
    connect(command1_, &QPushButton::clicked, this, &FrmToneTips::command1Click);
    connect(command2_, &QPushButton::clicked, this, &FrmToneTips::command2Click);
    connect(commandSaveWav_, &QPushButton::clicked, this, &FrmToneTips::commandSaveWavClick);
    connect(commandClose_, &QPushButton::clicked, this, &FrmToneTips::closeWindow);

    // Keyboard order: the tabs, repeat and pause, the notes in their order, then the buttons.
    QWidget* prev = tabStrip1_;
    auto chain = [&prev](QWidget* next) {
        setTabOrder(prev, next);
        prev = next;
    };
    chain(combo1_);
    chain(combo2_);
    for (int i = 0; i < NoteCount; ++i) {
        chain(combo3_[i]);
        chain(combo4_[i]);
    }
    chain(command1_);
    chain(command2_);
    chain(commandSaveWav_);
    chain(commandClose_);
}

void FrmToneTips::fillLists() {
    QStringList repeat{LoadLangText(29200)};
    for (int k = 1; k <= 10; ++k)
        repeat << QString::number(k);
    combo1_->addItems(repeat);
    combo2_->addItems(tensOfMs(256));
    QStringList freq{LoadLangText(29201)};
    for (int k = 1; k <= 216; ++k)
        freq << QString::number(10 * toneOfEntry(k));
    const QStringList times = tensOfMs(256);
    for (int i = 0; i < NoteCount; ++i) {
        combo3_[i]->addItems(freq);
        combo4_[i]->addItems(times);
    }
}

void FrmToneTips::setCaptions() {
    setWindowTitle(LoadLangText(29000));
    for (int n = 1; n <= TipCount; ++n)
        tabStrip1_->setTabText(n - 1, LoadLangText(29001) + QLatin1Char(' ') + QString::number(n));
    tabStrip1_->setAccessibleName(LoadLangText(29000));
    label1_->setText(LoadLangText(29002));
    label2_->setText(LoadLangText(29003));
    combo1_->setAccessibleName(LoadLangText(29002));
    combo2_->setAccessibleName(LoadLangText(29003));
    for (int c = 0; c < 2; ++c) {
        label3_[c]->setText(LoadLangText(29004));
        label4_[c]->setText(LoadLangText(29005));
    }
    for (int i = 0; i < NoteCount; ++i) {
        const QString note = LoadLangText(29100 + i);
        label5_[i]->setText(note);
        combo3_[i]->setAccessibleName(note + QLatin1Char(' ') + LoadLangText(29004));
        combo4_[i]->setAccessibleName(note + QLatin1Char(' ') + LoadLangText(29005));
    }
    picture1_->setAccessibleName(LoadLangText(TxtDiagram));
    command1_->setText(LoadLangText(29006));
    command2_->setText(LoadLangText(29007));
    commandSaveWav_->setText(LoadLangText(TxtSaveWav));
    SetCloseHelpCaptions(this);
}

const ToneTipRec& FrmToneTips::tip() const {
    return doc_.RadioData.ToneTips.Tip[curToneTip_ - 1];
}

void FrmToneTips::editTip(const std::function<void(ToneTipRec&)>& f) {
    const int n = curToneTip_;
    doc_.EditToneTips([&](ToneTipsRec& tips) { f(tips.Tip[n - 1]); });
}

void FrmToneTips::ShowTip() {
    const ToneTipRec& t = tip();
    showEntry(combo1_, t.Repeat);
    showEntry(combo2_, t.Pause);
    for (int i = 0; i < NoteCount; ++i) {
        showEntry(combo3_[i], entryOfTone(t.Step[i].Tone));
        showEntry(combo4_[i], t.Step[i].Time);
    }
    picture1_->setTip(t);
}

void FrmToneTips::tabClick(int index) {
    if (index + 1 == curToneTip_ || index < 0) return;
    curToneTip_ = index + 1;
    ShowTip();
}

void FrmToneTips::combo1Click(int index) {
    editTip([index](ToneTipRec& t) { t.Repeat = static_cast<i16>(index); });
    doc_.RecheckRBTones();
}

void FrmToneTips::combo2Click(int index) {
    editTip([index](ToneTipRec& t) { t.Pause = static_cast<i16>(index); });
}

void FrmToneTips::combo3Click(int i, int index) {
    editTip([i, index](ToneTipRec& t) { t.Step[i].Tone = static_cast<i16>(toneOfEntry(index)); });
}

void FrmToneTips::combo4Click(int i, int index) {
    editTip([i, index](ToneTipRec& t) { t.Step[i].Time = static_cast<i16>(index); });
    doc_.RecheckRBTones();
}

void FrmToneTips::command1Click() {
    if (!player_->play(tip())) return;
    const bool hadFocus = command1_->hasFocus();
    command1_->setEnabled(false);
    // Stop is offered only while a tip plays.
    command2_->setEnabled(true);
    if (hadFocus) command2_->setFocus();
}

void FrmToneTips::command2Click() {
    player_->stop();
    playbackEnded();
}

void FrmToneTips::playbackEnded() {
    const bool hadFocus = command2_->hasFocus();
    command1_->setEnabled(hasOutput_);
    command2_->setEnabled(false);
    if (hadFocus && command1_->isEnabled()) command1_->setFocus();
}

void FrmToneTips::updateSoundState() {
    hasOutput_ = !ToneTipPlayer::outputDevice().isNull();
    command1_->setEnabled(hasOutput_ && !player_->isPlaying());
    command2_->setEnabled(player_->isPlaying());
    command1_->setToolTip(hasOutput_ ? QString() : LoadLangText(TxtNoOutput));
    statusMessage(hasOutput_ ? QString() : LoadLangText(TxtNoOutput));
}

void FrmToneTips::statusMessage(const QString& text) {
    // One message among the others: the newest message of the program is shown, whichever
    // window said it, and Window > Messages keeps this one.
    // Said once the window shows, where the main window hears it.
    if (text == lastStatus_ || !isVisible()) return;
    lastStatus_ = text;
    if (!text.isEmpty()) emit statusNote(text);
}

void FrmToneTips::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    // Only now does the window know the main window whose status bar it speaks through.
    updateSoundState();
}

void FrmToneTips::commandSaveWavClick() {
    QString dir = QDir::homePath();
    QString stem = QStringLiteral("tip");
    if (!doc_.IsNewFile) {
        const QFileInfo doc(doc_.CurFileName);
        dir = doc.absolutePath();
        stem = doc.completeBaseName() + QStringLiteral("-tip");
    }
    const QString preset =
        QDir(dir).filePath(stem + QString::number(curToneTip_) + QStringLiteral(".wav"));
    QString path =
        fileChooser_
            ? fileChooser_(preset)
            : QFileDialog::getSaveFileName(this, LoadLangText(TxtSaveWav), preset,
                                           LoadLangText(TxtWavFiles) + QStringLiteral(" (*.wav)"));
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".wav");
    saveWavTo(path);
}

bool FrmToneTips::saveWavTo(const QString& path) {
    QSaveFile file(path);
    QString error;
    bool ok = file.open(QIODevice::WriteOnly);
    if (!ok)
        error = file.errorString();
    else if (!(ok = sound::WriteTipWav(tip(), file, &error)))
        file.cancelWriting();
    else if (!(ok = file.commit()))
        error = file.errorString();
    if (!ok)
        doc_.prompter().message(MsgWavNotWritten, Prompter::Buttons::Ok, Prompter::Icon::Critical,
                                path + QStringLiteral(": ") + error);
    return ok;
}

void FrmToneTips::closeEvent(QCloseEvent* e) {
    player_->stop();
    statusMessage(QString());
    e->accept();
}

void FrmToneTips::closeWindow() {
    closeHostWindow(this);
}
