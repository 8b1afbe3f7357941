#pragma once

// A message as a text identifier with its arguments, so that the core can say why without
// choosing the user's language.

#include <QString>
#include <QStringList>

// A text identifier with the values for its %1, %2, ...
struct TextNote {
    int id = 0;
    QStringList args;
    QString text() const;
};

// A value from a file or a command line as it can be shown: control characters become "?",
// and a long value is cut.
QString PrintableValue(const QString& value);

// What became of a value given for a channel field.
enum class EditOutcome { Stored, Adjusted, Refused };
