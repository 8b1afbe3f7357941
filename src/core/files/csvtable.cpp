#include "csvtable.h"

#include "../model/helpers.h"

#include <QStringDecoder>

#include <algorithm>

CsvTable ReadCsv(const QByteArray& bytes, QChar separator) {
    CsvTable t;
    QByteArray data = bytes;
    if (data.startsWith("\xEF\xBB\xBF")) data.remove(0, 3);
    if (data.trimmed().isEmpty()) {
        t.error = CsvError::Empty;
        return t;
    }
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(data);
    if (data.contains('\0') || decoder.hasError()) {
        t.error = CsvError::Binary;
        const qsizetype at = std::max<qsizetype>(FirstNonTextByte(data), 0);
        // The line the byte is on, counted as the records count lines (LF, CR LF or CR alone
        // ends one); a few bytes before the fault and after it, within that line, show where
        // it is.
        qsizetype lineStart = 0;
        t.errorLine = 1;
        for (qsizetype i = 0; i < at; ++i) {
            const char c = data.at(i);
            if (c == '\n' || (c == '\r' && (i + 1 >= data.size() || data.at(i + 1) != '\n'))) {
                ++t.errorLine;
                lineStart = i + 1;
            }
        }
        qsizetype lineEnd = at;
        while (lineEnd < data.size() && data.at(lineEnd) != '\n' && data.at(lineEnd) != '\r')
            ++lineEnd;
        const qsizetype from = std::max(lineStart, at - 4);
        t.errorBytes =
            data.mid(from, std::max<qsizetype>(1, std::min<qsizetype>(8, lineEnd - from)));
        return t;
    }

    int line = 1;
    CsvRecord rec;
    rec.line = 1;
    QString field;
    bool quoted = false, fieldStarted = false;
    int quoteLine = 0;
    auto endField = [&] {
        rec.fields.append(field);
        field.clear();
        fieldStarted = false;
    };
    auto endRecord = [&] {
        endField();
        // A line with nothing on it is no record.
        if (!(rec.fields.size() == 1 && rec.fields.first().isEmpty())) t.records.append(rec);
        rec = CsvRecord{};
        rec.line = line;
    };
    const int n = text.size();
    for (int i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < n && text.at(i + 1) == QLatin1Char('"')) {
                    field += c;
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                if (c == QLatin1Char('\n')) ++line;
                field += c;
            }
            continue;
        }
        if (c == QLatin1Char('"') && !fieldStarted) {
            quoted = fieldStarted = true;
            quoteLine = line;
        } else if (c == separator) {
            endField();
        } else if (c == QLatin1Char('\r') && i + 1 < n && text.at(i + 1) == QLatin1Char('\n')) {
            continue; // the LF ends the record
        } else if (c == QLatin1Char('\n') || c == QLatin1Char('\r')) {
            // A CR alone ends a line too (the line ends of old Mac files).
            ++line;
            endRecord();
        } else {
            field += c;
            fieldStarted = true;
        }
    }
    if (quoted) {
        t.records.clear();
        t.error = CsvError::Unclosed;
        t.errorLine = quoteLine;
        return t;
    }
    if (fieldStarted || !field.isEmpty() || !rec.fields.isEmpty()) endRecord();
    return t;
}

QByteArray CsvLine(const QStringList& fields, QChar separator) {
    QStringList out;
    for (const QString& f : fields) {
        if (f.contains(separator) || f.contains(QLatin1Char('"')) ||
            f.contains(QLatin1Char('\n')) || f.contains(QLatin1Char('\r'))) {
            QString q = f;
            q.replace(QLatin1Char('"'), QStringLiteral("\"\""));
            out << QLatin1Char('"') + q + QLatin1Char('"');
        } else {
            out << f;
        }
    }
    return out.join(separator).toUtf8() + "\r\n";
}
