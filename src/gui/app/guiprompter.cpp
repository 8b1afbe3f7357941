#include "guiprompter.h"
#include "core/app/appstate.h"
#include "core/lang/langtext.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QMessageBox>

namespace {
QMessageBox::Icon boxIcon(Prompter::Icon icon) {
    switch (icon) {
    case Prompter::Icon::Critical:
        return QMessageBox::Critical;
    case Prompter::Icon::Question:
        return QMessageBox::Question;
    case Prompter::Icon::Warning:
        return QMessageBox::Warning;
    case Prompter::Icon::Information:
        return QMessageBox::Information;
    case Prompter::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons boxButtons(Prompter::Buttons buttons) {
    switch (buttons) {
    case Prompter::Buttons::Ok:
        return QMessageBox::Ok;
    case Prompter::Buttons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case Prompter::Buttons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case Prompter::Buttons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case Prompter::Buttons::RetryCancel:
        return QMessageBox::Retry | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

void captionFromLanguage(QMessageBox& box, QMessageBox::StandardButton which, int id) {
    if (QAbstractButton* b = box.button(which)) {
        const QString t = LoadLangText(id);
        if (!t.isEmpty()) b->setText(t);
    }
}
} // namespace

Prompter::Answer GuiPrompter::ask(const QString& text, Buttons buttons, Icon icon) {
    return askTitled(App().AppTitle, text, buttons, icon);
}

Prompter::Answer GuiPrompter::askTitled(const QString& title, const QString& text, Buttons buttons,
                                        Icon icon) {
    return run(title, text, buttons, icon, QString(), nullptr);
}

Prompter::Answer GuiPrompter::askWithCheck(const QString& text, Buttons buttons, Icon icon,
                                           const QString& checkText, bool* checked) {
    return run(App().AppTitle, text, buttons, icon, checkText, checked);
}

Prompter::Answer GuiPrompter::run(const QString& title, const QString& text, Buttons buttons,
                                  Icon icon, const QString& checkText, bool* checked) {
    // Over the modal window that asks (the progress window of a read), not behind it.
    QWidget* parent = QApplication::activeModalWidget();
    if (!parent) parent = parent_ ? parent_ : QApplication::activeWindow();
    QMessageBox box(boxIcon(icon), title, QString(text).replace(QLatin1String("\r\n"), "\n"),
                    boxButtons(buttons), parent);
    box.setObjectName(QStringLiteral("MsgBox"));
    captionFromLanguage(box, QMessageBox::Ok, 9017);
    captionFromLanguage(box, QMessageBox::Cancel, 9018);
    // Escape answers Cancel where there is one, else the only button (an OK box).
    if (box.button(QMessageBox::Cancel))
        box.setEscapeButton(QMessageBox::Cancel);
    else if (buttons == Buttons::YesNo)
        box.setEscapeButton(QMessageBox::No);
    QCheckBox* check = nullptr;
    if (checked) {
        check = new QCheckBox(checkText, &box);
        check->setObjectName(QStringLiteral("MsgBoxCheck"));
        check->setAccessibleName(checkText);
        check->setChecked(*checked);
        box.setCheckBox(check);
    }
    const int result = box.exec();
    if (check) *checked = check->isChecked();
    switch (result) {
    case QMessageBox::Cancel:
        return Answer::Cancel;
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Retry:
        return Answer::Retry;
    case QMessageBox::Ok:
        return Answer::Ok;
    default:
        break;
    }
    // A box closed without a button (its window closed) counts as the safe answer.
    switch (buttons) {
    case Buttons::Ok:
        return Answer::Ok;
    case Buttons::YesNo:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}
