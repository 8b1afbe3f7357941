#pragma once

// Shared by the data-file tests: small byte helpers. (The prompter and the document builders
// are in tests/support.)

#include "core/app/appstate.h"
#include "core/files/datafile.h"
#include "core/lang/langtext.h"
#include "core/lang/prompter.h"
#include "core/model/document.h"
#include "support/documentbuilders.h"
#include "support/scriptedprompter.h"

#include <QFile>

using namespace Qt::StringLiterals;

inline int Le16(const QByteArray& b, int at) {
    return static_cast<i16>(static_cast<unsigned char>(b[at]) |
                            (static_cast<unsigned char>(b[at + 1]) << 8));
}

inline QByteArray Patched(QByteArray b, int at, int v) {
    b[at] = static_cast<char>(v & 0xFF);
    b[at + 1] = static_cast<char>((v >> 8) & 0xFF);
    return b;
}

// Everything a refused open or a failed save must leave as it was.
inline QByteArray Snapshot(const Document& d) {
    return EncodeDataFile(d.RadioData, d.CHInfo) + EncodeDataFile(d.FileRadioData, d.FileCHInfo) +
           u"%1|%2|%3|%4|%5|%6|%7|%8"_s.arg(d.ModelName, d.BandText, d.CurFileName)
               .arg(d.CountryMode)
               .arg(int(d.IsNewFile))
               .arg(d.RadioInfo.InfoMode)
               .arg(d.FreLow)
               .arg(d.FreHigh)
               .toUtf8();
}
