#include "captions.h"
#include "core/lang/langtext.h"

#include <QAbstractButton>
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
