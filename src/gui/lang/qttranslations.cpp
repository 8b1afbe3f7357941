#include "qttranslations.h"
#include "core/app/appstate.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

void ApplyQtTranslations() {
    static QTranslator* translator = nullptr;
    if (translator) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
        translator = nullptr;
    }
    if (App().CurLanguage != Language::Chinese) return;
    auto* t = new QTranslator;
    // Without the translations package the buttons simply stay in English.
    if (t->load(QStringLiteral("qtbase_zh_CN"),
                QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(t);
        translator = t;
    } else {
        delete t;
    }
}
