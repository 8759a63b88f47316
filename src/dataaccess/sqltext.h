#pragma once

#include <optional>
#include <QString>

namespace dataaccess {

// A value written into statement text: NULL, or the text between
// apostrophes with each apostrophe inside doubled.
QString sqlLiteral(const std::optional<QString> &value);

} // namespace dataaccess
