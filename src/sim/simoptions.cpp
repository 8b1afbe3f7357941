#include "simoptions.h"

#include <QLocale>
#include <QRegularExpression>

QString SimUsage() {
    return QStringLiteral(
        "usage: mzsim [options]\n"
        "A virtual MZ-710 on a pseudo-terminal. The device path is printed on the first line.\n"
        "  --link PATH        make PATH a symlink to the device\n"
        "  --model NAME       model name reported (MZ-710)\n"
        "  --mode N           country mode reported, 0 CB, 1 HF, 2 HAM (0)\n"
        "  --firmware VER     firmware version reported (V100)\n"
        "  --no-tone          report no CTCSS/DCS support\n"
        "  --password TEXT    programming password, up to 4 characters\n"
        "  --image MEM.bin    start from this 7424-byte memory (all zero otherwise)\n"
        "  --info INFO.bin    start from this 256-byte information area\n"
        "  --save MEM.bin     write the memory here after each session\n"
        "  --echo             the cable echoes every byte\n"
        "  --baud B           pace the line like 8N1 at B baud; 0 = no delay (0)\n"
        "  --drop P           lose a data-block reply or write acknowledge with probability P\n"
        "  --corrupt P        damage one bit of such a reply with probability P\n"
        "  --resend P         answer a good write block with resend with probability P\n"
        "  --seed N           seed of the fault generator\n"
        "  --corrupt-memory ADDR  keep the byte at ADDR (0x0000-0x1CFF) inverted after each\n"
        "                     write to it, like a radio with a bad memory cell\n"
        "  --sessions N       exit after N sessions\n"
        "  --serial-series START  play a series of radios: the first has the serial number\n"
        "                     START (digits), and each time the radio is switched off and on\n"
        "                     it is the next radio, with the next serial number and the\n"
        "                     memory it started with\n"
        "  --verbose          log every frame on stderr\n"
        "  --version          print the program version and exit\n"
        "Switching the radio off and on (a switched-off radio answers nothing; the cable still\n"
        "echoes with --echo):\n"
        "  kill -USR1 PID     switches it off, and on again at the next SIGUSR1\n"
        "  a line on stdin:   off | on | mode N | corrupt-memory ADDR|none\n"
        "                     (mode and corrupt-memory apply from the next switching on)\n"
        "  Each change is told on stdout: \"off\" or \"on SERIAL\".\n");
}

std::optional<int> ParseSimAddress(const QString& v) {
    bool ok = false;
    const int addr = v.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)
                         ? v.mid(2).toInt(&ok, 16)
                         : QLocale::c().toInt(v, &ok);
    if (!ok || addr < 0 || addr >= 0x1D00) return std::nullopt;
    return addr;
}

QString NextSerial(const QString& serial) {
    QString next = serial;
    for (int i = int(next.size()) - 1; i >= 0; --i) {
        if (next[i] != QLatin1Char('9')) {
            next[i] = QChar(next[i].unicode() + 1);
            return next;
        }
        next[i] = QLatin1Char('0');
    }
    // All nines: one digit more, as a counter would go on.
    return QLatin1Char('1') + next;
}

namespace {
bool toInt(const QString& s, int lo, int hi, int& out) {
    bool ok = false;
    const int v = QLocale::c().toInt(s, &ok);
    if (!ok || v < lo || v > hi) return false;
    out = v;
    return true;
}

bool toProbability(const QString& s, double& out) {
    bool ok = false;
    const double v = QLocale::c().toDouble(s, &ok);
    if (!ok || v < 0 || v > 1) return false;
    out = v;
    return true;
}
} // namespace

std::optional<SimOptions> ParseSimOptions(const QStringList& args, QString* error) {
    SimOptions o;
    auto fail = [&](const QString& why) {
        *error = why;
        return std::nullopt;
    };
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        auto value = [&](QString& v) {
            if (i + 1 >= args.size()) return false;
            v = args[++i];
            return true;
        };
        QString v;
        if (a == QLatin1String("--no-tone")) {
            o.tone = false;
        } else if (a == QLatin1String("--echo")) {
            o.echo = true;
        } else if (a == QLatin1String("--verbose")) {
            o.verbose = true;
        } else if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            return fail(QString());
        } else if (!a.startsWith(QLatin1String("--"))) {
            return fail(QStringLiteral("unexpected argument \"%1\".").arg(a));
        } else if (!value(v)) {
            return fail(QStringLiteral("%1 needs a value.").arg(a));
        } else if (a == QLatin1String("--link")) {
            o.link = v;
        } else if (a == QLatin1String("--model")) {
            o.model = v.toLatin1().left(7);
        } else if (a == QLatin1String("--mode")) {
            if (!toInt(v, 0, 15, o.mode))
                return fail(QStringLiteral("--mode takes a number from 0 to 15."));
        } else if (a == QLatin1String("--firmware")) {
            o.firmware = v.toLatin1().left(4);
        } else if (a == QLatin1String("--password")) {
            if (v.size() > 4) return fail(QStringLiteral("--password takes at most 4 characters."));
            o.password = v.toLatin1();
        } else if (a == QLatin1String("--image")) {
            o.image = v;
        } else if (a == QLatin1String("--info")) {
            o.info = v;
        } else if (a == QLatin1String("--save")) {
            o.save = v;
        } else if (a == QLatin1String("--baud")) {
            if (!toInt(v, 0, 4000000, o.baud))
                return fail(
                    QStringLiteral("--baud takes a number of bits per second (0: no delay)."));
        } else if (a == QLatin1String("--drop") || a == QLatin1String("--corrupt") ||
                   a == QLatin1String("--resend")) {
            double& p = a == QLatin1String("--drop")      ? o.drop
                        : a == QLatin1String("--corrupt") ? o.corrupt
                                                          : o.resend;
            if (!toProbability(v, p))
                return fail(QStringLiteral("%1 takes a probability from 0 to 1.").arg(a));
        } else if (a == QLatin1String("--seed")) {
            bool ok = false;
            const quint32 s = QLocale::c().toUInt(v, &ok);
            if (!ok) return fail(QStringLiteral("--seed takes a whole number."));
            o.seed = s;
        } else if (a == QLatin1String("--corrupt-memory")) {
            const std::optional<int> addr = ParseSimAddress(v);
            if (!addr)
                return fail(QStringLiteral("--corrupt-memory takes an address from 0x0000 to "
                                           "0x1CFF."));
            o.corruptMemory = *addr;
        } else if (a == QLatin1String("--serial-series")) {
            static const QRegularExpression digits(QStringLiteral("^[0-9]{1,16}$"));
            if (!digits.match(v).hasMatch())
                return fail(QStringLiteral("--serial-series takes a serial number of 1 to 16 "
                                           "digits."));
            o.serialSeries = v;
        } else if (a == QLatin1String("--sessions")) {
            if (!toInt(v, 1, 1000000, o.sessions))
                return fail(QStringLiteral("--sessions takes a number from 1 up."));
        } else {
            return fail(QStringLiteral("unknown option \"%1\".").arg(a));
        }
    }
    return o;
}
