// The documents tests draw text (header labels, overlays): fonts need a
// QGuiApplication, offscreen. With "--save-loop DIR" the executable is the
// helper of the kill test instead: it saves a document over and over.
#include <QGuiApplication>

#include <gtest/gtest.h>
#include <cstring>

#include "SaveLoop.h"

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--save-loop") == 0) return qn::test::SaveLoop(argv[2]);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
