#include "channelfindbar.h"
#include "channelgridview.h"
#include "frmcommchinfo.h"

#include "core/lang/langtext.h"
#include "core/model/channelfind.h"
#include "core/model/document.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QShortcut>

ChannelFindBar::ChannelFindBar(Document& doc, frmCommChInfo& table, QWidget* parent)
    : QWidget(parent), doc_(doc), table_(table) {
    setObjectName(QStringLiteral("findBar"));
    auto* h = new QHBoxLayout(this);
    h->setContentsMargins(0, 0, 0, 0);
    label_ = new QLabel(this);
    text_ = new QLineEdit(this);
    text_->setObjectName(QStringLiteral("findText"));
    label_->setBuddy(text_);
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("findStatus"));
    h->addWidget(label_);
    h->addWidget(text_, 1);
    h->addWidget(status_, 1);
    connect(text_, &QLineEdit::returnPressed, this, [this] { findNext(); });
    text_->installEventFilter(this);
    // F3 and Shift+F3 work wherever the focus is in the table window.
    auto* next = new QShortcut(QKeySequence(Qt::Key_F3), &table_);
    next->setContext(Qt::WidgetWithChildrenShortcut);
    connect(next, &QShortcut::activated, this, [this] { findNext(false); });
    auto* previous = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3), &table_);
    previous->setContext(Qt::WidgetWithChildrenShortcut);
    connect(previous, &QShortcut::activated, this, [this] { findNext(true); });
    changeLanguage();
    hide();
}

void ChannelFindBar::changeLanguage() {
    label_->setText(LoadLangText(14985));
    text_->setAccessibleName(LoadLangText(14984));
}

void ChannelFindBar::open() {
    show();
    text_->setFocus(Qt::ShortcutFocusReason);
    text_->selectAll();
}

QString ChannelFindBar::status() const {
    return status_->text();
}

void ChannelFindBar::findNext(bool backwards) {
    if (!isVisible()) {
        open();
        if (text_->text().trimmed().isEmpty()) return;
    }
    const QString query = text_->text();
    // The document may have changed since the last search: the matches are found anew.
    const QList<ChannelHit> hits = FindChannels(doc_, query);
    if (hits.isEmpty()) {
        status_->setText(LoadLangText(14983));
        lastQuery_ = query;
        return;
    }
    int first = 0, last = 0;
    const ChannelHit here{table_.shownGroup(), table_.selectedRows(&first, &last) ? first : 0};
    auto before = [](const ChannelHit& a, const ChannelHit& b) {
        return a.group != b.group ? a.group < b.group : a.row < b.row;
    };
    // A new query starts at the current row itself; a repeated one moves on.
    const bool fresh = query != lastQuery_;
    lastQuery_ = query;
    qsizetype at = -1;
    if (!backwards) {
        for (qsizetype i = 0; i < hits.size() && at < 0; ++i)
            if (before(here, hits[i]) || (fresh && hits[i] == here)) at = i;
        if (at < 0) at = 0;
    } else {
        for (qsizetype i = hits.size() - 1; i >= 0 && at < 0; --i)
            if (before(hits[i], here) || (fresh && hits[i] == here)) at = i;
        if (at < 0) at = hits.size() - 1;
    }
    const ChannelHit hit = hits[at];
    table_.showGroup(hit.group);
    table_.selectRows(hit.row, hit.row);
    status_->setText(LoadLangText(14982)
                         .replace(QLatin1String("%1"), QString::number(at + 1))
                         .replace(QLatin1String("%2"), QString::number(hits.size())));
}

bool ChannelFindBar::eventFilter(QObject* watched, QEvent* e) {
    if (watched == text_ && e->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(e)->key() == Qt::Key_Escape) {
        hide();
        table_.grid()->setFocus();
        return true;
    }
    return QWidget::eventFilter(watched, e);
}
