#pragma once

// The printed report of a document: a title block, the channels of every group in use with
// the group's settings, the optional features, the keys and the DTMF settings and codes, in the
// current language and with the texts the windows show. The same report goes to a printer (the
// print preview of the program) and to a PDF file (File > Export PDF, mzcli print).

#include <QPageLayout>
#include <QString>
#include <memory>

class Document;
class QPagedPaintDevice;
class QTextDocument;

// A4 landscape with 12 mm margins: a channel table of some twenty columns needs the width.
QPageLayout ReportPageLayout();

// The report as a rich-text document. Every table repeats its caption and header rows on each
// page it runs over, so a page never shows values without their group and column names.
std::unique_ptr<QTextDocument> BuildPrintReport(const Document& doc);

// Paints the report on the pages of device (a printer or a PDF writer) in the device's page
// layout, with a footer that names the file and the page. The report is laid out anew for
// the device; the QTextDocument itself is left as it was.
void PrintReport(const QTextDocument& report, QPagedPaintDevice* device);

// Writes the report as a PDF file. The file is built in memory and then written through the
// one atomic writer, so a failure leaves an existing file as it was. False with one sentence
// naming the file and the reason in *error.
bool WritePdf(const Document& doc, const QString& path, QString* error = nullptr);
