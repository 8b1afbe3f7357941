#pragma once

// The text of a PDF file as pdftotext (poppler-utils) reads it, one string per page, with the
// layout kept so that a table row stays one line. The tests that read PDFs skip when the
// program is missing; the scripts install it, so CI runs them.

#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

inline QString PdfToTextProgram() {
    return QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
}

inline QStringList PdfPages(const QString& pdf) {
    QProcess p;
    p.start(PdfToTextProgram(), {QStringLiteral("-layout"), QStringLiteral("-enc"),
                                 QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
    if (!p.waitForFinished(60000) || p.exitCode() != 0) return {};
    QStringList pages = QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty()) pages.removeLast();
    return pages;
}
