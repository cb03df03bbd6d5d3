#pragma once
// Text drawing needs a QGuiApplication; tests that print text make one on
// first use (offscreen unless the environment names a platform) and keep it.

#include <QGuiApplication>

namespace qn::test {

inline void EnsureGuiApp() {
    if (QGuiApplication::instance()) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "quillnote_tests";
    static char* argv[] = {name, nullptr};
    new QGuiApplication(argc, argv);  // lives until the process ends
}

}  // namespace qn::test
