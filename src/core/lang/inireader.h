#pragma once

// A small INI reader for the language files. The language files are UTF-8 and a Chinese text
// takes three bytes a character, so a line easily passes the 200-byte line limit that the
// system's libinih is built with; this reader has no such limit. Sections and keys are
// compared without regard to case, values are trimmed, ";" and "#" start comment lines only.

#include <QHash>
#include <QString>

class IniTable {
public:
    static constexpr qint64 MaxBytes = 4 * 1024 * 1024;
    // Reads a regular file of at most MaxBytes; false (and an empty table) otherwise.
    bool load(const QString& path);
    // Reads the text of a file already in memory; what load does after reading the file.
    void parse(const QByteArray& text);
    QString value(const QString& section, const QString& key) const;
    const QHash<QString, QString>& entries() const { return map_; } // "section\nkey" -> value

    static QString makeKey(const QString& section, const QString& key);

private:
    QHash<QString, QString> map_;
};
