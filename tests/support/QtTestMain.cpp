// Entry point of the widget test executable. Test discovery runs it without a
// display, so the offscreen platform is chosen unless the caller set another.
#include <QApplication>

#include <cstdlib>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
