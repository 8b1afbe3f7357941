#include "infoarea.h"

namespace {
// A text of the area ends at the first byte 0x00 or 0xFF.
QByteArray areaText(const InfoBuf& info, int from, int to) {
    QByteArray t;
    for (int i = from; i <= to; ++i) {
        const std::uint8_t b = info[i];
        if (b == 0x00 || b == 0xFF) break;
        t.append(static_cast<char>(b));
    }
    return t;
}
} // namespace

int InfoAreaMode(const InfoBuf& info) {
    return info[0] & 0x0F;
}

void UnpackInfoBuf(const InfoBuf& info, RadioInfoRec& rec) {
    rec.InfoMode = InfoAreaMode(info);
    rec.BatchNo.assign(areaText(info, 32, 39));
    rec.CustomerCode.assign(areaText(info, 40, 43));
    rec.InfoCode = QString::fromLatin1(areaText(info, 44, 47));
    rec.SerialNo.assign(areaText(info, 48, 63));
    rec.FactoryDate.assign(areaText(info, 64, 79));
    rec.RepairDate.assign(areaText(info, 80, 95));
    rec.RepairNote.assign(areaText(info, 96, 191));
    rec.DealerCode.assign(areaText(info, 192, 207));
    rec.StockInDate.assign(areaText(info, 208, 223));
    rec.SaleDate.assign(areaText(info, 224, 239));
    rec.Handler.assign(areaText(info, 240, 255));
}

QString RadioPassword(const QByteArray& blockData) {
    QByteArray t;
    for (int i = 12; i < 16 && i < blockData.size(); ++i) {
        const auto b = static_cast<unsigned char>(blockData[i]);
        if (b == 0x00 || b == 0xFF) break;
        t.append(static_cast<char>(b));
    }
    return CleanPassword(QString::fromLatin1(t));
}

QString CleanPassword(const QString& typed) {
    QString t = typed;
    const int nul = t.indexOf(QChar(0));
    if (nul >= 0) t.truncate(nul);
    while (!t.isEmpty() && t.back() == QLatin1Char(' '))
        t.chop(1);
    return t;
}

bool PasswordMatches(const QString& radioPassword, const QString& progPassword) {
    return radioPassword.isEmpty() || radioPassword == progPassword;
}
