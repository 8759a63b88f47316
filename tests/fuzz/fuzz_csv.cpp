// Any bytes: the reader never crashes, and records it reads, written again,
// read back the same.
#include "dbtool/csv.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    QList<csv::Record> records;
    try {
        csv::Reader reader(bytes);
        csv::Record record;
        while (reader.next(record))
            records.append(record);
    } catch (const csv::ParseError &error) {
        if (error.line() < 1)
            std::abort();
        return 0;
    }
    QByteArray written;
    for (const csv::Record &record : records)
        written += csv::formatRecord(record);
    csv::Reader again(written);
    csv::Record record;
    for (const csv::Record &expected : records) {
        if (!again.next(record))
            std::abort();
        // A record of one empty field is an empty line either way.
        if (record != expected && !(expected == csv::Record {std::nullopt} && record == expected))
            std::abort();
    }
    if (again.next(record))
        std::abort();
    return 0;
}
