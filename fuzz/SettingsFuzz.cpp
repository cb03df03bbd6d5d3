// "set.ini" on any bytes: values within their ranges, and a write that keeps
// every byte the program does not own.
#include <QFile>
#include <cmath>
#include <cstdint>

#include "FuzzFile.h"
#include "SettingsFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace qn;
    const QString& path = fuzz::WriteScratch("set.ini", data, size);
    const OptionsReadResult read = ReadOptionsFile(path);
    const OptionsValues& v = read.values;
    if (v.Check8 > 1 || v.Check10 > 1 || v.Check11 > 1 || v.Check12 > 1) __builtin_trap();
    if (!(v.BeatSpacing >= 0 && v.BeatSpacing <= 8)) __builtin_trap();
    if (!WriteOptionsFile(path, v).isEmpty()) __builtin_trap();
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) __builtin_trap();
    const QByteArray after = f.readAll();
    if (after.size() != std::max<qsizetype>(qsizetype(size), kOptionsFileSize)) __builtin_trap();
    for (size_t i = 0; i < size; ++i) {
        const bool owned = i <= 5 || i == 9 || i == 13 || i == 17;
        if (!owned && after[qsizetype(i)] != char(data[i])) __builtin_trap();
    }
    return 0;
}
