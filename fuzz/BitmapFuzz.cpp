// The page bitmap loader on any file: an error or a page within the bounds,
// never a crash, an overflow or a huge allocation.
#include <QImage>
#include <cstdint>

#include "FuzzFile.h"
#include "ScoreDocument.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace qn;
    const QString& path = fuzz::WriteScratch("page.bmp", data, size);
    const QSize header = BitmapHeaderSize(path);
    QImage page;
    if (LoadPageBitmap(path, page).isEmpty()) {
        if (page.width() > kMaxPageWidth || page.height() > kMaxPageHeight) __builtin_trap();
        if (!header.isValid()) __builtin_trap();  // loaded what the header check refused
    }
    return 0;
}
