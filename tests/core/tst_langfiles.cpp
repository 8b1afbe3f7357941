// Every language file must stay in step with english.ini and with the program: the same
// identifiers in the same sections, no empty text, the same placeholders, a [Language] section
// that names the language, and every identifier the windows and messages look up present in
// each. A missing text shows as an empty caption or an empty message box, which no other test
// would notice.

#include "core/lang/inireader.h"
#include "core/lang/langtext.h"
#include "support/testmain.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>
#include <QTest>

#include <algorithm>

namespace {

const QString kLangDir = QStringLiteral(MZ_SOURCE_DIR "/data/language/");
// english.ini first: the others are checked against it.
QStringList languageFiles() {
    QStringList files =
        QDir(kLangDir).entryList({QStringLiteral("*.ini")}, QDir::Files, QDir::Name);
    files.removeAll(QStringLiteral("english.ini"));
    files.prepend(QStringLiteral("english.ini"));
    return files;
}
const QStringList kLangFiles = languageFiles();
const QString kSelfSection = QStringLiteral("Language");

// Identifiers the windows, menus and messages show, whether or not the window that shows them
// has been written yet.
struct IdRange {
    int first;
    int last;
};
const IdRange kShownIds[] = {
    {9001, 9012},   {9016, 9019},   {9021, 9021},   {9023, 9023},   {9025, 9032},   {9060, 9065},
    {10000, 10006}, {10100, 10101}, {10200, 10210}, {10220, 10222}, {10300, 10303}, {10400, 10403},
    {10500, 10503}, {10600, 10602}, {10700, 10702}, {10800, 10808}, {11000, 11007}, {11010, 11016},
    {12000, 12002}, {12004, 12004}, {12007, 12010}, {12014, 12014}, {13000, 13003}, {14001, 14006},
    {14008, 14008}, {14011, 14013}, {14023, 14023}, {14050, 14050}, {14052, 14054}, {14101, 14101},
    {15000, 15002}, {15005, 15020}, {15029, 15030}, {15044, 15046}, {15100, 15100}, {15600, 15600},
    {16000, 16017}, {16040, 16040}, {16049, 16049}, {16058, 16061}, {16100, 16101}, {17001, 17002},
    {18000, 18000}, {18002, 18009}, {18030, 18030}, {18040, 18040}, {21000, 21016}, {22000, 22002},
    {23000, 23003}, {23100, 23101}, {24000, 24005}, {25000, 25008}, {29000, 29007}, {29100, 29113},
    {29200, 29201},
};

// Lists whose identifiers the code computes as base + index, with the indexes it uses. A
// lookup of "base + something" in the sources must name one of these bases.
struct ListBase {
    int base;
    int firstIndex;
    int lastIndex;
    const char* what;
};
const ListBase kListBases[] = {
    {9008, 1, 3, "end of a session, 9008 + CommMode"},
    {9026, 1, 2, "progress window caption, 9026 + CommMode"},
    {10801, 0, 6, "channel-edit menu items"},
    {11010, 0, 6, "channel-edit toolbar tips"},
    {13001, 0, 2, "model information labels"},
    {14052, 0, 2, "working and emergency channel labels"},
    {15005, 0, 15, "channel edit labels Label3(i)"},
    {15044, 0, 2, "transmit power list"},
    {16001, 0, 16, "optional feature labels Label1(d)"},
    {17001, 0, 1, "channel display list"},
    {18002, 0, 2, "DTMF tab captions"},
    {18005, 0, 4, "DTMF setting labels"},
    {21001, 0, 15, "radio information labels and frame"},
    {23002, 0, 1, "language list"},
    {24000, 0, 5, "About window texts"},
    {25101, 0, 19, "key function meanings, 25101 + function code - 1"},
    {29100, 0, 13, "tone tip note captions"},
};

// Texts shown with Yes/No or OK/Cancel that ask the user something.
const int kQuestions[] = {9004, 9005, 9006, 9008, 9016, 9026, 9062};

struct RawEntry {
    QString section;
    QString key;
    QString value;
    int line;
};

struct RawFile {
    QList<RawEntry> entries;
    QStringList faults;
};

// Reads a language file line by line, independently of IniTable, so that faults the table
// would hide (a duplicate key where the first silently wins, a line without "=") show up.
RawFile readRaw(const QString& path) {
    RawFile out;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        out.faults << QStringLiteral("cannot open %1").arg(path);
        return out;
    }
    const QByteArray bytes = f.readAll();
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder(bytes);
    if (decoder.hasError()) out.faults << QStringLiteral("not valid UTF-8");
    QString section;
    int lineNo = 0;
    for (const QString& rawLine : text.split(QLatin1Char('\n'))) {
        ++lineNo;
        const QString line = rawLine.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) ||
            line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            if (!line.endsWith(QLatin1Char(']')))
                out.faults << QStringLiteral("line %1: broken section header").arg(lineNo);
            section = line.mid(1, line.size() - 2).trimmed();
            continue;
        }
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0) {
            out.faults << QStringLiteral("line %1: not a key=value line").arg(lineNo);
            continue;
        }
        out.entries.append({section, line.left(eq).trimmed(), line.mid(eq + 1).trimmed(), lineNo});
    }
    return out;
}

// Blanks out comments so that a lookup mentioned in a comment is not taken for code. String
// and character literals are kept as they are; line breaks are kept so line numbers stay right.
QString stripComments(const QString& src) {
    QString out = src;
    enum { Code, Line, Block, Str, Chr } state = Code;
    for (qsizetype i = 0; i < out.size(); ++i) {
        const QChar c = out[i];
        const QChar next = i + 1 < out.size() ? out[i + 1] : QChar();
        switch (state) {
        case Code:
            if (c == QLatin1Char('/') && next == QLatin1Char('/')) {
                state = Line;
                out[i] = QLatin1Char(' ');
            } else if (c == QLatin1Char('/') && next == QLatin1Char('*')) {
                state = Block;
                out[i] = QLatin1Char(' ');
                out[++i] = QLatin1Char(' ');
            } else if (c == QLatin1Char('"')) {
                state = Str;
            } else if (c == QLatin1Char('\'')) {
                state = Chr;
            }
            break;
        case Line:
            if (c == QLatin1Char('\n'))
                state = Code;
            else
                out[i] = QLatin1Char(' ');
            break;
        case Block:
            if (c == QLatin1Char('*') && next == QLatin1Char('/')) {
                out[i] = out[i + 1] = QLatin1Char(' ');
                ++i;
                state = Code;
            } else if (c != QLatin1Char('\n')) {
                out[i] = QLatin1Char(' ');
            }
            break;
        case Str:
        case Chr:
            if (c == QLatin1Char('\\'))
                ++i;
            else if (c == (state == Str ? QLatin1Char('"') : QLatin1Char('\'')))
                state = Code;
            break;
        }
    }
    return out;
}

struct Lookup {
    int id;
    bool listBase; // the argument adds something to the literal
    QString where;
};

// Finds the identifiers that a source text looks up: every literal from 9000 up in the first
// argument of LoadLangText(...) or of a Prompter's message(...). The first argument is cut at
// its top-level comma, so button and icon arguments never count.
QList<Lookup> scanLookups(const QString& source, const QString& fileName) {
    static const QRegularExpression call(QStringLiteral(R"(\b(?:LoadLangText|message)\s*\()"));
    static const QRegularExpression number(QStringLiteral(R"((?<![\w.'])(\d+)(?![\w.']))"));
    const QString code = stripComments(source);
    QList<Lookup> found;
    auto it = call.globalMatch(code);
    while (it.hasNext()) {
        const auto m = it.next();
        qsizetype pos = m.capturedEnd();
        int depth = 1;
        QChar quote;
        const qsizetype start = pos;
        for (; pos < code.size() && depth > 0; ++pos) {
            const QChar c = code[pos];
            if (!quote.isNull()) {
                if (c == QLatin1Char('\\'))
                    ++pos;
                else if (c == quote)
                    quote = QChar();
            } else if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
                quote = c;
            } else if (c == QLatin1Char('(') || c == QLatin1Char('[') || c == QLatin1Char('{')) {
                ++depth;
            } else if (c == QLatin1Char(')') || c == QLatin1Char(']') || c == QLatin1Char('}')) {
                --depth;
            } else if (c == QLatin1Char(',') && depth == 1) {
                break;
            }
        }
        const QString arg = code.mid(start, pos - start - (depth == 0 ? 1 : 0));
        const bool base = arg.contains(QLatin1Char('+'));
        const int line = int(code.left(m.capturedStart()).count(QLatin1Char('\n'))) + 1;
        auto nums = number.globalMatch(arg);
        while (nums.hasNext()) {
            const int n = nums.next().captured(1).toInt();
            if (n >= 9000 && n <= 99999)
                found.append({n, base, QStringLiteral("%1:%2").arg(fileName).arg(line)});
        }
    }
    return found;
}

QList<Lookup> scanSourceTree() {
    const QDir root(QStringLiteral(MZ_SOURCE_DIR "/src"));
    QList<Lookup> all;
    QDirIterator it(root.path(), {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly)) continue;
        all += scanLookups(QString::fromUtf8(f.readAll()), root.relativeFilePath(path));
    }
    return all;
}

} // namespace

class TstLangFiles : public QObject {
    Q_OBJECT

private:
    QList<IniTable> tables_;
    QList<QMap<int, QString>> ids_; // identifier -> section as written

    bool hasText(int file, int id) const {
        return !tables_[file].value(LangSection(id), QString::number(id)).isEmpty();
    }

private slots:
    void initTestCase() {
        QVERIFY(kLangFiles.contains(QStringLiteral("chinese.ini")));
        tables_.resize(kLangFiles.size());
        ids_.resize(kLangFiles.size());
        for (int f = 0; f < kLangFiles.size(); ++f) {
            QVERIFY2(tables_[f].load(kLangDir + kLangFiles[f]), qPrintable(kLangFiles[f]));
            for (const RawEntry& e : readRaw(kLangDir + kLangFiles[f]).entries)
                if (e.section.compare(kSelfSection, Qt::CaseInsensitive) != 0 &&
                    !ids_[f].contains(e.key.toInt())) // the first occurrence wins, as on reading
                    ids_[f].insert(e.key.toInt(), e.section);
        }
    }

    // Each file on its own: well formed, one text per identifier, each in its section, each
    // text usable as it stands.
    void filesAreWellFormed_data() {
        QTest::addColumn<int>("file");
        for (int f = 0; f < kLangFiles.size(); ++f)
            QTest::newRow(qPrintable(kLangFiles[f])) << f;
    }
    void filesAreWellFormed() {
        QFETCH(int, file);
        const RawFile raw = readRaw(kLangDir + kLangFiles[file]);
        QStringList faults = raw.faults;
        static const QRegularExpression decimalId(QStringLiteral("^(0|-?[1-9][0-9]*)$"));
        QSet<QString> seen;
        // The file names itself first: its name for the language window, its ISO 639-1 code.
        QStringList self;
        for (const RawEntry& e : raw.entries)
            if (e.section.compare(kSelfSection, Qt::CaseInsensitive) == 0)
                self << e.key + '=' + e.value;
        static const QRegularExpression code(QStringLiteral("^[a-z]{2}$"));
        const QString name = tables_[file].value(kSelfSection, QStringLiteral("Name"));
        const QString locale = tables_[file].value(kSelfSection, QStringLiteral("Locale"));
        if (raw.entries.isEmpty() || raw.entries.first().section != kSelfSection)
            faults << QStringLiteral("[Language] is not the first section");
        if (name.isEmpty()) faults << QStringLiteral("[Language] gives no Name");
        if (!code.match(locale).hasMatch())
            faults << QStringLiteral("[Language] Locale \"%1\" is no ISO 639-1 code").arg(locale);
        if (self.size() != 2) faults << QStringLiteral("[Language] holds %1").arg(self.join(", "));
        for (const RawEntry& e : raw.entries) {
            if (e.section.compare(kSelfSection, Qt::CaseInsensitive) == 0) continue;
            const QString at = QStringLiteral("line %1 (%2)").arg(e.line).arg(e.key);
            if (!decimalId.match(e.key).hasMatch()) {
                faults << at + QStringLiteral(": key is not a decimal identifier");
                continue;
            }
            const int id = e.key.toInt();
            if (seen.contains(e.key)) {
                faults << at + QStringLiteral(": identifier given twice");
                continue;
            }
            seen.insert(e.key);
            if (e.section.compare(LangSection(id), Qt::CaseInsensitive) != 0)
                faults << at + QStringLiteral(": in [%1], belongs in [%2]")
                                   .arg(e.section, LangSection(id));
            if (e.value.isEmpty()) faults << at + QStringLiteral(": empty text");
            if (e.value.toUtf8().size() > 254)
                faults << at + QStringLiteral(": longer than 254 bytes");
            if (e.value.startsWith(QLatin1Char(';')) || e.value.startsWith(QLatin1Char('#')) ||
                e.value.contains(QStringLiteral(" ;")) || e.value.contains(QStringLiteral("\t;")))
                faults << at + QStringLiteral(": an INI reader would take part of it as a comment");
            // The program reads the files through IniTable: it must see exactly this text.
            if (tables_[file].value(LangSection(id), e.key) != e.value)
                faults << at + QStringLiteral(": IniTable reads a different text");
        }
        QVERIFY2(!raw.entries.isEmpty(), "no texts at all");
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }

    // Each file against english.ini, both ways.
    void filesHoldTheSameIdentifiers() {
        QStringList faults;
        for (int f = 1; f < kLangFiles.size(); ++f) {
            for (auto it = ids_[0].cbegin(); it != ids_[0].cend(); ++it)
                if (!ids_[f].contains(it.key()))
                    faults
                        << QStringLiteral("%1 is missing in %2").arg(it.key()).arg(kLangFiles[f]);
                else if (ids_[f].value(it.key()).compare(it.value(), Qt::CaseInsensitive) != 0)
                    faults << QStringLiteral("%1 is in different sections in %2")
                                  .arg(it.key())
                                  .arg(kLangFiles[f]);
            for (auto it = ids_[f].cbegin(); it != ids_[f].cend(); ++it)
                if (!ids_[0].contains(it.key()))
                    faults << QStringLiteral("%1 is in %2 only").arg(it.key()).arg(kLangFiles[f]);
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }

    // A message fills in its numbers and names by %1, %2...: a translation that drops or adds
    // one shows a raw "%2" or loses the file name.
    void translationsKeepThePlaceholders() {
        static const QRegularExpression placeholder(QStringLiteral("%(\\d)"));
        auto marks = [](const QString& text) {
            QList<QString> out;
            for (auto it = placeholder.globalMatch(text); it.hasNext();)
                out << it.next().captured(1);
            std::sort(out.begin(), out.end());
            out.erase(std::unique(out.begin(), out.end()), out.end());
            return out;
        };
        QStringList faults;
        for (int f = 1; f < kLangFiles.size(); ++f)
            for (auto it = ids_[0].cbegin(); it != ids_[0].cend(); ++it) {
                const QString key = QString::number(it.key());
                const QString english = tables_[0].value(it.value(), key);
                const QString other = tables_[f].value(it.value(), key);
                if (!other.isEmpty() && marks(english) != marks(other))
                    faults << QStringLiteral("%1 in %2: \"%3\"").arg(key, kLangFiles[f], other);
            }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }

    void shownIdentifiersExist() {
        QSet<int> required;
        for (const IdRange& r : kShownIds)
            for (int id = r.first; id <= r.last; ++id)
                required.insert(id);
        for (const ListBase& b : kListBases)
            for (int i = b.firstIndex; i <= b.lastIndex; ++i)
                required.insert(b.base + i);
        QList<int> sorted(required.cbegin(), required.cend());
        std::sort(sorted.begin(), sorted.end());
        QStringList faults;
        for (int id : sorted)
            for (int f = 0; f < kLangFiles.size(); ++f)
                if (!hasText(f, id))
                    faults << QStringLiteral("%1 missing in %2").arg(id).arg(kLangFiles[f]);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }

    void questionsEndWithAQuestionMark() {
        for (int f = 0; f < kLangFiles.size(); ++f)
            for (int id : kQuestions) {
                const QString t = tables_[f].value(LangSection(id), QString::number(id));
                QVERIFY2(t.endsWith(QLatin1Char('?')) || t.endsWith(QChar(0xFF1F)),
                         qPrintable(QStringLiteral("%1 in %2").arg(id).arg(kLangFiles[f])));
            }
    }

    void scannerFindsLookups() {
        const QString snippet = QStringLiteral(
            "t = LoadLangText(12000);\n"
            "// LoadLangText(9990) is gone\n"
            "/* prompter.message(9991); */\n"
            "x = LoadLangText(kind == 0 ? 9060 : 9064);\n"
            "p.message(9006, Buttons(9992), Icon::Warning);\n"
            "c = LoadLangText(9026 + int(CommMode));\n"
            "s = QStringLiteral(\"//\") + LoadLangText(0x2710) + LoadLangText(16001 + d);\n");
        QList<int> plain, bases;
        for (const Lookup& l : scanLookups(snippet, QStringLiteral("snippet")))
            (l.listBase ? bases : plain).append(l.id);
        QCOMPARE(plain, (QList<int>{12000, 9060, 9064, 9006}));
        QCOMPARE(bases, (QList<int>{9026, 16001}));
    }

    // Whatever the sources look up today must exist in both files; lists must be known here
    // so that their whole length is checked.
    void codeLookupsExist() {
        const QList<Lookup> lookups = scanSourceTree();
        QSet<int> seen;
        for (const Lookup& l : lookups)
            seen.insert(l.id);
        // The start-up routine takes the application title from the language file.
        QVERIFY2(seen.contains(12000), "the source scan found no lookups at all");

        QStringList faults;
        for (const Lookup& l : lookups) {
            for (int f = 0; f < kLangFiles.size(); ++f)
                if (!hasText(f, l.id))
                    faults << QStringLiteral("%1: %2 missing in %3")
                                  .arg(l.where)
                                  .arg(l.id)
                                  .arg(kLangFiles[f]);
            if (l.listBase && std::none_of(std::begin(kListBases), std::end(kListBases),
                                           [&](const ListBase& b) { return b.base == l.id; }))
                faults << QStringLiteral("%1: list base %2 is not in kListBases; add it with "
                                         "the indexes the code uses")
                              .arg(l.where)
                              .arg(l.id);
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }
};

MZ_TEST_GUILESS_MAIN(TstLangFiles)
#include "tst_langfiles.moc"
