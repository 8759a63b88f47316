// Any bytes as a UN/LOCODE file: no crash; malformed input is named by a
// line, and every port read has a code of country and location, once.
#include "dbtool/codelistfiles.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    codelists::Ports ports;
    try {
        codelists::readLocodeData(bytes, QStringLiteral("fuzz.csv"), ports);
    } catch (const codelists::InputError &error) {
        if (!error.message().startsWith(QStringLiteral("fuzz.csv:")))
            std::abort();
        return 0;
    }
    if (ports.domestic.size() + ports.foreign.size() != ports.codes.size())
        std::abort();
    for (const codelists::CodeRow &port : ports.domestic) {
        if (!port.code || !port.code->startsWith(QStringLiteral("ID")))
            std::abort();
    }
    for (const codelists::CodeRow &port : ports.foreign) {
        if (!port.code || port.code->size() < 2 || port.code->startsWith(QStringLiteral("ID")))
            std::abort();
    }
    return 0;
}
