// A language file: the small INI reader that the text lookup uses.

#include "core/lang/inireader.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    IniTable t;
    t.parse(
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    // Every entry read is found again by its section and key.
    for (auto it = t.entries().cbegin(); it != t.entries().cend(); ++it) {
        const QString& k = it.key();
        const qsizetype nl = k.indexOf(QLatin1Char('\n'));
        if (nl < 0) std::abort();
        if (t.value(k.left(nl), k.mid(nl + 1)) != it.value()) std::abort();
    }
    return 0;
}
