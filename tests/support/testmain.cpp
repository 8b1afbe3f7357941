// The main of every grouped test program: `tests_gui tst_channeltable [qtest options]` runs one
// class (by its file name or its class name), `tests_gui --classes` lists them, and no class
// name runs them all, each under its own application object.

#include "support/testmain.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#if defined(QT_WIDGETS_LIB)
#include <QApplication>
using DefaultApplication = QApplication;
#elif defined(QT_GUI_LIB)
#include <QGuiApplication>
using DefaultApplication = QGuiApplication;
#else
using DefaultApplication = QCoreApplication;
#endif

namespace {

struct Entry {
    QString file;      // tst_channeltable
    QString className; // TestChannelTable
    mztest::AppKind kind;
    mztest::Runner run;
};

std::vector<Entry>& registry() {
    static std::vector<Entry> entries;
    return entries;
}

// The user data folder of this program and of the processes it starts (the backups of every
// read, the virtual radio's link), so that no test leaves files in the real one of whoever runs
// the tests. A class may point XDG_DATA_HOME elsewhere; the next class starts here again.
QByteArray dataHome;

int runOne(const Entry& e, int argc, char** argv) {
    qputenv("XDG_DATA_HOME", dataHome);
    std::unique_ptr<QCoreApplication> app;
    if (e.kind == mztest::AppKind::Core)
        app = std::make_unique<QCoreApplication>(argc, argv);
    else
        app = std::make_unique<DefaultApplication>(argc, argv);
    app->setAttribute(Qt::AA_Use96Dpi, true);
    return e.run(argc, argv);
}

} // namespace

mztest::Registration::Registration(const char* file, const char* className, AppKind kind,
                                   Runner run) {
    registry().push_back({QFileInfo(QString::fromUtf8(file)).completeBaseName(),
                          QString::fromUtf8(className), kind, run});
}

int main(int argc, char** argv) {
    const QTemporaryDir home; // removed with what the tests left in it when main returns
    if (!home.isValid()) {
        std::fprintf(stderr, "%s: cannot make a temporary user data folder: %s\n", argv[0],
                     qPrintable(home.errorString()));
        return 2;
    }
    dataHome = QFile::encodeName(home.path());
    auto& entries = registry();
    std::sort(entries.begin(), entries.end(),
              [](const Entry& a, const Entry& b) { return a.file < b.file; });
    if (argc > 1 && std::strcmp(argv[1], "--classes") == 0) {
        for (const Entry& e : entries)
            std::printf("%s %s\n", qPrintable(e.file), qPrintable(e.className));
        return 0;
    }
    if (argc > 1 && argv[1][0] != '-') {
        const QString wanted = QString::fromLocal8Bit(argv[1]);
        const auto it = std::find_if(entries.begin(), entries.end(), [&](const Entry& e) {
            return e.file == wanted || e.className == wanted;
        });
        if (it == entries.end()) {
            std::fprintf(stderr, "%s: no test class %s here; --classes lists them\n", argv[0],
                         argv[1]);
            return 2;
        }
        // The class name is ours, not Qt Test's: the rest of the line goes to Qt Test as is.
        std::vector<char*> rest{argv[0]};
        rest.insert(rest.end(), argv + 2, argv + argc);
        rest.push_back(nullptr);
        return runOne(*it, argc - 1, rest.data());
    }
    int failed = 0;
    for (const Entry& e : entries)
        failed += runOne(e, argc, argv) != 0;
    return failed;
}
