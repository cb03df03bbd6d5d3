#pragma once
// Text printed into the page needs the font database, which needs a
// QGuiApplication; the core's tests otherwise run without one.

#include <QFont>
#include <QGuiApplication>

namespace qn::test {

inline void EnsureGuiApplication() {
    if (QGuiApplication::instance()) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "quillnote_tests";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
}

// The canvas font face as the window sets it (宋体, else its Debian stand-ins).
inline QFont PageFontFace() {
    QFont f;
    f.setFamilies({QStringLiteral("SimSun"), QStringLiteral("AR PL UMing CN"),
                   QStringLiteral("Noto Serif CJK SC")});
    return f;
}

inline void EnsureGuiApp() { EnsureGuiApplication(); }

}  // namespace qn::test
