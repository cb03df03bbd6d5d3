// The list files' field reader on any bytes, and the file reader on them.
#include <cstdint>

#include "FuzzFile.h"
#include "ListFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace qn;
    const QByteArray bytes(reinterpret_cast<const char*>(data), int(size));
    const QStringList fields = ParseListFields(bytes);
    // Every field ends at a separator: never more fields than separators + 1.
    if (fields.size() > bytes.count(',') + bytes.count('\n') + bytes.count('\r') + 1) __builtin_trap();
    const QString& path = fuzz::WriteScratch("explin.txt", data, size);
    const ListReadResult read = ReadListFile(path);
    if (!read.error.isEmpty() || read.entries != fields) __builtin_trap();
    return 0;
}
