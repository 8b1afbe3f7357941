#include "startup.h"
#include "../files/datafile.h"
#include "../lang/langtext.h"
#include "../lang/languages.h"
#include "../model/document.h"
#include "../model/documenthistory.h"
#include "../model/fixedtext.h"
#include "../model/helpers.h"
#include "../model/version.h"
#include "appstate.h"
#include "inifile.h"
#include "linksettings.h"

#include <QFile>
#include <QFileInfo>
#include <QOperatingSystemVersion>
#include <QSettings>

namespace {
const QString kLanguage = QStringLiteral("language");
// Beside CurrentLanguage 3: the language file chosen. An older program knows 3 as "the system's
// language" and never reads this key, so it starts in English or Chinese and keeps both keys.
const QString kLanguageFile = QStringLiteral("LanguageFile");

// CurrentLanguage, and LanguageFile when there is a choice to keep or an old one to clear.
bool writeLanguageKeys(const QString& path) {
    const AppState& a = App();
    bool ok = IniWrite(path, kLanguage, QStringLiteral("CurrentLanguage"),
                       QString::number(int(a.CurLanguage)));
    const QString choice = a.CurLanguage == Language::Other ? a.LangChoice : QString();
    if (!choice.isEmpty() || !IniRead(path, kLanguage, kLanguageFile).isEmpty())
        ok = IniWrite(path, kLanguage, kLanguageFile, choice) && ok;
    return ok;
}
} // namespace

void LoadVersionTable(Document& doc) {
    doc.RadioData.Head.Version = Document::DataVersionText();
    FirmPairs().clear();
    const QString path = App().versionIniPath();
    // A missing or damaged table is taken as empty: no other data version is then compatible.
    const long long n = NumberOrDefault(
        IniRead(path, QStringLiteral("Version"), QStringLiteral("FirmVersionCount")), 0);
    for (long long k = 0; k < std::min<long long>(n, 1000); ++k) {
        const QString v = TrimFixed(
            IniRead(path, QStringLiteral("Firm"), QStringLiteral("Firm") + QString::number(k)));
        FirmPairs().append({v.left(4), v.right(4)});
    }
}

void InitLanguageDefaults(Document& doc, const QLocale& systemLocale) {
    AppState& a = App();
    // The system's language when a file speaks it (Chinese for a PRC system, as always), else
    // English.
    const QString file = LanguageFileFor(FindLanguages(a.langDir()), systemLocale);
    if (file.isEmpty())
        a.UseLanguage(Language::English);
    else
        a.UseLanguageFileNamed(file);
    a.ShownLangFile = a.LangFile;
    doc.ModelName = QStringLiteral("MZ-710");
    doc.BandText = QStringLiteral("26.965 - 27.405 MHz");
    doc.CountryMode = 0;
    doc.ParseBand();
}

void ReadSharedSettings() {
    AppState& a = App();
    const QString path = a.mysetupPath();
    a.ComPort = 1;
    // A missing file or value counts as the defaults and a first run.
    a.IsFirstRun = NumberOrDefault(IniRead(path, kLanguage, QStringLiteral("IsFirstRun")), 1) != 0;
    a.ComPort =
        static_cast<int>(NumberOrDefault(IniRead(path, kLanguage, QStringLiteral("comPort")), 1));
    a.PortName = IniRead(path, kLanguage, QStringLiteral("portName"));
    if (a.IsFirstRun) {
        IniWrite(path, kLanguage, QStringLiteral("IsFirstRun"), QStringLiteral("0"));
    } else {
        const QString v = IniRead(path, kLanguage, QStringLiteral("CurrentLanguage"));
        if (IsNumeric(v)) {
            const auto n = static_cast<Language>(NumberOrDefault(v, int(a.CurLanguage)));
            const QString chosen = IniRead(path, kLanguage, kLanguageFile);
            const bool named = n == Language::Other && IsLanguageFileName(chosen);
            if (named && QFileInfo::exists(a.langDir() + QLatin1Char('/') + chosen)) {
                a.UseLanguageFileNamed(chosen);
            } else {
                a.UseLanguage(n);
                // A chosen file that is gone: the system's language meanwhile, and the choice
                // kept for when the file is back.
                if (named) a.LangChoice = chosen;
            }
        }
    }
    IniWrite(path, kLanguage, QStringLiteral("comPort"), QString::number(a.ComPort));
    writeLanguageKeys(path);
}

bool WritePortSettings() {
    const QString path = App().mysetupPath();
    return IniWrite(path, kLanguage, QStringLiteral("comPort"), QString::number(App().ComPort)) &&
           IniWrite(path, kLanguage, QStringLiteral("portName"), App().PortName);
}

bool WriteLanguageSetting() {
    return writeLanguageKeys(App().mysetupPath());
}

void ReadSettingBytes() {
    QFile f(App().settingPath());
    App().SettingBytes = {0, 0, 0, 1};
    if (!f.open(QIODevice::ReadOnly)) return;
    const QByteArray b = f.read(4);
    if (b.size() == 4)
        for (int i = 0; i < 4; ++i)
            App().SettingBytes[i] = static_cast<unsigned char>(b[i]);
}

bool WriteSettingBytes() {
    QFile f(App().settingPath());
    if (!f.open(QIODevice::ReadWrite)) return false;
    const auto& s = App().SettingBytes;
    return f.write(reinterpret_cast<const char*>(s.data()), 4) == 4;
}

void StartUp(Document& doc, const QString& programDir, const QLocale& systemLocale) {
    AppState& a = App();
    a.ProgramDir = programDir;
    a.ProgramRoot = ProgramRootOf(programDir);
    LoadVersionTable(doc);
    doc.InitRequested = false;
    a.HelpEnabled = false;
    InitLanguageDefaults(doc, systemLocale);
    // 1 only on Windows NT 6.0 (Vista), where the serial port window offers all 16 ports.
    const QOperatingSystemVersion os = QOperatingSystemVersion::current();
    a.IsVista = os.type() == QOperatingSystemVersion::Windows && os.majorVersion() == 6 &&
                os.minorVersion() == 0;
    ReadSharedSettings();
    doc.InitDir = programDir;
    NewDocumentWithInitFile(doc);
    doc.history().clear();
    a.AppTitle = LoadLangText(12000);
    ReadSettingBytes();
    ReadLinkSettings();
}

namespace {
QSettings windowStore() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("mzprog"),
                     App().AppTitle.isEmpty() ? QStringLiteral("mzprog") : App().AppTitle);
}

// A kept number of twips; def when it is missing or no number.
int storedTwips(const QSettings& s, const QString& key, int def) {
    return static_cast<int>(NumberOrDefault(s.value(key).toString(), def));
}
} // namespace

QRect LoadMainWindowTwips() {
    QSettings s = windowStore();
    s.beginGroup(QStringLiteral("Settings"));
    auto get = [&](const char* key, int def) { return storedTwips(s, QLatin1String(key), def); };
    return QRect(get("MainLeft", 1000), get("MainTop", 1000), get("MainWidth", 12500),
                 get("MainHeight", 9500));
}

QSize LoadChildWindowTwips(const QString& name) {
    QSettings s = windowStore();
    s.beginGroup(QStringLiteral("Settings"));
    const int w = storedTwips(s, name + QStringLiteral("Width"), 0);
    const int h = storedTwips(s, name + QStringLiteral("Height"), 0);
    return w > 0 && h > 0 ? QSize(w, h) : QSize();
}

void SaveChildWindowTwips(const QString& name, const QSize& t) {
    QSettings s = windowStore();
    s.beginGroup(QStringLiteral("Settings"));
    s.setValue(name + QStringLiteral("Width"), QString::number(t.width()));
    s.setValue(name + QStringLiteral("Height"), QString::number(t.height()));
}

void SaveMainWindowTwips(const QRect& t) {
    QSettings s = windowStore();
    s.beginGroup(QStringLiteral("Settings"));
    s.setValue(QStringLiteral("MainLeft"), QString::number(t.x()));
    s.setValue(QStringLiteral("MainTop"), QString::number(t.y()));
    s.setValue(QStringLiteral("MainWidth"), QString::number(t.width()));
    s.setValue(QStringLiteral("MainHeight"), QString::number(t.height()));
}
