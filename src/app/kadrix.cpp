// Process entry: the application object, the windows, the message loop.
#include <QMessageBox>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/appicon.h"
#include "app/commandline.h"
#include "app/main.h"
#include "app/program.h"
#include "framework/application.h"
#include "framework/qtdialogservice.h"
#include "imaging/initialise.h"

namespace {

constexpr const char* noDisplayMessage =
    "Kadrix needs a graphical display, and none is available.\n"
    "Start it from an X11 or Wayland desktop session (DISPLAY or WAYLAND_DISPLAY must be set).\n";

bool displayConfigured()
{
    const auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value && *value;
    };
    return set("QT_QPA_PLATFORM") || set("DISPLAY") || set("WAYLAND_DISPLAY");
}

// When the display named in the environment cannot be reached, the toolkit gives up with a
// fatal message; say plainly what is wrong instead of leaving a core dump behind.
void messageHandler(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtFatalMsg && message.contains(QLatin1String("platform plugin"))) {
        std::fputs(noDisplayMessage, stderr);
        std::_Exit(1);
    }
    qt_message_output(type, context, message);
}

} // namespace

int main(int argc, char** argv)
{
    // The command line is answered before anything needs a display.
    const CommandLine commandLine = readCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    switch (commandLine.action) {
    case CommandLine::Action::ShowHelp:
        std::fputs(commandLineHelp().c_str(), stdout);
        return 0;
    case CommandLine::Action::ShowVersion:
        std::fputs(versionText().c_str(), stdout);
        return 0;
    case CommandLine::Action::Refuse:
        std::fprintf(stderr, "kadrix: %s\nTry 'kadrix --help' for more information.\n", commandLine.complaint.c_str());
        return 2;
    case CommandLine::Action::Start:
        break;
    }
    if (!displayConfigured()) {
        std::fputs(noDisplayMessage, stderr);
        return 1;
    }
    qInstallMessageHandler(messageHandler);
    TApplication app(argc, argv);
    qInstallMessageHandler(nullptr);
    TApplication::setApplicationName(QStringLiteral("Kadrix Plus"));
    TApplication::setDesktopFileName(QString::fromLatin1(desktopEntryId));
    TApplication::setWindowIcon(applicationIcon());
    imaging::initialise();

    QtDialogService dialogs;
    std::unique_ptr<Program> program;
    try {
        program = std::make_unique<Program>(dialogs);
    } catch (const std::exception& error) {
        // An error while the windows are made ends the program after it is shown.
        app.showError(QString::fromUtf8(error.what()));
        return 1;
    }
    if (!commandLine.album.empty())
        program->Form1().openAtStart(commandLine.album);
    program->Form1().show();
    return TApplication::exec();
}
