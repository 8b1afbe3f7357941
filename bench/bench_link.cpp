// Whole-memory read and write through mzsim on a pseudo-terminal, paced like a real 9600-baud
// line and without pacing. Prints the wire time of all frames against the wall time of the
// session, the program's own turnaround per block (last byte of a reply in, next request out)
// and the CPU time the program used.
//
// Every session runs twice, without and with a wire log (written to a file in a temporary
// folder), so that the cost of logging shows as the difference of the two.
//
// usage: bench_link [runs] [--unpaced]   (default 3 runs; medians are printed; --unpaced
//        skips the 9600-baud sessions)

#include "core/app/appstate.h"
#include "core/app/startup.h"
#include "core/lang/prompter.h"
#include "core/link/frames.h"
#include "core/link/memorymap.h"
#include "core/link/serialtransport.h"
#include "core/link/session.h"
#include "core/link/wirelog.h"
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
#include <sys/resource.h>

namespace {
// The serial line with a stopwatch on it.
class TimedTransport : public LinkTransport {
public:
    explicit TimedTransport(const QString& port) : inner_(port) {
        clock_.start();
        connect(&inner_, &LinkTransport::dataArrived, this, [this] {
            lastArrival_ = clock_.nsecsElapsed();
            ++chunks;
            emit dataArrived();
        });
        connect(&inner_, &LinkTransport::lineLost, this, &LinkTransport::lineLost);
    }
    bool open(QString* why) override { return inner_.open(why); }
    void close() override { inner_.close(); }
    bool isOpen() const override { return inner_.isOpen(); }
    void clear() override { inner_.clear(); }
    void send(const QByteArray& bytes) override {
        if (lastArrival_ >= 0) turnarounds.push_back(clock_.nsecsElapsed() - lastArrival_);
        lastArrival_ = -1;
        sent += bytes.size();
        inner_.send(bytes);
    }
    QByteArray takeAll() override {
        const QByteArray b = inner_.takeAll();
        received += b.size();
        return b;
    }
    void reset() {
        sent = received = chunks = 0;
        turnarounds.clear();
        lastArrival_ = -1;
    }

    qint64 sent = 0, received = 0, chunks = 0;
    std::vector<qint64> turnarounds;

private:
    SerialTransport inner_;
    QElapsedTimer clock_;
    qint64 lastArrival_ = -1;
};

double cpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

template <class T> T median(std::vector<T> v) {
    if (v.empty()) return T{};
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

struct Result {
    double wire = 0, wall = 0, cpu = 0, turnaroundUs = 0;
    qint64 chunks = 0;
    bool ok = false;
};

Result runSession(LinkSession& session, TimedTransport& line, CommKind kind) {
    line.reset();
    Result r;
    QEventLoop loop;
    QObject::connect(&session, &LinkSession::sessionEnded, &loop, [&](bool ok) {
        r.ok = ok;
        loop.quit();
    });
    QElapsedTimer wall;
    const double cpu0 = cpuSeconds();
    wall.start();
    if (session.Start(kind)) loop.exec();
    r.wall = wall.nsecsElapsed() / 1e9;
    r.cpu = cpuSeconds() - cpu0;
    r.wire = WireSeconds(line.sent + line.received, 9600);
    r.turnaroundUs = median(line.turnarounds) / 1000.0;
    r.chunks = line.chunks;
    QObject::disconnect(&session, &LinkSession::sessionEnded, &loop, nullptr);
    return r;
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 3;
    QTextStream out(stdout);
    App().ProgramDir = QStringLiteral(MZ_PROGDIR);
    App().UseLanguage(Language::English);
    App().ProgramRoot = ProgramRootOf(App().ProgramDir);

    Document doc;
    LoadVersionTable(doc);
    doc.SetCountryMode(1);
    doc.NewDocument();
    SilentPrompter prompter;
    doc.setPrompter(&prompter);
    QTemporaryDir dir;
    MemBuf image{};
    PackMemBuf(doc.RadioData, doc.CHInfo, image);
    QFile f(dir.filePath(QStringLiteral("image.bin")));
    if (!f.open(QIODevice::WriteOnly)) return 1;
    f.write(reinterpret_cast<const char*>(image.data()), MemSize);
    f.close();

    out << "Whole-memory sessions through mzsim on a pseudo-terminal, median of " << runs
        << " runs\n";
    out << QStringLiteral("%1 %2 %3 %4 %5 %6 %7\n")
               .arg(QStringLiteral("session"), -24)
               .arg(QStringLiteral("wire s"), 8)
               .arg(QStringLiteral("wall s"), 8)
               .arg(QStringLiteral("wall/wire"), 10)
               .arg(QStringLiteral("turn us"), 8)
               .arg(QStringLiteral("CPU %"), 7)
               .arg(QStringLiteral("chunks"), 7);
    const bool unpacedOnly = argc > 2 && QByteArray(argv[2]) == "--unpaced";
    for (const int baud : {9600, 0}) {
        if (unpacedOnly && baud) continue;
        QProcess sim;
        sim.start(QStringLiteral(MZ_PROGDIR "/mzsim"),
                  {"--mode", "1", "--baud", QString::number(baud), "--image", f.fileName()});
        if (!sim.waitForStarted() || !sim.waitForReadyRead(5000)) {
            out << "mzsim did not start\n";
            return 1;
        }
        const QString device = QString::fromLocal8Bit(sim.readLine()).trimmed();
        TimedTransport line(device);
        LinkSession session(doc);
        session.setTransport(&line);
        session.setPrompter(&prompter);
        session.setReadApplyDelay(0);
        runSession(session, line, CommKind::Info); // finds the cable's echo setting
        for (const CommKind kind : {CommKind::Read, CommKind::Write})
            for (const bool logged : {false, true}) {
                std::vector<double> wire, wall, cpu, turn;
                std::vector<qint64> chunks;
                for (int i = 0; i < runs; ++i) {
                    std::unique_ptr<WireLog> log;
                    if (logged) log = WireLog::openFile(dir.filePath(QStringLiteral("wire.log")));
                    session.setWireLog(log.get());
                    const Result r = runSession(session, line, kind);
                    session.setWireLog(nullptr);
                    if (!r.ok) {
                        out << "session failed\n";
                        return 1;
                    }
                    wire.push_back(r.wire);
                    wall.push_back(r.wall);
                    cpu.push_back(r.cpu / r.wall * 100);
                    turn.push_back(r.turnaroundUs);
                    chunks.push_back(r.chunks);
                }
                const QString name =
                    QStringLiteral("%1, %2%3")
                        .arg(kind == CommKind::Read ? "read" : "write")
                        .arg(baud ? QStringLiteral("9600 Bd") : QStringLiteral("no pacing"))
                        .arg(logged ? QStringLiteral(", log") : QString());
                const double w = median(wire), t = median(wall);
                out << QStringLiteral("%1 %2 %3 %4 %5 %6 %7\n")
                           .arg(name, -24)
                           .arg(w, 8, 'f', 3)
                           .arg(t, 8, 'f', 3)
                           .arg(t / w, 10, 'f', 4)
                           .arg(median(turn), 8, 'f', 1)
                           .arg(median(cpu), 7, 'f', 2)
                           .arg(median(chunks), 7);
                out.flush();
            }
        sim.terminate();
        sim.waitForFinished();
    }
    out << "wire s: all frames of the session at 9600 baud 8N1 (10 bits a byte); turn us: median "
           "time from the last byte of a reply to the next request\n";
    return 0;
}
