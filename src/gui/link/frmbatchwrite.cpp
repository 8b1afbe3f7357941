#include "frmbatchwrite.h"

#include "core/files/batchlog.h"
#include "core/lang/langtext.h"
#include "core/lang/prompter.h"
#include "core/link/portnames.h"
#include "core/model/document.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {
// The question of Cancel during a write: the radio would hold a partly written memory.
constexpr int TxtStopWrite = 9810;
constexpr int TxtReadingBusy = 27600;    // the big line while the information is read
constexpr int TxtWritingBusy = 27601;    // %1 the serial number
constexpr int TxtVerifyingBusy = 27602;  // %1 the serial number
constexpr int TxtBackupBusy = 27603;     // %1 the serial number
constexpr int TxtEndWriteAgain = 27604;  // %1 radios, %2 verified, %3 not, %4 serials to write
constexpr int TxtEndNotAll = 27605;      // %1 radios, %2 verified, %3 not
constexpr int TxtEndAllVerified = 27606; // %1 radios
constexpr int TxtBatchEnded = 27607;
constexpr int TxtPort = 27609;

const QColor Good(0x2e, 0x7d, 0x32);
const QColor Bad(0xc6, 0x28, 0x28);
} // namespace

FrmBatchWrite::FrmBatchWrite(Document& doc, const QString& port, Prompter& prompter,
                             QWidget* parent)
    : QDialog(parent), doc_(doc), prompter_(prompter), port_(port), writer_(doc) {
    setObjectName(QStringLiteral("FrmBatchWrite"));
    setWindowTitle(LoadLangText(26001));
    setModal(true);

    LabelDocument_ = new QLabel(QDir::toNativeSeparators(doc.CurFileName), this);
    LabelDocument_->setObjectName(QStringLiteral("LabelDocument"));
    LabelDocument_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // The port can be changed here before Start, for this batch only.
    ComboPort_ = new QComboBox(this);
    ComboPort_->setObjectName(QStringLiteral("ComboPort"));
    ComboPort_->setEditable(true);
    ComboPort_->setInsertPolicy(QComboBox::NoInsert);
    QStringList ports = PresentPortPaths();
    ports.removeAll(port);
    if (!port.isEmpty()) ports.prepend(port);
    ComboPort_->addItems(ports);
    ComboPort_->setCurrentText(port);
    TextLog_ = new QLineEdit(QDir::toNativeSeparators(BatchLog::defaultPath()), this);
    TextLog_->setObjectName(QStringLiteral("TextLog"));
    CommandBrowse_ = new QPushButton(LoadLangText(26004), this);
    CommandBrowse_->setObjectName(QStringLiteral("CommandBrowse"));
    CommandBrowse_->setAutoDefault(false);
    SpinCount_ = new QSpinBox(this);
    SpinCount_->setObjectName(QStringLiteral("SpinCount"));
    SpinCount_->setRange(0, 9999);
    // 0 runs until Stop.
    SpinCount_->setSpecialValueText(QStringLiteral("-"));
    CheckBackup_ = new QCheckBox(LoadLangText(26006), this);
    CheckBackup_->setObjectName(QStringLiteral("CheckBackup"));
    CheckBackup_->setChecked(false); // a backup costs a read of every radio

    auto* logRow = new QHBoxLayout;
    logRow->addWidget(TextLog_, 1);
    logRow->addWidget(CommandBrowse_);
    auto* form = new QFormLayout;
    auto* docLabel = new QLabel(LoadLangText(26002), this);
    docLabel->setBuddy(LabelDocument_);
    LabelDocument_->setAccessibleName(docLabel->text());
    auto* logLabel = new QLabel(LoadLangText(26003), this);
    logLabel->setBuddy(TextLog_);
    auto* portLabel = new QLabel(LoadLangText(TxtPort), this);
    portLabel->setBuddy(ComboPort_);
    ComboPort_->setAccessibleName(LoadLangText(TxtPort));
    auto* countLabel = new QLabel(LoadLangText(26005), this);
    countLabel->setBuddy(SpinCount_);
    form->addRow(docLabel, LabelDocument_);
    form->addRow(portLabel, ComboPort_);
    form->addRow(logLabel, logRow);
    form->addRow(countLabel, SpinCount_);
    form->addRow(CheckBackup_);

    // Read from a step away: large, and green or red once a radio is done.
    LabelResult_ = new QLabel(this);
    LabelResult_->setObjectName(QStringLiteral("LabelResult"));
    LabelResult_->setAlignment(Qt::AlignCenter);
    LabelResult_->setWordWrap(true);
    LabelResult_->setMinimumHeight(120);
    LabelResult_->setAutoFillBackground(true);
    QFont big = LabelResult_->font();
    big.setPointSizeF(big.pointSizeF() * 2.4);
    big.setBold(true);
    LabelResult_->setFont(big);
    LabelResult_->setAccessibleName(LoadLangText(26024));
    LabelStep_ = new QLabel(this);
    LabelStep_->setObjectName(QStringLiteral("LabelStep"));
    LabelStep_->setWordWrap(true);
    ProgressBar1_ = new QProgressBar(this);
    ProgressBar1_->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1_->setRange(0, 100);
    ProgressBar1_->setAccessibleName(LoadLangText(26025));
    ListRadios_ = new QListWidget(this);
    ListRadios_->setObjectName(QStringLiteral("ListRadios"));
    ListRadios_->setAccessibleName(LoadLangText(26026));

    CommandStart_ = new QPushButton(LoadLangText(26007), this);
    CommandStart_->setObjectName(QStringLiteral("CommandStart"));
    CommandStop_ = new QPushButton(LoadLangText(26008), this);
    CommandStop_->setObjectName(QStringLiteral("CommandStop"));
    CommandStop_->setAutoDefault(false);
    CommandClose_ = new QPushButton(LoadLangText(26010), this);
    CommandClose_->setObjectName(QStringLiteral("CommandClose"));
    CommandClose_->setAutoDefault(false);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(CommandStart_, QDialogButtonBox::ActionRole);
    buttons->addButton(CommandStop_, QDialogButtonBox::ActionRole);
    buttons->addButton(CommandClose_, QDialogButtonBox::RejectRole);

    auto* l = new QVBoxLayout(this);
    l->addLayout(form);
    l->addWidget(LabelResult_);
    l->addWidget(LabelStep_);
    l->addWidget(ProgressBar1_);
    l->addWidget(ListRadios_, 1);
    l->addWidget(buttons);
    // At least 560 pixels wide, and as wide as the longest text needs (a minimum width set
    // here would keep the layout from widening the dialog for a longer language).
    resize(std::max(560, sizeHint().width()), sizeHint().height());

    connect(CommandBrowse_, &QPushButton::clicked, this, [this] {
        const QString preset = QDir::fromNativeSeparators(TextLog_->text());
        const QString path = chooseLog_
                                 ? chooseLog_(preset)
                                 : QFileDialog::getSaveFileName(
                                       this, LoadLangText(26003), preset,
                                       LoadLangText(26023) + QStringLiteral(" (*.csv)"), nullptr,
                                       // The log is appended to: an existing file is no overwrite.
                                       QFileDialog::DontConfirmOverwrite);
        if (!path.isEmpty()) TextLog_->setText(QDir::toNativeSeparators(path));
    });
    connect(CommandStart_, &QPushButton::clicked, this, &FrmBatchWrite::startBatch);
    connect(CommandStop_, &QPushButton::clicked, this, &FrmBatchWrite::stopBatch);
    connect(CommandClose_, &QPushButton::clicked, this, &FrmBatchWrite::reject);
    connect(&writer_, &BatchWriter::phaseChanged, this, &FrmBatchWrite::onPhase);
    connect(&writer_, &BatchWriter::radioDone, this, &FrmBatchWrite::onRadioDone);
    connect(&writer_, &BatchWriter::finished, this, &FrmBatchWrite::onFinished);
    connect(&writer_, &BatchWriter::progress, this, &FrmBatchWrite::showProgress);
    writer_.setConfirmRepeat([this](const QString& serial) {
        return prompter_.ask(LoadLangText(26022).arg(serial), Prompter::Buttons::YesNo,
                             Prompter::Icon::Question) == Prompter::Answer::Yes;
    });
    // Stop Now during a write asks as Cancel in the progress window does.
    writer_.setConfirmStopWrite([this] {
        return prompter_.message(TxtStopWrite, Prompter::Buttons::YesNo, Prompter::Icon::Warning) ==
               Prompter::Answer::Yes;
    });
    updateButtons();
}

FrmBatchWrite::~FrmBatchWrite() = default;

void FrmBatchWrite::startBatch() {
    if (writer_.running()) return;
    port_ = ComboPort_->currentText().trimmed();
    // A port that is not there would be asked about once a second for ever: it is named now.
    const QString device = PortDevicePath(port_);
    if (port_.isEmpty() || !QFileInfo::exists(device)) {
        const QString why =
            port_.isEmpty()
                ? LoadLangText(9859)
                : DescribeOpenFailure(device, QSerialPort::DeviceNotFoundError, QString());
        showResult(why, false);
        LabelStep_->clear();
        return;
    }
    BatchSettings s;
    s.port = port_;
    s.logPath = QDir::fromNativeSeparators(TextLog_->text().trimmed());
    s.documentPath = QFileInfo(doc_.CurFileName).absoluteFilePath();
    s.count = SpinCount_->value();
    s.backupFirst = CheckBackup_->isChecked();
    if (!password_.isEmpty()) s.password = password_;
    QString why;
    if (!writer_.start(s, &why)) {
        prompter_.ask(LoadLangText(26021).arg(why), Prompter::Buttons::Ok,
                      Prompter::Icon::Critical);
        return;
    }
    ListRadios_->clear();
    writeAgain_.clear();
    updateButtons();
}

void FrmBatchWrite::stopBatch() {
    if (!writer_.running()) return;
    if (writer_.stopRequested()) {
        writer_.stopNow();
    } else {
        writer_.stopAfterCurrent();
        if (writer_.running()) LabelStep_->setText(LoadLangText(26027));
    }
    updateButtons();
}

void FrmBatchWrite::showResult(const QString& text, bool good) {
    busyText_.clear();
    LabelResult_->setText(text);
    QPalette p = LabelResult_->palette();
    p.setColor(QPalette::Window, good ? Good : Bad);
    p.setColor(QPalette::WindowText, Qt::white);
    LabelResult_->setPalette(p);
    LabelResult_->setProperty("good", good);
}

void FrmBatchWrite::showBusy(const QString& text) {
    busyText_ = text;
    LabelResult_->setText(text);
    LabelResult_->setPalette(QPalette());
    LabelResult_->setProperty("good", QVariant());
}

void FrmBatchWrite::showProgress(int percent) {
    ProgressBar1_->setValue(percent);
    if (!busyText_.isEmpty())
        LabelResult_->setText(QStringLiteral("%1\n%2 %").arg(busyText_).arg(percent));
}

void FrmBatchWrite::onPhase(BatchPhase phase) {
    const QString serial = writer_.currentSerial();
    ProgressBar1_->setValue(0); // each exchange counts from the start
    switch (phase) {
    // The big line says what the dealer is to do now: connect a radio, or leave the one being
    // written alone; the result of the last radio stays in the list and the line below.
    case BatchPhase::WaitingForRadio:
        if (writer_.handled() == 0)
            LabelStep_->setText(LoadLangText(26011));
        else
            LabelStep_->setText(lastResult_);
        showBusy(QString());
        LabelResult_->setText(LoadLangText(26011));
        break;
    case BatchPhase::ReadingInfo:
        LabelStep_->setText(LoadLangText(26015));
        showBusy(LoadLangText(TxtReadingBusy));
        break;
    case BatchPhase::BackingUp:
        LabelStep_->setText(LoadLangText(26016).arg(serial));
        showBusy(LoadLangText(TxtBackupBusy).arg(serial));
        break;
    case BatchPhase::Writing:
        LabelStep_->setText(LoadLangText(26017).arg(serial));
        showBusy(LoadLangText(TxtWritingBusy).arg(serial));
        break;
    case BatchPhase::Verifying:
        LabelStep_->setText(LoadLangText(26018).arg(serial));
        showBusy(LoadLangText(TxtVerifyingBusy).arg(serial));
        break;
    case BatchPhase::WaitingForRemoval:
        LabelStep_->setText(LoadLangText(26019));
        break;
    case BatchPhase::Idle:
    case BatchPhase::Finished:
        break;
    }
    if (writer_.stopRequested() && writer_.running()) LabelStep_->setText(LoadLangText(26027));
}

void FrmBatchWrite::onRadioDone(const BatchLogEntry& e) {
    const QString serial = e.serialNo.isEmpty() ? QStringLiteral("?") : e.serialNo;
    if (e.outcome == BatchOutcome::Verified) {
        const int count = writer_.settings().count;
        showResult(count > 0 ? LoadLangText(26012).arg(serial).arg(writer_.handled()).arg(count)
                             : LoadLangText(26013).arg(serial).arg(writer_.handled()),
                   true);
    } else {
        showResult(LoadLangText(26014).arg(serial, e.resultText()), false);
        // A radio that was refused was not touched; one that failed or differed needs writing.
        if (e.outcome != BatchOutcome::Refused && !e.serialNo.isEmpty() &&
            !writeAgain_.contains(e.serialNo))
            writeAgain_.append(e.serialNo);
    }
    lastResult_ = LabelResult_->text();
    ListRadios_->addItem(e.when.toString(QStringLiteral("HH:mm:ss")) + QStringLiteral("  ") +
                         serial + QStringLiteral("  ") + e.resultText());
    ListRadios_->scrollToBottom();
}

void FrmBatchWrite::onFinished(const QString& error) {
    LabelStep_->setText(LoadLangText(26020).arg(writer_.handled()).arg(writer_.verified()));
    ProgressBar1_->setValue(0);
    updateButtons();
    if (closeWhenDone_) {
        QDialog::reject();
        return;
    }
    if (!error.isEmpty()) {
        const QString said = LoadLangText(26021).arg(error);
        showResult(said, false);
        prompter_.ask(said, Prompter::Buttons::Ok, Prompter::Icon::Critical);
        return;
    }
    // The end in the big line too: green only when every radio verified.
    const int handled = writer_.handled();
    const int verified = writer_.verified();
    const QString ended = LoadLangText(TxtBatchEnded);
    if (handled == 0) {
        showBusy(QString());
        LabelResult_->setText(ended);
    } else if (verified == handled) {
        showResult(ended + QLatin1Char('\n') + LoadLangText(TxtEndAllVerified).arg(handled), true);
    } else if (!writeAgain_.isEmpty()) {
        showResult(ended + QLatin1Char('\n') +
                       LoadLangText(TxtEndWriteAgain)
                           .arg(handled)
                           .arg(verified)
                           .arg(handled - verified)
                           .arg(writeAgain_.join(QStringLiteral(", "))),
                   false);
    } else {
        showResult(
            ended + QLatin1Char('\n') +
                LoadLangText(TxtEndNotAll).arg(handled).arg(verified).arg(handled - verified),
            false);
    }
}

void FrmBatchWrite::updateButtons() {
    const bool running = writer_.running();
    CommandStart_->setEnabled(!running);
    CommandStop_->setEnabled(running);
    CommandStop_->setText(LoadLangText(running && writer_.stopRequested() ? 26009 : 26008));
    for (QWidget* w : {static_cast<QWidget*>(TextLog_), static_cast<QWidget*>(CommandBrowse_),
                       static_cast<QWidget*>(ComboPort_), static_cast<QWidget*>(SpinCount_),
                       static_cast<QWidget*>(CheckBackup_)})
        w->setEnabled(!running);
}

void FrmBatchWrite::closeEvent(QCloseEvent* e) {
    // Closing is Stop at once: a radio in the middle of an exchange is told to leave
    // programming mode and logged. A write whose blocks have all gone is let finish first, so
    // that its line reaches the log.
    if (writer_.running()) writer_.stopNow();
    if (writer_.running()) {
        closeWhenDone_ = true;
        e->ignore();
        return;
    }
    QDialog::closeEvent(e);
}

void FrmBatchWrite::reject() {
    if (writer_.running()) writer_.stopNow();
    if (writer_.running()) {
        closeWhenDone_ = true;
        return;
    }
    QDialog::reject();
}
