#pragma once

// The radio's identity and service record. It is shown by the radio-information window and
// filled by the radio-information read; it is never saved in data files nor written to the
// radio.

#include "fixedtext.h"

#include <QDate>
#include <QString>

struct RadioInfoRec {
    int InfoMode = 0;
    QString InfoModel;
    QString InfoCode; // at most 4 characters
    FixedText<16> InfoSpare;
    FixedText<16> SerialNo;
    FixedText<16> FactoryDate;
    FixedText<16> RepairDate;
    FixedText<96> RepairNote;
    QString SoftVersion;
    FixedText<8> BatchNo;
    FixedText<4> CustomerCode;
    FixedText<16> DealerCode;
    FixedText<16> StockInDate;
    FixedText<16> SaleDate;
    FixedText<16> Handler;
};

// The defaults of a new document, for the given header values and today's date.
void RadioInfoDefaults(RadioInfoRec& info, int countryMode, const QString& model,
                       const QDate& today = QDate::currentDate());
