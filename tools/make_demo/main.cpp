// Writes the demo document that the virtual radio starts from: a CB radio with the 40 EU
// channels and the first 40 German channels programmed, a few channels with tones, and two
// DTMF codes.
//
//   make_demo OUT.dat

#include "core/files/datafile.h"
#include "core/model/document.h"
#include "core/model/helpers.h"

#include <QCoreApplication>
#include <QSaveFile>
#include <QTextStream>

namespace {
const char* const euChannels[40] = {
    "26.965", "26.975", "26.985", "27.005", "27.015", "27.025", "27.035", "27.055",
    "27.065", "27.075", "27.085", "27.105", "27.115", "27.125", "27.135", "27.155",
    "27.165", "27.175", "27.185", "27.205", "27.215", "27.225", "27.255", "27.235",
    "27.245", "27.265", "27.275", "27.285", "27.295", "27.305", "27.315", "27.325",
    "27.335", "27.345", "27.355", "27.365", "27.375", "27.385", "27.395", "27.405"};

void setCode(DTMFRec& d, int k, const char* shown) {
    const QString stored = DtmfToStored(QString::fromLatin1(shown));
    d.Codes[k].Code = stored;
    d.Codes[k].Len = static_cast<i16>(stored.size());
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        QTextStream(stderr) << "usage: make_demo OUT.dat\n";
        return 2;
    }
    Document doc;
    doc.SetCountryMode(0);
    doc.NewDocument();

    // Group EU holds channels 1..40, group DE starts at 241.
    doc.DeleteChannel(doc.FindChannel(1));
    for (int i = 0; i < 40; ++i) {
        doc.AddChannel(1 + i, QString::fromLatin1(euChannels[i]));
        doc.AddChannel(241 + i, QString::fromLatin1(euChannels[i]));
    }
    doc.EditFunc([](FuncRec& f) {
        f.GroupValid[0] = 1;
        f.GroupValid[6] = 1;
        f.Volume = 3;
        f.Beep = 1;
    });
    // Channel 9 and 19 with CTCSS 88.5 Hz, channel 20 with DCS 131N, channel 40 AM at low power.
    for (int ch : {9, 19}) {
        doc.Channel(ch)->RDCT = 8;
        doc.Channel(ch)->TDCT = 8;
    }
    doc.Channel(20)->RDCT = 60;
    doc.Channel(20)->TDCT = 60;
    doc.Channel(40)->AM_FM = 1;
    doc.Channel(40)->Tx_Power = 0;
    doc.EditDtmf([](DTMFRec& d) {
        setCode(d, 0, "123");
        setCode(d, 1, "710#");
    });

    doc.ToFileCopy();
    QSaveFile f(QString::fromLocal8Bit(argv[1]));
    if (!f.open(QIODevice::WriteOnly) ||
        f.write(EncodeDataFile(doc.FileRadioData, doc.FileCHInfo)) != DataFileSize || !f.commit()) {
        QTextStream(stderr) << "make_demo: cannot write " << argv[1] << "\n";
        return 1;
    }
    return 0;
}
