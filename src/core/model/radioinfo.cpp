#include "radioinfo.h"

#include <QLocale>

void RadioInfoDefaults(RadioInfoRec& info, int countryMode, const QString& model,
                       const QDate& today) {
    const QByteArray nul(1, '\0');
    const QString date = QLocale::system().toString(today, QLocale::ShortFormat);
    info.InfoMode = countryMode;
    info.InfoSpare.assign(nul);
    info.SerialNo.assign(nul);
    info.RepairNote.assign(nul);
    info.DealerCode.assign(nul);
    info.Handler.assign(nul);
    info.FactoryDate = date;
    info.RepairDate = date;
    info.StockInDate = date;
    info.SaleDate = date;
    info.SoftVersion = QStringLiteral("V1.00");
    info.InfoCode.clear();
    info.InfoModel = model;
    info.BatchNo = QStringLiteral("%1-1-E-1").arg(today.month(), 2, 10, QLatin1Char('0'));
    info.CustomerCode = QStringLiteral("001A");
}
