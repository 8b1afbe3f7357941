// Writes the demo document that the virtual radio starts from: a CB radio built as a new CB
// document is (every national plan from the plan table, the MEM channels on plan channels),
// with the EU and German groups in use, a few channels with tones, and two DTMF codes. The
// output depends on nothing but the plan table, so the file is rebuilt byte for byte (the test
// demo_is_reproducible compares it with data/demo/demo.dat).
//
//   make_demo OUT.dat

#include "core/files/datafile.h"
#include "core/model/cbplanrule.h"
#include "core/model/channelplan.h"
#include "core/model/document.h"
#include "core/model/helpers.h"

#include <QCoreApplication>
#include <QSaveFile>
#include <QTextStream>

namespace {
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

    // The plans as a new CB document has them: EU 1..40, DE from 241, and the other plans.
    QString error;
    if (CbPlanRows().isEmpty() || !ApplyPlan(doc, CbPlanRows(), &error)) {
        QTextStream(stderr) << "make_demo: the CB plan table does not build: " << error << "\n";
        return 1;
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
