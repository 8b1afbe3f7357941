#include "settingswindow.h"
#include "lang/captions.h"

#include <QHBoxLayout>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QVBoxLayout>

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
    help->hide();
    for (QPushButton* b : {close, help}) {
        b->setAutoDefault(true);
        buttons_->addWidget(b);
    }
    top->addLayout(buttons_);
    top->addStretch(1);
    SetCloseHelpCaptions(this);
    connect(close, &QPushButton::clicked, this, &SettingsWindow::closeWindow);
}

void SettingsWindow::closeWindow() {
    for (QWidget* w = parentWidget(); w; w = w->parentWidget())
        if (auto* sub = qobject_cast<QMdiSubWindow*>(w)) {
            sub->close();
            return;
        }
    close();
}
