#include "frmbackups.h"

#include "core/files/backups.h"
#include "core/lang/langtext.h"
#include "core/model/country.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {
constexpr int TxtPartlyWritten = 27202; // "partly written"
} // namespace

FrmBackups::FrmBackups(const QString& dir, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FrmBackups"));
    setWindowTitle(LoadLangText(12900));

    Label1_ = new QLabel(this);
    Label1_->setObjectName(QStringLiteral("Label1"));
    Label1_->setWordWrap(true);

    table_ = new QTableWidget(0, 4, this);
    table_->setObjectName(QStringLiteral("BackupList"));
    table_->setAccessibleName(LoadLangText(12900));
    table_->setHorizontalHeaderLabels(
        {LoadLangText(12901), LoadLangText(12907), LoadLangText(12902), LoadLangText(12903)});
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->setTabKeyNavigation(false);
    Label1_->setBuddy(table_);

    auto* buttons = new QDialogButtonBox(this);
    CommandOpen_ = buttons->addButton(LoadLangText(12904), QDialogButtonBox::AcceptRole);
    CommandOpen_->setObjectName(QStringLiteral("CommandOpen"));
    QPushButton* close = buttons->addButton(LoadLangText(12905), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("CommandClose"));
    connect(CommandOpen_, &QPushButton::clicked, this, &FrmBackups::openSelected);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(table_, &QTableWidget::cellDoubleClicked, this, &FrmBackups::openSelected);
    connect(table_, &QTableWidget::itemSelectionChanged, this,
            [this] { CommandOpen_->setEnabled(!table_->selectedItems().isEmpty()); });

    auto* l = new QVBoxLayout(this);
    l->addWidget(Label1_);
    l->addWidget(table_, 1);
    l->addWidget(buttons);
    resize(560, 420);
    fill(dir);
}

void FrmBackups::fill(const QString& dir) {
    const QList<BackupEntry> entries = BackupStore(dir).list();
    Label1_->setText(LoadLangText(entries.isEmpty() ? 12908 : 12906));
    table_->setRowCount(int(entries.size()));
    for (int r = 0; r < entries.size(); ++r) {
        const BackupEntry& e = entries[r];
        QString when = QLocale::c().toString(e.when, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        // A radio a write had left partly written: not a copy to go back to without a look.
        if (e.partlyWritten) when += QStringLiteral(" (") + LoadLangText(TxtPartlyWritten) + ')';
        auto* date = new QTableWidgetItem(when);
        date->setData(Qt::UserRole, e.path);
        date->setToolTip(e.path);
        table_->setItem(r, 0, date);
        table_->setItem(r, 1, new QTableWidgetItem(e.model));
        table_->setItem(r, 2, new QTableWidgetItem(ModeName(e.mode)));
        auto* count = new QTableWidgetItem(QString::number(e.channels));
        count->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        table_->setItem(r, 3, count);
    }
    table_->resizeColumnsToContents();
    if (!entries.isEmpty()) table_->selectRow(0);
    CommandOpen_->setEnabled(!entries.isEmpty());
    CommandOpen_->setDefault(true);
    table_->setFocus();
}

void FrmBackups::openSelected() {
    const int row = table_->currentRow();
    if (row < 0 || !table_->item(row, 0)) return;
    chosen_ = table_->item(row, 0)->data(Qt::UserRole).toString();
    accept();
}
