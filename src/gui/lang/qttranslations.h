#pragma once

// Qt's own texts (standard buttons, file dialogs) in the current language.
void ApplyQtTranslations();
