// Any text: parsing never crashes, and every value written by forJet() comes
// back unchanged.
#include "dataaccess/connectionstring.h"
#include "dataaccess/dataaccesserror.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text
        = QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    try {
        dataaccess::ConnectionString::parse(text);
    } catch (const dataaccess::DataAccessError &) { }
    const qsizetype half = text.size() / 2;
    const QString source = text.left(half);
    const QString password = text.mid(half);
    const auto parsed
        = dataaccess::ConnectionString::parse(dataaccess::ConnectionString::forJet(source, password));
    if (parsed.value(QStringLiteral("Data Source")) != source
        || parsed.value(QStringLiteral("Jet OLEDB:Database Password")) != password)
        std::abort();
    return 0;
}
