#include "frmmessages.h"

#include "core/lang/langtext.h"
#include "core/lang/prompter.h"
#include "lang/captions.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

FrmMessages::FrmMessages(const QList<StatusEntry>& entries, Prompter& prompter, QWidget* parent)
    : QDialog(parent), prompter_(prompter) {
    setObjectName(QStringLiteral("FrmMessages"));
    setWindowTitle(withoutAccessKey(LoadLangText(27100)).remove(QStringLiteral("...")));
    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("ListMessages"));
    list_->setAccessibleName(windowTitle());
    list_->setRootIsDecorated(false);
    list_->setHeaderLabels({LoadLangText(27103), LoadLangText(27104), LoadLangText(27105)});
    list_->setWordWrap(true);
    for (auto it = entries.crbegin(); it != entries.crend(); ++it) {
        auto* row = new QTreeWidgetItem(list_);
        row->setText(0, it->time.toString(QStringLiteral("HH:mm:ss")));
        // The list shows the first line; the box below shows the whole message.
        row->setText(1, it->text.section(QLatin1Char('\n'), 0, 0));
        row->setData(1, Qt::UserRole, it->text);
        row->setToolTip(1, it->text);
        row->setText(2, QDir::toNativeSeparators(it->path));
        row->setData(2, Qt::UserRole, it->path);
    }
    list_->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    list_->header()->setSectionResizeMode(1, QHeaderView::Stretch);
    list_->setCurrentItem(list_->topLevelItem(0));

    open_ = new QPushButton(LoadLangText(27106), this);
    open_->setObjectName(QStringLiteral("CommandOpenFolder"));
    auto* close = new QPushButton(LoadLangText(9023), this);
    close->setObjectName(QStringLiteral("CommandClose"));
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(open_, &QPushButton::clicked, this, &FrmMessages::openChosenFolder);
    connect(list_, &QTreeWidget::itemActivated, this, &FrmMessages::openChosenFolder);
    whole_ = new QPlainTextEdit(this);
    whole_->setObjectName(QStringLiteral("TextMessage"));
    whole_->setReadOnly(true);
    whole_->setAccessibleName(LoadLangText(27104));
    const auto offer = [this] {
        QTreeWidgetItem* row = list_->currentItem();
        open_->setEnabled(row && !row->data(2, Qt::UserRole).toString().isEmpty());
        whole_->setPlainText(row ? row->data(1, Qt::UserRole).toString() : QString());
    };
    connect(list_, &QTreeWidget::currentItemChanged, this, offer);
    offer();

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(open_);
    buttons->addWidget(close);
    auto* all = new QVBoxLayout(this);
    auto* split = new QSplitter(Qt::Vertical, this);
    split->addWidget(list_);
    split->addWidget(whole_);
    split->setStretchFactor(0, 2);
    split->setStretchFactor(1, 1);
    all->addWidget(split, 1);
    all->addLayout(buttons);
    resize(700, 440);
}

void FrmMessages::openChosenFolder() {
    QTreeWidgetItem* row = list_->currentItem();
    const QString path = row ? row->data(2, Qt::UserRole).toString() : QString();
    if (path.isEmpty()) return;
    const QFileInfo f(path);
    openFolder(prompter_, f.isDir() ? f.absoluteFilePath() : f.absolutePath());
}

bool openFolder(Prompter& prompter, const QString& folder) {
    QDir().mkpath(folder);
    if (QDesktopServices::openUrl(QUrl::fromLocalFile(folder))) return true;
    prompter.message(9701, Prompter::Buttons::Ok, Prompter::Icon::Warning,
                     QDir::toNativeSeparators(folder));
    return false;
}
