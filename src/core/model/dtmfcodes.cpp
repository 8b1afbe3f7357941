#include "dtmfcodes.h"
#include "document.h"

QChar DtmfCodeChar(QChar ch) {
    const char16_t c = ch.unicode();
    if ((c >= '0' && c <= '9') || c == '*' || c == '#') return ch;
    if (c >= 'a' && c <= 'd') return QChar(c - 'a' + 'A');
    if (c >= 'A' && c <= 'D') return ch;
    return QChar();
}

QString FilterDtmfText(const QString& text) {
    QString r;
    for (QChar ch : text) {
        const QChar m = DtmfCodeChar(ch);
        if (!m.isNull() && r.size() < DtmfCodeMax) r += m;
    }
    return r;
}

QString ShownDtmfCode(const DTMFCodeRec& code) {
    return code.Len > 0 ? QString::fromLatin1(code.Code.raw().left(code.Len)) : QString();
}

void StoreDtmfCode(Document& doc, int slot, const QString& text) {
    if (slot < 1 || slot > DtmfCodeMax) return;
    const QString t = text.trimmed().left(DtmfCodeMax);
    doc.EditDtmf([&](DTMFRec& r) {
        r.Codes[slot - 1].Code = t;
        r.Codes[slot - 1].Len = static_cast<i16>(t.size());
    });
    if (t.isEmpty()) doc.ReplaceDtmfRef(slot, 0);
}

void RepairDtmfForShow(Document& doc) {
    const DTMFRec& d = doc.RadioData.DTMF;
    bool needed = d.DtmfSet[5] > 1;
    for (const DTMFCodeRec& c : d.Codes)
        needed = needed || c.Len > DtmfCodeMax;
    if (!needed) return;
    doc.EditDtmf([](DTMFRec& r) {
        if (r.DtmfSet[5] > 1) r.DtmfSet[5] = 0;
        for (DTMFCodeRec& c : r.Codes)
            if (c.Len > DtmfCodeMax) c.Len = 0;
    });
}
