#include "serialtransport_linux.h"
#include "linktexts.h"
#include "portholders.h"
#include "portnames.h"

#include <QFileInfo>

SerialTransport::SerialTransport(const QString& port, QObject* parent)
    : LinkTransport(parent), port_(port) {
    connect(&serial_, &QSerialPort::readyRead, this, &LinkTransport::dataArrived);
    connect(&serial_, &QSerialPort::errorOccurred, this, &SerialTransport::onError);
}

bool SerialTransport::open(QString* why) {
    if (serial_.isOpen()) serial_.close();
    if (port_.trimmed().isEmpty()) {
        if (why) *why = LinkText(TxtNoPort);
        return false;
    }
    const QString path = PortDevicePath(port_);
    // The port library locks the name it is given: a link (/dev/serial/by-id/..., a link of the
    // user's) would get a lock of its own beside the device's, and two programs could share
    // the line. The device itself is opened and locked.
    const QString real = QFileInfo(path).canonicalFilePath();
    device_ = real.isEmpty() ? path : real;
    serial_.setPortName(device_);
    serial_.setBaudRate(QSerialPort::Baud9600);
    serial_.setDataBits(QSerialPort::Data8);
    serial_.setParity(QSerialPort::NoParity);
    serial_.setStopBits(QSerialPort::OneStop);
    serial_.setFlowControl(QSerialPort::NoFlowControl);
    lost_ = false;
    if (!serial_.open(QIODevice::ReadWrite)) {
        if (why) *why = DescribeOpenFailure(path, serial_.error(), serial_.errorString());
        return false;
    }
    // Setting the modem lines fails on a pseudo-terminal ("Inappropriate ioctl"); the radio does
    // not need them, so such errors are left behind here.
    serial_.clearError();
    lowLatency_ = RequestLowLatency(int(serial_.handle()));
    return true;
}

void SerialTransport::close() {
    if (!serial_.isOpen()) return;
    // The end request sent just before must still leave, so the radio quits programming mode.
    serial_.flush();
    RestoreLatency(int(serial_.handle()), lowLatency_);
    serial_.close();
}

bool SerialTransport::isOpen() const {
    return serial_.isOpen();
}

void SerialTransport::clear() {
    if (!serial_.isOpen()) return;
    serial_.clear(QSerialPort::Output);
    if (serial_.isOpen()) // the first clear may have found the line dead and closed it
        serial_.clear(QSerialPort::Input);
}

void SerialTransport::send(const QByteArray& bytes) {
    if (serial_.isOpen()) serial_.write(bytes);
}

QByteArray SerialTransport::takeAll() {
    return serial_.isOpen() ? serial_.readAll() : QByteArray();
}

QString SerialTransport::sharedWith() const {
    // A device that opened without a lock (a pseudo-terminal, a program that takes none) may
    // have other readers: /proc names them, as mzcli doctor does.
    const QString device = device_.isEmpty() ? port_ : device_;
    const QList<PortHolder> holders = PortHolders(device);
    if (holders.isEmpty()) return {};
    return LinkText(TxtBusyBy).arg(port_.isEmpty() ? device : port_, holders.first().name,
                                   QString::number(holders.first().pid));
}

void SerialTransport::onError(QSerialPort::SerialPortError error) {
    // A dead line keeps the port "open" and reports errors by the hundred thousand per second:
    // the first one closes the port and is told once.
    const bool fatal = error == QSerialPort::ReadError || error == QSerialPort::ResourceError ||
                       error == QSerialPort::WriteError;
    if (!fatal || lost_ || !serial_.isOpen()) return;
    lost_ = true;
    // The port's error text may be left over from an earlier call (setting the modem lines of a
    // pseudo-terminal, for one): the kind of error says what happened. A device that went
    // away (EIO or ENODEV on a read, or its node is gone) is a pulled cable; a pseudo-terminal
    // whose other side closed looks the same.
    const bool unplugged = error == QSerialPort::ResourceError || !QFileInfo::exists(device_);
    const QString reason = LinkText(unplugged ? TxtPortClosed : TxtPortFailed);
    serial_.close();
    emit lineLost(reason, unplugged);
}
