// Shared entry point of the shell tests: widgets and sound effects need a
// QApplication (the platform, normally offscreen, comes from the environment).
#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
