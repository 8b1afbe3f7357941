#include "chinesefont.h"

#include "core/app/appstate.h"
#include "core/lang/langtext.h"

#include <QDir>
#include <QFontDatabase>

namespace {
std::function<bool()>& check() {
    static std::function<bool()> c;
    return c;
}
} // namespace

bool ChineseFontInstalled() {
    if (check()) return check()();
    return !QFontDatabase::families(QFontDatabase::SimplifiedChinese).isEmpty();
}

void SetChineseFontCheck(std::function<bool()> c) {
    check() = std::move(c);
}

QString MissingChineseFontText() {
    const QString t =
        LoadLangTextFrom(QDir(App().langDir()).filePath(QStringLiteral("english.ini")), 9813);
    return t.isEmpty() ? QStringLiteral("No installed font can show Chinese text. Install a "
                                        "Chinese font (sudo apt install fonts-wqy-microhei) and "
                                        "start the program again.")
                       : t;
}
