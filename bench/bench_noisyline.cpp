// Whole-memory reads and writes through mzsim behind a noisy cable (tests/support/lossyrelay.h):
// a clean line, bits flipped in 1 % (and 0.3 %) of the bytes both ways, and 0.1 % of the bytes
// towards the radio lost. For each: how many sessions ended well, how many of those carried wrong
// bytes (must be none), the median and longest time, the retries spent and the blocks read again.
//
// usage: bench_noisyline [runs]   (default 10 runs per line; seeds 1..runs)

#include "../tests/support/lossyrelay.h"

#include "core/app/appstate.h"
#include "core/app/startup.h"
#include "core/lang/prompter.h"
#include "core/link/memorymap.h"
#include "core/link/serialtransport.h"
#include "core/link/session.h"
#include "core/model/document.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <algorithm>
#include <vector>

namespace {
// Every question is answered no: a session that gives up ends there.
class NoPrompter : public Prompter {
public:
    Answer ask(const QString&, Buttons buttons, Icon) override {
        return buttons == Buttons::Ok      ? Answer::Ok
               : buttons == Buttons::YesNo ? Answer::No
                                           : Answer::Cancel;
    }
};

struct Run {
    bool ok = false, right = false;
    double seconds = 0;
    int retries = 0, rereads = 0;
};

Run runSession(Document& doc, LinkSession& session, CommKind kind) {
    Run r;
    QEventLoop loop;
    QObject::connect(&session, &LinkSession::sessionEnded, &loop, [&](bool ok) {
        r.ok = ok;
        loop.quit();
    });
    QElapsedTimer t;
    t.start();
    if (session.Start(kind)) loop.exec();
    r.seconds = t.nsecsElapsed() / 1e9;
    QObject::disconnect(&session, &LinkSession::sessionEnded, &loop, nullptr);
    for (int a = 0; a < MemSize; a += BlockSize)
        r.retries += LinkSession::Retries - session.BlockRetries(a);
    r.rereads = session.rereadBlocks();
    Q_UNUSED(doc);
    return r;
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 10;
    QTextStream out(stdout);
    App().ProgramDir = QStringLiteral(MZ_PROGDIR);
    App().UseLanguage(Language::English);
    App().ProgramRoot = ProgramRootOf(App().ProgramDir);

    Document doc;
    LoadVersionTable(doc);
    doc.SetCountryMode(1);
    doc.NewDocument();
    NoPrompter prompter;
    doc.setPrompter(&prompter);
    QTemporaryDir dir;
    MemBuf image{};
    PackMemBuf(doc.RadioData, doc.CHInfo, image);
    const QByteArray imageBytes(reinterpret_cast<const char*>(image.data()), MemSize);
    const QString imagePath = dir.filePath(QStringLiteral("image.bin"));
    const QString savedPath = dir.filePath(QStringLiteral("saved.bin"));
    QFile f(imagePath);
    if (!f.open(QIODevice::WriteOnly)) return 1;
    f.write(imageBytes);
    f.close();

    struct Line {
        const char* name;
        LossyRelay::Faults toRadio, fromRadio;
    };
    const Line lines[] = {
        {"clean", {}, {}},
        {"1 % flipped both ways", {0, 0.01}, {0, 0.01}},
        {"0.3 % flipped both ways", {0, 0.003}, {0, 0.003}},
        {"0.1 % lost towards the radio", {0.001, 0}, {}},
    };
    out << "Sessions through mzsim (no pacing) behind a noisy relay; " << runs
        << " runs per line, seeds 1.." << runs << "\n";
    for (const Line& line : lines) {
        for (const CommKind kind : {CommKind::Read, CommKind::Write}) {
            std::vector<double> times;
            int ok = 0, wrong = 0, retries = 0, rereads = 0;
            for (int seed = 1; seed <= runs; ++seed) {
                QProcess sim;
                sim.start(QStringLiteral(MZ_PROGDIR "/mzsim"),
                          {"--mode", "1", "--image", imagePath, "--save", savedPath});
                if (!sim.waitForReadyRead(5000)) return 1;
                const QString device = QString::fromLocal8Bit(sim.readLine()).trimmed();
                LossyRelay relay(line.toRadio, line.fromRadio, quint32(seed));
                if (!relay.open(device)) return 1;
                SerialTransport transport(relay.device());
                LinkSession session(doc);
                session.setTransport(&transport);
                session.setPrompter(&prompter);
                session.setReadApplyDelay(0);
                session.SetNoEcho(true);
                const Run r = runSession(doc, session, kind);
                QByteArray got;
                if (kind == CommKind::Read) {
                    got =
                        QByteArray(reinterpret_cast<const char*>(session.memBuf().data()), MemSize);
                } else {
                    sim.terminate();
                    sim.waitForFinished(3000);
                    QFile s(savedPath);
                    if (s.open(QIODevice::ReadOnly)) got = s.readAll();
                }
                sim.terminate();
                sim.waitForFinished(3000);
                QFile::remove(savedPath);
                times.push_back(r.seconds);
                retries += r.retries;
                rereads += r.rereads;
                if (r.ok) {
                    ++ok;
                    if (got != imageBytes) ++wrong;
                }
            }
            std::sort(times.begin(), times.end());
            out << QStringLiteral("%1 %2: %3 of %4 ended well, %5 of them with wrong bytes; "
                                  "median %6 s, longest %7 s; %8 retries, %9 blocks read again\n")
                       .arg(QLatin1String(kind == CommKind::Read ? "read " : "write"))
                       .arg(QLatin1String(line.name), -30)
                       .arg(ok)
                       .arg(runs)
                       .arg(wrong)
                       .arg(times[times.size() / 2], 0, 'f', 2)
                       .arg(times.back(), 0, 'f', 2)
                       .arg(retries)
                       .arg(rereads);
            out.flush();
        }
    }
    return 0;
}
