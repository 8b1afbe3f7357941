#include "captions.h"
#include "core/lang/langtext.h"

#include <QAbstractButton>
#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QWidget>

namespace {
void setCaption(QWidget* form, const char* name, int id) {
    if (auto* b = form->findChild<QAbstractButton*>(QLatin1String(name)))
        b->setText(LoadLangText(id));
}
} // namespace

void SetOKCancelCaptions(QWidget* form) {
    setCaption(form, "CommandOK", 9017);
    setCaption(form, "CommandCancel", 9018);
}

void SetCloseHelpCaptions(QWidget* form) {
    setCaption(form, "CommandClose", 9023);
    setCaption(form, "CommandHelp", 9025);
}

QString LangTextOr(int id, const char* fallback) {
    const QString t = LoadLangText(id);
    return t.isEmpty() ? QString::fromUtf8(fallback) : t;
}

QDialogButtonBox* OKCancelButtons(QDialog* dialog, std::function<void()> onOk) {
    auto* box = new QDialogButtonBox(dialog);
    QPushButton* ok = box->addButton(QString(), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("CommandOK"));
    ok->setDefault(true);
    QPushButton* cancel = box->addButton(QString(), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("CommandCancel"));
    SetOKCancelCaptions(box);
    if (onOk)
        QObject::connect(ok, &QPushButton::clicked, dialog, std::move(onOk));
    else
        QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    return box;
}

QString withoutAccessKey(const QString& text) {
    QString t = text;
    t.remove(QRegularExpression(QStringLiteral(R"(\(&[^&]\))")));
    t.replace(QRegularExpression(QStringLiteral("&(.)")), QStringLiteral("\\1"));
    return t;
}
