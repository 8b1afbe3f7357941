#include "frmsetcomm.h"
#include "virtualradioprocess.h"

#include "common/frmhelp.h"
#include "core/app/appstate.h"
#include "core/app/startup.h"
#include "core/lang/langtext.h"
#include "core/lang/prompter.h"
#include "core/link/connectiontest.h"
#include "core/link/portdoctor.h"
#include "core/link/portnames.h"
#include "lang/captions.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {
FrmSetComm::PortLister& lister() {
    static FrmSetComm::PortLister l;
    return l;
}

QList<PortEntry> listPorts() {
    return lister() ? lister()() : PresentPorts();
}

// The button (0 = COM1) that a device path or port name stands for; -1 for none.
int comButtonOf(const QString& port) {
    const QString path = PortDevicePath(port);
    const int n = ComNumberOf({QFileInfo(path).fileName(), path, QString()});
    return path.startsWith(QLatin1String("/dev/")) && n >= 1 && n <= 16 ? n - 1 : -1;
}

bool samePorts(const QList<PortEntry>& a, const QList<PortEntry>& b) {
    if (a.size() != b.size()) return false;
    for (int i = 0; i < a.size(); ++i)
        if (a[i].systemLocation != b[i].systemLocation || a[i].description != b[i].description)
            return false;
    return true;
}
} // namespace

void FrmSetComm::setPortLister(PortLister l) {
    lister() = std::move(l);
}

FrmSetComm::FrmSetComm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FrmSetComm"));
    setWindowTitle(LoadLangText(22000));

    auto* frame1 = new QGroupBox(LoadLangText(22001), this);
    frame1->setObjectName(QStringLiteral("Frame1"));
    auto* grid = new QGridLayout(frame1);
    group_ = new QButtonGroup(this);
    for (int i = 0; i < 16; ++i) {
        Option1_[i] = new QRadioButton(LoadLangText(22002) + QString::number(i + 1), frame1);
        Option1_[i]->setObjectName(QStringLiteral("Option1_%1").arg(i));
        group_->addButton(Option1_[i], i);
        grid->addWidget(Option1_[i], i / 4, i % 4);
    }
    connect(group_, &QButtonGroup::idClicked, this, [this] {
        syncing_ = true;
        ListPorts_->clearSelection();
        ListPorts_->setCurrentItem(nullptr);
        TextPath_->clear();
        syncing_ = false;
    });

    auto* frame2 = new QGroupBox(LangTextOr(22003, "Other ports"), this);
    frame2->setObjectName(QStringLiteral("Frame2"));
    ListPorts_ = new QListWidget(frame2);
    ListPorts_->setObjectName(QStringLiteral("ListPorts"));
    // A list is named only by its own name: the frame's title says what it holds.
    ListPorts_->setAccessibleName(frame2->title());
    ListPorts_->setSelectionMode(QAbstractItemView::SingleSelection);
    // Room for a handful of ports; more scroll.
    ListPorts_->setFixedHeight(ListPorts_->fontMetrics().height() * 6 + 8);
    auto* pathLabel = new QLabel(LangTextOr(22005, "Device path:"), frame2);
    pathLabel->setObjectName(QStringLiteral("LabelPath"));
    TextPath_ = new QLineEdit(frame2);
    TextPath_->setObjectName(QStringLiteral("TextPath"));
    TextPath_->setPlaceholderText(QStringLiteral("/dev/ttyUSB0"));
    pathLabel->setBuddy(TextPath_);
    connect(ListPorts_, &QListWidget::itemSelectionChanged, this, [this] {
        if (syncing_ || ListPorts_->selectedItems().isEmpty()) return;
        syncing_ = true;
        clearButtons();
        TextPath_->clear();
        syncing_ = false;
    });
    connect(TextPath_, &QLineEdit::textEdited, this, [this](const QString& t) {
        if (syncing_ || t.trimmed().isEmpty()) return;
        syncing_ = true;
        clearButtons();
        ListPorts_->clearSelection();
        ListPorts_->setCurrentItem(nullptr);
        syncing_ = false;
    });
    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(pathLabel);
    pathRow->addWidget(TextPath_, 1);
    auto* f2 = new QVBoxLayout(frame2);
    f2->addWidget(ListPorts_);
    f2->addLayout(pathRow);

    test_ = new ConnectionTest(this);
    CommandTest_ = new QPushButton(LangTextOr(22006, "&Test Connection"), this);
    CommandTest_->setObjectName(QStringLiteral("CommandTest"));
    CommandTest_->setAutoDefault(false);
    LabelTestResult_ = new QLabel(this);
    LabelTestResult_->setObjectName(QStringLiteral("LabelTestResult"));
    LabelTestResult_->setWordWrap(true);
    LabelTestResult_->setTextInteractionFlags(Qt::TextSelectableByMouse |
                                              Qt::TextSelectableByKeyboard);
    LabelTestResult_->setAccessibleName(LangTextOr(22008, "Result of the connection test"));
    connect(CommandTest_, &QPushButton::clicked, this, &FrmSetComm::CommandTest_Click);
    connect(test_, &ConnectionTest::finished, this, [this](bool ok, const QString& text) {
        CommandTest_->setEnabled(true);
        QString shown = (ok ? QStringLiteral("✔ ") : QStringLiteral("✘ ")) + text;
        if (!testNotes_.isEmpty()) shown += QLatin1Char('\n') + testNotes_;
        showTestResult(shown);
        emit testFinished(shown);
    });
    // The result takes room only once there is one: the dialog must fit small screens.
    LabelTestResult_->hide();
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(CommandTest_);
    bottom->addStretch(1);

    auto* buttons = OKCancelButtons(this, [this] { CommandOK_Click(); });
    auto* help = new QPushButton(LoadLangText(9025), this);
    help->setObjectName(QStringLiteral("CommandHelp"));
    help->setAutoDefault(false);
    connect(help, &QPushButton::clicked, this,
            [this] { showHelp(this, FrmHelp::topicFor(objectName())); });
    bottom->addWidget(help);

    auto* l = new QVBoxLayout(this);
    l->addWidget(frame1);
    l->addWidget(frame2, 1);
    l->addWidget(LabelTestResult_);
    bottom->addWidget(buttons);
    l->addLayout(bottom);
    // The dialog grows with a test result instead of squeezing the list of ports under the
    // device path row.
    l->setSizeConstraint(QLayout::SetMinimumSize);
    setMinimumWidth(420);

    ComputeAvailability();
    selectCurrentChoice();

    ReCommTimer_ = new QTimer(this);
    ReCommTimer_->setObjectName(QStringLiteral("ReCommTimer"));
    ReCommTimer_->setInterval(1000);
    connect(ReCommTimer_, &QTimer::timeout, this, &FrmSetComm::RefreshPorts);
    ReCommTimer_->start();
    connect(this, &QDialog::finished, ReCommTimer_, &QTimer::stop);
}

FrmSetComm::~FrmSetComm() = default;

void FrmSetComm::ComputeAvailability() {
    const QList<PortEntry> ports = listPorts();
    bool present[16] = {};
    for (const PortEntry& p : ports)
        if (const int n = ComNumberOf(p); n >= 1 && n <= 16) present[n - 1] = true;
    for (int i = 0; i < 16; ++i)
        Option1_[i]->setEnabled(App().IsVista != 0 || present[i]);
    fillPortList(ports);
}

void FrmSetComm::fillPortList(const QList<PortEntry>& ports) {
    const bool virtualRadio = VirtualRadioProcess::available();
    if (ListPorts_->count() > 0 && samePorts(ports, shownPorts_) &&
        (ListPorts_->count() == ports.size() + (virtualRadio ? 1 : 0)))
        return;
    shownPorts_ = ports;
    const QListWidgetItem* cur = ListPorts_->currentItem();
    const QString selected =
        cur && cur->isSelected() ? cur->data(Qt::UserRole).toString() : QString();
    syncing_ = true;
    ListPorts_->clear();
    for (const PortEntry& p : ports) {
        // /dev/ttyS0 is COM1: a numbered port is chosen with its button, never twice.
        if (const int n = ComNumberOf(p); n >= 1 && n <= 16) continue;
        QString text = p.systemLocation;
        if (!p.description.isEmpty())
            text += QStringLiteral("  (") + p.description + QLatin1Char(')');
        auto* item = new QListWidgetItem(text, ListPorts_);
        item->setData(Qt::UserRole, p.storedName());
        item->setToolTip(p.details.isEmpty() ? text : p.details);
    }
    if (virtualRadio) {
        auto* item = new QListWidgetItem(VirtualRadioProcess::displayName(), ListPorts_);
        item->setData(Qt::UserRole, VirtualRadioProcess::portSetting());
    }
    for (int i = 0; i < ListPorts_->count(); ++i)
        if (!selected.isEmpty() && ListPorts_->item(i)->data(Qt::UserRole) == selected)
            ListPorts_->setCurrentRow(i);
    syncing_ = false;
}

void FrmSetComm::selectCurrentChoice() {
    const AppState& a = App();
    syncing_ = true;
    if (a.PortName.isEmpty() || comButtonOf(a.PortName) >= 0) {
        const int port = a.PortName.isEmpty() ? a.ComPort : comButtonOf(a.PortName) + 1;
        // A port number outside 1..16 has no button: nothing is shown selected, and OK keeps
        // it unless another port is chosen.
        if (port >= 1 && port <= 16) Option1_[port - 1]->setChecked(true);
    } else {
        const QString chosen = VirtualRadioProcess::isVirtual(a.PortName)
                                   ? VirtualRadioProcess::portSetting()
                                   : a.PortName;
        bool listed = false;
        for (int i = 0; i < ListPorts_->count() && !listed; ++i)
            if (ListPorts_->item(i)->data(Qt::UserRole).toString() == chosen) {
                ListPorts_->setCurrentRow(i);
                listed = true;
            }
        // Pseudo-terminals and links are never listed by the system: the path shows typed.
        if (!listed) TextPath_->setText(a.PortName);
    }
    syncing_ = false;
}

void FrmSetComm::clearButtons() {
    group_->setExclusive(false);
    for (QRadioButton* b : Option1_)
        b->setChecked(false);
    group_->setExclusive(true);
}

int FrmSetComm::checkedButton() const {
    for (int i = 15; i >= 0; --i)
        if (Option1_[i]->isChecked()) return i;
    return -1;
}

void FrmSetComm::RefreshPorts() {
    const int noted = checkedButton();
    ComputeAvailability();
    if (noted >= 0) Option1_[noted]->setChecked(true);
}

QString FrmSetComm::chosenPort() const {
    const QListWidgetItem* item = ListPorts_->currentItem();
    if (const int b = checkedButton(); b >= 0) return QStringLiteral("COM%1").arg(b + 1);
    if (item && item->isSelected()) return item->data(Qt::UserRole).toString();
    return TextPath_->text().trimmed();
}

void FrmSetComm::showTestResult(const QString& text) {
    LabelTestResult_->setText(text);
    LabelTestResult_->show();
}

void FrmSetComm::CommandTest_Click() {
    const QString port = chosenPort();
    if (port.isEmpty() || test_->running()) return;
    QString session = port;
    if (VirtualRadioProcess::isVirtual(port)) {
        QString why;
        if (!VirtualRadioProcess::instance().ensureRunning(&why)) {
            showTestResult(QStringLiteral("✘ ") + why);
            return;
        }
        session = VirtualRadioProcess::sessionPort(port);
    }
    // What keeps the port from being opened is told with its fix before the radio is asked.
    QStringList problems;
    const DoctorReport report = CheckPort(session);
    for (const DoctorFinding& f : report.findings)
        if (f.level != DoctorFinding::Level::Ok)
            problems << QStringLiteral("✘ ") + f.text + QLatin1Char(' ') + f.fix;
    if (!report.portUsable) {
        showTestResult(problems.join(QLatin1Char('\n')));
        return;
    }
    testNotes_ = problems.join(QLatin1Char('\n'));
    showTestResult(LangTextOr(22007, "Asking the radio who it is..."));
    CommandTest_->setEnabled(false);
    test_->start(session);
}

void FrmSetComm::CommandOK_Click() {
    AppState& a = App();
    const QListWidgetItem* item = ListPorts_->currentItem();
    if (const int b = checkedButton(); b >= 0) {
        a.ComPort = b + 1;
        a.PortName.clear();
    } else if (item && item->isSelected()) {
        a.PortName = item->data(Qt::UserRole).toString();
    } else if (const QString typed = TextPath_->text().trimmed(); !typed.isEmpty()) {
        // A typed /dev/ttyS3 is the COM4 button's choice.
        if (const int n = comButtonOf(typed); n >= 0) {
            a.ComPort = n + 1;
            a.PortName.clear();
        } else {
            // A path that is not there now may be a cable not yet plugged in: asked, not
            // refused.
            const QString device = PortDevicePath(typed);
            if (prompter_ && !QFileInfo::exists(device) &&
                prompter_->ask(
                    DescribeOpenFailure(device, QSerialPort::DeviceNotFoundError, QString()) +
                        QStringLiteral("\n\n") + LoadLangText(27614),
                    Prompter::Buttons::YesNo, Prompter::Icon::Question) != Prompter::Answer::Yes)
                return;
            a.PortName = typed;
        }
    }
    // A file that cannot be written changes the port for this run all the same.
    WritePortSettings();
    accept();
}
