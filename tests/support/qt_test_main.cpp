// GoogleTest entry point for suites that need a QApplication. Widgets are
// real; the display is Qt's offscreen platform unless the caller chose one.
#include <gtest/gtest.h>

#include <QApplication>
#include <QByteArray>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
