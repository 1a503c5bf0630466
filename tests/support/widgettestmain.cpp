// Start of the window test programs: the program's own application object on the offscreen
// platform (unless a display is chosen), private runtime and settings folders, codecs ready.
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "framework/application.h"
#include "imaging/initialise.h"

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const QTemporaryDir runtimeDir;
    qputenv("XDG_RUNTIME_DIR", runtimeDir.path().toLocal8Bit());
    const QTemporaryDir configDir;
    qputenv("XDG_CONFIG_HOME", configDir.path().toLocal8Bit());
    TApplication application(argc, argv);
    TApplication::setApplicationName(QStringLiteral("Kadrix Plus"));
    imaging::initialise();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
