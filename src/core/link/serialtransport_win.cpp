#include "serialtransport_win.h"
#include "inprocessradio.h"
#include "linktexts.h"
#include "portnames.h"
#include "virtualradio.h"

#include <QFile>
#include <QTimer>

#include <QSerialPortInfo>
#include <QStringList>
#include <QWinEventNotifier>
#include <windows.h>

struct SerialTransport::Io {
    HANDLE handle = INVALID_HANDLE_VALUE;
    OVERLAPPED readOv{}, writeOv{};
    char readByte = 0;
    QByteArray writing; // the bytes of the pending write; they must live until it completes
    bool readPending = false, writePending = false;
    QWinEventNotifier readDone, writeDone;

    Io() {
        readOv.hEvent = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
        writeOv.hEvent = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
        readDone.setHandle(readOv.hEvent);
        writeDone.setHandle(writeOv.hEvent);
    }
    ~Io() {
        readDone.setEnabled(false);
        writeDone.setEnabled(false);
        ::CloseHandle(readOv.hEvent);
        ::CloseHandle(writeOv.hEvent);
    }
    bool isOpen() const { return handle != INVALID_HANDLE_VALUE; }
};

namespace {
QString systemMessage(DWORD error) {
    wchar_t* text = nullptr;
    const DWORD n = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    QString s = n ? QString::fromWCharArray(text, int(n)).trimmed() : QString::number(error);
    if (text) ::LocalFree(text);
    while (s.endsWith(QLatin1Char('.')))
        s.chop(1);
    return s;
}

// A USB cable pulled out ends the pending read with one of these.
bool meansUnplugged(DWORD error) {
    return error == ERROR_ACCESS_DENIED || error == ERROR_BAD_COMMAND ||
           error == ERROR_DEVICE_REMOVED || error == ERROR_GEN_FAILURE ||
           error == ERROR_FILE_NOT_FOUND || error == ERROR_DEVICE_NOT_CONNECTED ||
           error == ERROR_HANDLE_EOF || error == ERROR_BROKEN_PIPE;
}
} // namespace

QString DescribeComOpenFailure(const QString& port, unsigned long error) {
    switch (error) {
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
        // Windows opens a COM port for one program only; this is the answer when another
        // program (or another window of this one) has it.
        return LinkText(TxtBusy).arg(port);
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND: {
        QStringList ports;
        for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
            ports << info.portName();
        if (ports.isEmpty()) return LinkText(TxtNotFoundNone).arg(port);
        return LinkText(TxtNotFound).arg(port, ports.join(QStringLiteral(", ")));
    }
    default:
        return LinkText(TxtOpenFailed).arg(port, systemMessage(DWORD(error)));
    }
}

SerialTransport::SerialTransport(const QString& port, QObject* parent)
    : LinkTransport(parent), port_(port), io_(std::make_unique<Io>()) {
    connect(&io_->readDone, &QWinEventNotifier::activated, this, &SerialTransport::readDone);
    connect(&io_->writeDone, &QWinEventNotifier::activated, this, &SerialTransport::writeDone);
}

SerialTransport::~SerialTransport() {
    close();
}

bool SerialTransport::open(QString* why) {
    close();
    if (port_.trimmed().isEmpty()) {
        if (why) *why = LinkText(TxtNoPort);
        return false;
    }
    device_ = PortDevicePath(port_);
    if (device_ == InProcessRadio::portName()) return openVirtualRadio();
    // \\.\ reaches COM10 and above as well as COM1 to COM9.
    QString name = device_;
    if (!name.startsWith(QLatin1String("\\\\.\\"))) name.prepend(QLatin1String("\\\\.\\"));
    HANDLE h =
        ::CreateFileW(reinterpret_cast<const wchar_t*>(name.utf16()), GENERIC_READ | GENERIC_WRITE,
                      0, nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        if (why) *why = DescribeComOpenFailure(device_, error);
        return false;
    }
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    ::GetCommState(h, &dcb);
    dcb.BaudRate = CBR_9600;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.fBinary = TRUE;
    dcb.fParity = FALSE;
    dcb.fOutxCtsFlow = FALSE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDsrSensitivity = FALSE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    dcb.fNull = FALSE;
    dcb.fAbortOnError = FALSE;
    // Some cables take their power from DTR and RTS: both on, as a terminal has them.
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    // All zero: a read completes when the bytes asked for have come, a write when it is sent.
    COMMTIMEOUTS timeouts{};
    if (!::SetCommState(h, &dcb) || !::SetCommTimeouts(h, &timeouts)) {
        const DWORD error = ::GetLastError();
        ::CloseHandle(h);
        if (why) *why = LinkText(TxtOpenFailed).arg(device_, systemMessage(error));
        return false;
    }
    ::PurgeComm(h, PURGE_RXCLEAR | PURGE_TXCLEAR);
    io_->handle = h;
    lost_ = false;
    in_.clear();
    out_.clear();
    io_->readDone.setEnabled(true);
    io_->writeDone.setEnabled(true);
    startRead();
    return isOpen();
}

void SerialTransport::close() {
    radio_.reset();
    if (!io_->isOpen()) return;
    Io& io = *io_;
    // The end request sent just before must still leave, so the radio quits programming mode:
    // what waits is sent, and the pending write is waited for (at 9600 baud a few hundred
    // bytes take well under a second).
    if (!out_.isEmpty() && !io.writePending) startWrite();
    if (io.writePending) {
        if (::WaitForSingleObject(io.writeOv.hEvent, 2000) != WAIT_OBJECT_0)
            ::CancelIoEx(io.handle, &io.writeOv);
        DWORD n = 0;
        ::GetOverlappedResult(io.handle, &io.writeOv, &n, TRUE);
        io.writePending = false;
        if (!out_.isEmpty() && io.isOpen()) {
            // What was queued behind it, written and waited for likewise.
            io.writing = out_;
            out_.clear();
            ::ResetEvent(io.writeOv.hEvent);
            if (::WriteFile(io.handle, io.writing.constData(), DWORD(io.writing.size()), nullptr,
                            &io.writeOv) ||
                ::GetLastError() == ERROR_IO_PENDING) {
                if (::WaitForSingleObject(io.writeOv.hEvent, 2000) != WAIT_OBJECT_0)
                    ::CancelIoEx(io.handle, &io.writeOv);
                ::GetOverlappedResult(io.handle, &io.writeOv, &n, TRUE);
            }
        }
    }
    if (io.readPending) {
        ::CancelIoEx(io.handle, &io.readOv);
        DWORD n = 0;
        ::GetOverlappedResult(io.handle, &io.readOv, &n, TRUE);
        io.readPending = false;
    }
    io.readDone.setEnabled(false);
    io.writeDone.setEnabled(false);
    ::ResetEvent(io.readOv.hEvent);
    ::ResetEvent(io.writeOv.hEvent);
    ::CloseHandle(io.handle);
    io.handle = INVALID_HANDLE_VALUE;
    out_.clear();
}

bool SerialTransport::isOpen() const {
    return io_->isOpen() || radio_;
}

void SerialTransport::clear() {
    in_.clear();
    if (!io_->isOpen()) return;
    out_.clear();
    in_.clear();
    // The pending read stays: clearing the receive queue does not end it.
    ::PurgeComm(io_->handle, PURGE_RXCLEAR | PURGE_TXCLEAR);
}

void SerialTransport::send(const QByteArray& bytes) {
    if (radio_) return feedVirtualRadio(bytes);
    if (!io_->isOpen() || bytes.isEmpty()) return;
    out_ += bytes;
    if (!io_->writePending) startWrite();
}

QByteArray SerialTransport::takeAll() {
    QByteArray all;
    all.swap(in_);
    return all;
}

void SerialTransport::startRead() {
    Io& io = *io_;
    ::ResetEvent(io.readOv.hEvent);
    // Completing at once or later, the event is set and readDone runs from the event loop.
    if (!::ReadFile(io.handle, &io.readByte, 1, nullptr, &io.readOv) &&
        ::GetLastError() != ERROR_IO_PENDING) {
        fail(::GetLastError());
        return;
    }
    io.readPending = true;
}

void SerialTransport::readDone() {
    Io& io = *io_;
    if (!io.isOpen() || !io.readPending) return;
    DWORD n = 0;
    if (!::GetOverlappedResult(io.handle, &io.readOv, &n, FALSE)) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_IO_INCOMPLETE) return;
        io.readPending = false;
        ::ResetEvent(io.readOv.hEvent);
        fail(error);
        return;
    }
    io.readPending = false;
    QByteArray got;
    if (n == 1) got.append(io.readByte);
    // The rest of a reply is usually there already: take all that is queued in one go.
    DWORD errors = 0;
    COMSTAT status{};
    if (::ClearCommError(io.handle, &errors, &status) && status.cbInQue > 0) {
        QByteArray more(int(status.cbInQue), Qt::Uninitialized);
        OVERLAPPED ov{};
        ov.hEvent = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
        DWORD m = 0;
        if (::ReadFile(io.handle, more.data(), status.cbInQue, nullptr, &ov) ||
            ::GetLastError() == ERROR_IO_PENDING) {
            // The bytes are queued, so this completes at once.
            ::GetOverlappedResult(io.handle, &ov, &m, TRUE);
            got.append(more.constData(), int(m));
        }
        ::CloseHandle(ov.hEvent);
    }
    startRead();
    if (!got.isEmpty()) {
        in_ += got;
        emit dataArrived();
    }
}

void SerialTransport::startWrite() {
    Io& io = *io_;
    if (out_.isEmpty() || !io.isOpen()) return;
    io.writing = out_;
    out_.clear();
    ::ResetEvent(io.writeOv.hEvent);
    if (!::WriteFile(io.handle, io.writing.constData(), DWORD(io.writing.size()), nullptr,
                     &io.writeOv) &&
        ::GetLastError() != ERROR_IO_PENDING) {
        fail(::GetLastError());
        return;
    }
    io.writePending = true;
}

void SerialTransport::writeDone() {
    Io& io = *io_;
    if (!io.isOpen() || !io.writePending) return;
    DWORD n = 0;
    if (!::GetOverlappedResult(io.handle, &io.writeOv, &n, FALSE)) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_IO_INCOMPLETE) return;
        io.writePending = false;
        ::ResetEvent(io.writeOv.hEvent);
        fail(error);
        return;
    }
    io.writePending = false;
    // A manual-reset event left set would wake the event loop again and again.
    ::ResetEvent(io.writeOv.hEvent);
    startWrite();
}

void SerialTransport::fail(unsigned long error) {
    if (lost_ || !io_->isOpen() || error == ERROR_OPERATION_ABORTED) return;
    lost_ = true;
    const bool unplugged = meansUnplugged(DWORD(error));
    out_.clear();
    close();
    emit lineLost(LinkText(unplugged ? TxtPortClosed : TxtPortFailed), unplugged);
}

bool SerialTransport::openVirtualRadio() {
    radio_ = std::make_unique<VirtualRadio>();
    radio_->info = VirtualRadio::DefaultInfo(radio_->config.Mode);
    QFile f(InProcessRadio::memoryFile());
    if (f.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = f.read(MemSize + 1);
        if (bytes.size() == MemSize) std::copy(bytes.begin(), bytes.end(), radio_->memory.begin());
    }
    in_.clear();
    lost_ = false;
    clock_.start();
    return true;
}

void SerialTransport::feedVirtualRadio(const QByteArray& bytes) {
    bool changed = false;
    for (const VirtualRadio::Exchange& ex : radio_->feed(bytes, clock_.elapsed())) {
        changed = changed || ex.stored;
        if (ex.reply.isEmpty()) continue;
        // The reply comes from the event loop, as bytes from a line would.
        QTimer::singleShot(0, this, [this, reply = ex.reply] {
            if (!radio_) return;
            in_ += reply;
            emit dataArrived();
        });
    }
    if (changed && !InProcessRadio::memoryFile().isEmpty()) {
        QFile f(InProcessRadio::memoryFile());
        if (f.open(QIODevice::WriteOnly))
            f.write(reinterpret_cast<const char*>(radio_->memory.data()), MemSize);
    }
}
