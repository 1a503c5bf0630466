// Process entry: the application object, the windows, the message loop.
#include <QMessageBox>

#include <cstdio>
#include <cstdlib>
#include <memory>

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
    if (!displayConfigured()) {
        std::fputs(noDisplayMessage, stderr);
        return 1;
    }
    qInstallMessageHandler(messageHandler);
    TApplication app(argc, argv);
    qInstallMessageHandler(nullptr);
    TApplication::setApplicationName(QStringLiteral("Kadrix Plus"));
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
    program->Form1().show();
    return TApplication::exec();
}
