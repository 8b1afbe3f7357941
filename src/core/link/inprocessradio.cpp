#include "inprocessradio.h"

namespace {
QString& memoryPath() {
    static QString path;
    return path;
}
} // namespace

QString InProcessRadio::portName() {
    return QStringLiteral("virtual-radio");
}

void InProcessRadio::setMemoryFile(const QString& path) {
    memoryPath() = path;
}

QString InProcessRadio::memoryFile() {
    return memoryPath();
}
