#include "simradio.h"
#include "ptyline.h"

#include "core/files/fileio.h"
#include "core/files/savedatafile.h"

#include <QFile>
#include <QTextStream>
#include <QTimer>

SimRadio::SimRadio(const SimOptions& options, PtyLine& line, QObject* parent)
    : QObject(parent), opt_(options), line_(line),
      radio_(VirtualRadioConfig{options.model, options.mode, options.firmware, options.tone}),
      rng_(options.seed ? *options.seed : std::random_device{}()) {
    if (opt_.baud > 0) byteNs_ = 10'000'000'000LL / opt_.baud; // 8N1: ten bits per byte
    setUpRadio();
    serial_ = opt_.serialSeries;
    nextMode_ = opt_.mode;
    nextCorruptMemory_ = opt_.corruptMemory;
    connect(&line_, &PtyLine::received, this, &SimRadio::onReceived);
    connect(&line_, &PtyLine::drained, this, [this] {
        if (finishing_) finish();
    });
}

void SimRadio::setUpRadio() {
    radio_.setPassword(opt_.password);
    radio_.refuseWrite = [this](int) { return chance(opt_.resend); };
}

bool SimRadio::load(QString* error) {
    auto read = [&](const QString& path, int size, QByteArray& out) {
        // The rule of every input: a regular file, read no further than one byte past its size.
        QString why;
        if (!ReadRegularFile(path, size + 1, out, &why)) {
            *error = why;
            return false;
        }
        if (out.size() != size) {
            *error = QStringLiteral("%1 holds %2 bytes; it must hold %3.")
                         .arg(path)
                         .arg(out.size())
                         .arg(size);
            return false;
        }
        return true;
    };
    // The memory is saved only after a session; a target that cannot take it is refused now.
    if (!opt_.save.isEmpty() && !CheckWritableTarget(opt_.save, error)) return false;
    QByteArray b;
    if (!opt_.image.isEmpty()) {
        if (!read(opt_.image, MemSize, b)) return false;
        std::copy(b.begin(), b.end(), radio_.memory.begin());
    }
    if (!opt_.info.isEmpty()) {
        if (!read(opt_.info, InfoSize, b)) return false;
        std::copy(b.begin(), b.end(), radio_.info.begin());
        if (!opt_.password.isEmpty()) radio_.setPassword(opt_.password);
    }
    putSerial();
    return true;
}

void SimRadio::putSerial() {
    if (serial_.isEmpty()) return;
    constexpr int SerialAt = 48, SerialSize = 16; // SerialNo in the information area
    const QByteArray text = serial_.toLatin1();
    for (int i = 0; i < SerialSize; ++i)
        radio_.info[SerialAt + i] = i < text.size() ? static_cast<std::uint8_t>(text[i]) : 0xFF;
}

void SimRadio::switchOff() {
    if (!powered_) return;
    powered_ = false;
    // What it was in the middle of receiving is gone; the half frame is dropped with the pause.
    emit powerChanged(QStringLiteral("off"));
}

void SimRadio::switchOn() {
    if (powered_) return;
    powered_ = true;
    if (!opt_.serialSeries.isEmpty()) {
        // Another radio of the series: its own memory, mode and serial number.
        opt_.mode = nextMode_;
        opt_.corruptMemory = nextCorruptMemory_;
        VirtualRadioConfig config = radio_.config;
        config.Mode = opt_.mode;
        radio_ = VirtualRadio(config);
        setUpRadio();
        serial_ = NextSerial(serial_);
        QString error;
        if (!load(&error)) QTextStream(stderr) << "mzsim: " << error << '\n';
    }
    emit powerChanged(serial_.isEmpty() ? QStringLiteral("on") : QStringLiteral("on ") + serial_);
}

bool SimRadio::control(const QString& line, QString* error) {
    const QStringList words = line.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.isEmpty()) return true;
    const QString& command = words[0];
    if (command == QLatin1String("off") && words.size() == 1) {
        switchOff();
        return true;
    }
    if (command == QLatin1String("on") && words.size() == 1) {
        switchOn();
        return true;
    }
    if (command == QLatin1String("mode") && words.size() == 2) {
        bool ok = false;
        const int mode = words[1].toInt(&ok);
        if (ok && mode >= 0 && mode <= 15) {
            nextMode_ = mode;
            return true;
        }
    }
    if (command == QLatin1String("corrupt-memory") && words.size() == 2) {
        if (words[1] == QLatin1String("none")) {
            nextCorruptMemory_ = -1;
            return true;
        }
        if (const std::optional<int> addr = ParseSimAddress(words[1])) {
            nextCorruptMemory_ = *addr;
            return true;
        }
    }
    *error = QStringLiteral("unknown control \"%1\" (off, on, mode N, corrupt-memory ADDR|none).")
                 .arg(line.simplified());
    return false;
}

bool SimRadio::chance(double p) {
    if (p <= 0) return false;
    return std::uniform_real_distribution<double>(0, 1)(rng_) < p;
}

void SimRadio::log(const char* direction, const QByteArray& bytes) const {
    if (!opt_.verbose) return;
    QTextStream(stderr) << direction << ' ' << bytes.toHex(' ') << '\n';
}

void SimRadio::queueBytes(const QByteArray& bytes, qint64 earliestNs) {
    if (byteNs_ == 0) {
        line_.send(bytes);
        return;
    }
    qint64 due = std::max(earliestNs, txFree_);
    for (const char c : bytes) {
        due += byteNs_;
        line_.sendAt(c, due);
    }
    txFree_ = due;
}

void SimRadio::onReceived(const QByteArray& bytes, qint64 atNs) {
    log("<-", bytes);
    if (!powered_) {
        // The cable's echo needs no radio.
        if (opt_.echo) queueBytes(bytes, atNs);
        return;
    }
    if (byteNs_ == 0) {
        if (opt_.echo) line_.send(bytes);
        for (const auto& ex : radio_.feed(bytes, atNs / 1000000))
            handle(ex, atNs);
        return;
    }
    // The pseudo-terminal hands over a whole request at once; on a real line its bytes come
    // one after another, and the echo and the reply follow them.
    const qint64 start = std::max(atNs, rxFree_);
    for (int i = 0; i < bytes.size(); ++i) {
        const qint64 arrived = start + (i + 1) * byteNs_;
        if (opt_.echo) queueBytes(bytes.mid(i, 1), arrived - byteNs_);
        for (const auto& ex : radio_.feed(bytes.mid(i, 1), arrived / 1000000))
            handle(ex, arrived);
    }
    rxFree_ = start + bytes.size() * byteNs_;
}

void SimRadio::handle(const VirtualRadio::Exchange& ex, qint64 frameEndNs) {
    QByteArray reply = ex.reply;
    const bool faultable =
        ex.kind == VirtualRadio::FrameKind::Read || ex.kind == VirtualRadio::FrameKind::Write;
    if (faultable && !reply.isEmpty()) {
        if (chance(opt_.drop)) {
            reply.clear();
        } else if (chance(opt_.corrupt)) {
            std::uniform_int_distribution<int> at(0, int(reply.size()) - 1), bit(0, 7);
            const int i = at(rng_);
            reply[i] = static_cast<char>(reply[i] ^ (1 << bit(rng_)));
        }
    }
    // A bad memory cell: the radio acknowledges the block but keeps one byte otherwise.
    if (ex.kind == VirtualRadio::FrameKind::Write && ex.stored &&
        opt_.corruptMemory >= ex.address && opt_.corruptMemory < ex.address + BlockSize)
        radio_.memory[opt_.corruptMemory] ^= 0xFF;
    // The memory is saved before the end request is answered, so that whoever waits for that
    // answer finds the file complete.
    if (ex.kind == VirtualRadio::FrameKind::End) saveMemory();
    if (!reply.isEmpty()) {
        log("->", reply);
        queueBytes(reply, frameEndNs);
    }
    if (ex.kind == VirtualRadio::FrameKind::End && opt_.sessions > 0 &&
        radio_.sessionsEnded() >= opt_.sessions) {
        finishing_ = true;
        if (line_.idle()) finish();
    }
}

void SimRadio::finish() {
    // Give the program a moment to take the last answer before the terminal goes away.
    QTimer::singleShot(200, this, &SimRadio::finished);
}

void SimRadio::saveMemory() {
    if (opt_.save.isEmpty()) return;
    // Like every output: a regular file or a new one, never a device, FIFO or folder.
    QString why;
    if (!WriteFileAtomically(
            opt_.save, QByteArray(reinterpret_cast<const char*>(radio_.memory.data()), MemSize),
            &why))
        QTextStream(stderr) << "mzsim: " << why << '\n';
}
