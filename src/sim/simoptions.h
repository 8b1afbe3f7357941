#pragma once

// mzsim's command line.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

struct SimOptions {
    QString link; // symlink to the device
    QByteArray model = QByteArrayLiteral("MZ-710");
    int mode = 0;
    QByteArray firmware = QByteArrayLiteral("V100");
    bool tone = true;
    QByteArray password; // empty: none
    QString image;       // 7424-byte memory to start from
    QString info;        // 256-byte information area to start from
    QString save;        // memory written here after each session
    bool echo = false;   // the cable echoes every byte
    int baud = 0;        // 0: replies as fast as possible
    double drop = 0, corrupt = 0, resend = 0;
    std::optional<quint32> seed;
    int corruptMemory = -1; // >= 0: the radio keeps this address inverted after every write
    int sessions = 0;       // > 0: exit after this many sessions
    // Not empty: the serial number of the first radio of a series (digits); every time the
    // radio is switched off and on it is the next radio, with the next serial number.
    QString serialSeries;
    bool verbose = false;
};

// Parses the arguments (without the program name); on error returns nothing and sets *error.
std::optional<SimOptions> ParseSimOptions(const QStringList& args, QString* error);
QString SimUsage();
// A memory address of --corrupt-memory: decimal or 0x hexadecimal, 0x0000 to 0x1CFF.
std::optional<int> ParseSimAddress(const QString& text);
// The serial number after serial, same width (all nines grow by a digit): 0123456 -> 0123457.
QString NextSerial(const QString& serial);
