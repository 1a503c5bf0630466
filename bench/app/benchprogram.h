// What a benchmark of the whole program needs first: the offscreen platform (unless a display
// is chosen), a private work folder holding the settings, the application object and codecs.
#pragma once

#include <QApplication>
#include <QTemporaryDir>

#include <cstdio>
#include <string>

#include "app/main.h"
#include "app/program.h"
#include "data/data.h"
#include "dbmanage/albumactivation.h"
#include "dbmanage/albumcommands.h"
#include "dbmanage/newbase.h"
#include "dbmanage/paswoord.h"
#include "framework/application.h"
#include "imaging/initialise.h"
#include "imaging/pdbmultiimage.h"
#include "timing.h"

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

// The program's main window shown and activated, as at a start: the remembered album opens.
inline TForm1& showMainWindow(Program& program)
{
    TForm1& form = program.Form1();
    form.show();
    form.FormActivate();
    return form;
}

inline TPDBMultiImage& pictureView(TForm1& form)
{
    return *form.findChild<TPDBMultiImage*>(QStringLiteral("PDBMultiImage1"));
}

// Closes the open album as the album commands do.
inline void closeAlbum(TForm1& form, Tdb& db, DialogService& dialogs)
{
    AlbumActivation activation(db, pictureView(form), form, *form.findChild<TForm4*>());
    AlbumCommands(db, dialogs, form, activation, *form.findChild<TForm8*>()).closeAlbum();
}

// Makes the album `baseName` in `directory` the open one, closing the one open before, as the
// Open command does after its dialog.
inline void openAlbum(TForm1& form, Tdb& db, DialogService& dialogs, const std::string& directory,
                      const std::string& baseName)
{
    closeAlbum(form, db, dialogs);
    AlbumActivation(db, pictureView(form), form, *form.findChild<TForm4*>()).PasswordGate(directory, baseName);
}

// The step as the user sees it: from the click until the new picture is painted.
inline double timedStep(TForm1& form)
{
    return milliseconds([&] {
        form.SpeedButton2Click();
        pictureView(form).waitForDisplay();
        pictureView(form).viewport()->repaint();
    });
}

// One line of a benchmark's table: what was timed, our figure and the target.
inline void row(const char* what, double ours, const char* target)
{
    std::printf("%-62s %9.1f ms   %s\n", what, ours, target);
}

// Sizes the window so that the picture view shows `size` (the splitter follows the window, so
// a few rounds settle it) and says what it became.
inline void sizePictureView(TForm1& form, QSize size)
{
    TPDBMultiImage& view = pictureView(form);
    for (int round = 0; round < 3; ++round) {
        form.resize(form.size() + size - view.viewport()->size());
        QApplication::processEvents();
    }
    std::printf("picture view: %dx%d\n", view.viewport()->width(), view.viewport()->height());
}
