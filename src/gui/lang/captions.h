#pragma once

// Button captions that many windows share. The buttons are found by their object names, so
// every window that passes itself here names its buttons CommandOK / CommandCancel or
// CommandClose / CommandHelp.

class QWidget;
class QString;

// CommandOK gets text 9017, CommandCancel text 9018.
void SetOKCancelCaptions(QWidget* form);
// CommandClose gets text 9023, CommandHelp text 9025.
void SetCloseHelpCaptions(QWidget* form);
// A language text, or the fallback when the language file lacks it (texts this program added
// beyond the classic set, so that an older language file still shows something sensible).
QString LangTextOr(int id, const char* fallback);
