#include "settingswindow.h"
#include "common/frmhelp.h"
#include "common/subwindow.h"
#include "lang/captions.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
// A window whose captions wrap (a longer language in a window the screen keeps narrow) needs
// the height of their lines: it asks for it at every new width, and its host window grows.
class HeightForWrappedLines : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* o, QEvent* e) override {
        auto* w = static_cast<QWidget*>(o);
        QLayout* l = w->layout();
        if (e->type() != QEvent::Resize || !l || !l->hasHeightForWidth()) return false;
        const int need = l->totalHeightForWidth(w->width());
        if (need != w->minimumHeight()) {
            w->setMinimumHeight(need);
            if (auto* host = qobject_cast<QMdiSubWindow*>(w->parentWidget()))
                QMetaObject::invokeMethod(
                    host,
                    [host] { host->resize(host->size().expandedTo(host->minimumSizeHint())); },
                    Qt::QueuedConnection);
        }
        return false;
    }
};
} // namespace

SettingsWindow::SettingsWindow(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_DeleteOnClose);
    auto* top = new QVBoxLayout(this);
    body_ = new QVBoxLayout;
    top->addLayout(body_);
    buttons_ = new QHBoxLayout;
    buttons_->addStretch(1);
    auto* close = new QPushButton(this);
    close->setObjectName(QStringLiteral("CommandClose"));
    auto* help = new QPushButton(this);
    help->setObjectName(QStringLiteral("CommandHelp"));
    for (QPushButton* b : {close, help}) {
        b->setAutoDefault(true);
        buttons_->addWidget(b);
    }
    top->addLayout(buttons_);
    top->addStretch(1);
    SetCloseHelpCaptions(this);
    // Help opens the manual's chapter of the window (its object name is set by then).
    offerHelp(this);
    installEventFilter(new HeightForWrappedLines(this));
    connect(close, &QPushButton::clicked, this, &SettingsWindow::closeWindow);
}

void SettingsWindow::closeWindow() {
    closeHostWindow(this);
}
