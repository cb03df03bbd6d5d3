#include "SongFont.h"

#include <QStringList>

namespace qn {

QFont SongFont(int pixelSize, bool bold) {
    QFont f;
    f.setFamilies({QStringLiteral("SimSun"), QStringLiteral("AR PL UMing CN"),
                   QStringLiteral("Noto Serif CJK SC")});
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    return f;
}

}  // namespace qn
