#pragma once

// The radio's information area (InfoBuf) and the programming password it holds.

#include "../model/radioinfo.h"
#include "membuf.h"

#include <QByteArray>

// Fills the fields that the radio keeps; InfoSpare, SoftVersion and InfoModel stay as they are.
void UnpackInfoBuf(const InfoBuf& info, RadioInfoRec& rec);
// The country mode the information area reports (low 4 bits of its first byte).
int InfoAreaMode(const InfoBuf& info);

// The radio's password from the 16 data bytes of the password block: bytes 12..15 up to the
// first 0x00 or 0xFF, cut at a NUL and without trailing blanks. Empty: the radio has none.
QString RadioPassword(const QByteArray& blockData);
// A typed password as it is kept: cut at its first NUL, trailing blanks removed.
QString CleanPassword(const QString& typed);
// An empty radio password always passes; otherwise the two must be equal, case included.
bool PasswordMatches(const QString& radioPassword, const QString& progPassword);
