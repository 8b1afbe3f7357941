#include "qttranslations.h"
#include "core/lang/languages.h"

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
    const QString code = CurrentLangLocale();
    if (code == QLatin1String("en")) return;
    // Qt names its Chinese by the territory: the Simplified Chinese of chinese.ini is zh_CN.
    const QString name = code == QLatin1String("zh") ? QStringLiteral("zh_CN") : code;
    auto* t = new QTranslator;
    // Without the translations package the buttons simply stay in English.
    if (t->load(QStringLiteral("qtbase_") + name,
                QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(t);
        translator = t;
    } else {
        delete t;
    }
}
