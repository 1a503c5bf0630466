// What a benchmark of the whole program needs first: the offscreen platform (unless a display
// is chosen), a private work folder holding the settings, the application object and codecs.
#pragma once

#include <QTemporaryDir>

#include "framework/application.h"
#include "imaging/initialise.h"

struct BenchProgram {
    BenchProgram(int& argc, char** argv) : app(argc, argv) { imaging::initialise(); }

    QTemporaryDir work;

private:
    // Set before the application object reads them.
    struct Environment {
        explicit Environment(const QTemporaryDir& folder)
        {
            if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
                qputenv("QT_QPA_PLATFORM", "offscreen");
            qputenv("XDG_CONFIG_HOME", folder.filePath("config").toLocal8Bit());
            qputenv("XDG_RUNTIME_DIR", folder.path().toLocal8Bit());
        }
    } environment_{work};

public:
    TApplication app;
};
