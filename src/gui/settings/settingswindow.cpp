#include "settingswindow.h"
#include "common/frmhelp.h"
#include "common/subwindow.h"
#include "lang/captions.h"

#include <QHBoxLayout>
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
    for (QPushButton* b : {close, help}) {
        b->setAutoDefault(true);
        buttons_->addWidget(b);
    }
    top->addLayout(buttons_);
    top->addStretch(1);
    SetCloseHelpCaptions(this);
    // Help opens the manual's chapter of the window (its object name is set by then).
    offerHelp(this);
    connect(close, &QPushButton::clicked, this, &SettingsWindow::closeWindow);
}

void SettingsWindow::closeWindow() {
    closeHostWindow(this);
}
