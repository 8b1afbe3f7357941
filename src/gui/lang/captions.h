#pragma once

// Button captions that many windows share. The buttons are found by their object names, so
// every window that passes itself here names its buttons CommandOK / CommandCancel or
// CommandClose / CommandHelp.

#include <functional>

class QDialog;
class QDialogButtonBox;
class QWidget;
class QString;

// CommandOK gets text 9017, CommandCancel text 9018.
void SetOKCancelCaptions(QWidget* form);
// CommandClose gets text 9023, CommandHelp text 9025.
void SetCloseHelpCaptions(QWidget* form);
// A language text, or the fallback when the language file lacks it (texts this program added
// beyond the classic set, so that an older language file still shows something sensible).
QString LangTextOr(int id, const char* fallback);
// The OK and Cancel buttons of a dialog, named CommandOK and CommandCancel and captioned by
// SetOKCancelCaptions. OK runs onOk (accepts the dialog when none is given), Cancel rejects.
QDialogButtonBox* OKCancelButtons(QDialog* dialog, std::function<void()> onOk = {});
// A menu caption as plain text, for a title or a name read out: "Tool&bar" becomes
// "Toolbar", "工具栏(&B)" becomes "工具栏", "&&" stays one "&".
QString withoutAccessKey(const QString& text);
