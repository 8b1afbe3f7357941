// Open + save of a full 409-channel data file, as the program does them (every check, the
// atomic replace). Prints the median of many runs.

#include "core/app/appstate.h"
#include "core/files/opendatafile.h"
#include "core/files/savedatafile.h"
#include "core/lang/prompter.h"
#include "core/model/document.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <vector>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 200;
    QTemporaryDir dir;
    if (!dir.isValid()) return 1;

    Document doc;
    doc.NewDocument();
    for (int ch = 2; doc.chCount() < 409; ++ch)
        if (doc.FindChannel(ch) < 0) doc.AddChannel(ch, QStringLiteral("27.005"));
    doc.CurFileName = dir.filePath(QStringLiteral("full.dat"));
    if (!SaveDataFile(doc)) return 1;

    std::vector<qint64> ns;
    ns.reserve(runs);
    QElapsedTimer t;
    for (int i = 0; i < runs; ++i) {
        t.start();
        const bool ok =
            OpenDataFile(doc, doc.CurFileName) == OpenResult::Opened && SaveDataFile(doc);
        ns.push_back(t.nsecsElapsed());
        if (!ok) return 1;
    }
    std::sort(ns.begin(), ns.end());
    QTextStream(stdout) << "open + save of a 409-channel file: median "
                        << QString::number(ns[ns.size() / 2] / 1000.0, 'f', 1) << " us over "
                        << runs << " runs (min " << QString::number(ns.front() / 1000.0, 'f', 1)
                        << " us, max " << QString::number(ns.back() / 1000.0, 'f', 1) << " us)\n";
    return 0;
}
