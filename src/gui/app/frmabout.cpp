#include "frmabout.h"

#include "core/lang/langtext.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

frmAbout::frmAbout(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(LoadLangText(24000));
    auto label = [this](const char* name, int id) {
        auto* l = new QLabel(LoadLangText(id), this);
        l->setObjectName(QLatin1String(name));
        l->setWordWrap(true);
        return l;
    };
    QLabel* title = label("lblTitle", 24001);
    QFont f = title->font();
    f.setPointSizeF(f.pointSizeF() * 1.4);
    f.setBold(true);
    title->setFont(f);
    QLabel* version = label("lblVersion", 24002);
    QLabel* description = label("lblDescription", 24003);
    QLabel* disclaimer = label("lblDisclaimer", 24004);
    disclaimer->setEnabled(false);

    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("picIcon"));
    icon->setPixmap(windowIcon().pixmap(64, 64));
    icon->setAlignment(Qt::AlignTop);

    auto* ok = new QPushButton(LoadLangText(24005), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* text = new QVBoxLayout;
    text->addWidget(title);
    text->addWidget(version);
    text->addSpacing(8);
    text->addWidget(description);
    text->addSpacing(8);
    text->addWidget(disclaimer);
    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addLayout(text, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    auto* all = new QVBoxLayout(this);
    all->addLayout(top);
    all->addStretch();
    all->addLayout(buttons);
    setMinimumWidth(420);
}
