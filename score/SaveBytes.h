#pragma once
// Writing an export file safely: the old file is replaced only when the new
// one is complete.

#include <QByteArray>
#include <QString>

namespace qn::score {

// Writes bytes to path through a temporary file. Returns an empty string on
// success, otherwise what went wrong, in words.
QString SaveBytes(const QString& path, const QByteArray& bytes);

}  // namespace qn::score
