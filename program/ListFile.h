#pragma once
// The list files "speed.txt" and "explin.txt": GBK text read field by field.
// Fields end at commas and line ends (CRLF, LF or a lone CR); a field in double
// quotes is taken without them and may hold commas and line ends.
//
// As a sequential field reader does: spaces and tabs before a field are
// skipped, trailing ones of an unquoted field dropped, and text between a
// closing quote and the next separator ignored. A comma always separates two
// fields, so ",," and a comma before a line end give empty entries; a line with
// nothing on it gives none.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace qn {

struct ListReadResult {
    QStringList entries;
    QString error;  // empty on success
};

QStringList ParseListFields(const QByteArray& gbkText);
// A list file holds a few dozen words or phrases; this much is far beyond any.
inline constexpr qint64 kMaxListFileSize = 256 << 10;

// A file that cannot be opened, is no regular file (a FIFO, a device, a folder)
// or is larger than kMaxListFileSize gives no entries and an error text.
ListReadResult ReadListFile(const QString& path);

}  // namespace qn
