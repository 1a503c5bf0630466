// A whole program (main window, data module, modal windows) on private settings and album
// folders, with scripted system dialogs, for driving the program as a user would.
#pragma once

#include <QCoreApplication>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QLineEdit>

#include "app/main.h"
#include "app/program.h"
#include "data/data.h"
#include "framework/statuspanes.h"
#include "framework/trackbar.h"
#include "imaging/pdbmultiimage.h"
#include "support/modalwatcher.h"
#include "support/scripteddialogs.h"
#include "support/tempdir.h"

// The control of a window with the given object name; fails the test when there is none.
template <typename T> T& widgetNamed(QObject& window, const QString& name)
{
    T* found = window.findChild<T*>(name);
    if (!found)
        throw std::runtime_error("no control named " + name.toStdString());
    return *found;
}

struct RegValues {
    int x = 264, y = 52, dx = 742, dy = 630;
    bool autoOpen = false;
    std::string database;
    std::string path;
};

struct TestPicture {
    std::string memo;
    std::string name;
    std::vector<int> categories;
    bool mark = false;
    QByteArray bytes; // a whole picture file; empty: no picture
};

class ProgramTest : public ::testing::Test {
protected:
    ProgramTest();
    ~ProgramTest() override;

    // Settings folder (holds reg.db) and a folder for albums.
    // The commands may change the current folder (batch export); each test starts where the
    // first began.
    const QString startFolder = QDir::currentPath();
    TempDir config;
    TempDir albums;
    ScriptedDialogService dialogs;
    ModalWatcher modals;

    void writeRegDb(const RegValues& values);
    RegValues readRegDb();
    // Creates an album with the settings every new album gets, changed by `settings`.
    void createAlbum(const std::string& directory, const std::string& base, const std::vector<TestPicture>& pictures,
                     const std::vector<std::pair<std::string, paradox::Value>>& settings = {});
    std::string albumDir() const { return albums.str(); }

    // Builds the program (as at process start) and runs the start-up sequence.
    void start();
    void startWithoutActivation();
    // Closes the main window (the shutdown sequence) and ends the program.
    void stop();

    TForm1& form() { return program_->Form1(); }
    Tdb& db() { return program_->db(); }

    // The main window's controls, by the names the window gives them, used as a user would.
    template <typename T = QWidget> T& control(const QString& name) { return widgetNamed<T>(form(), name); }
    QAction& action(const QString& name) { return widgetNamed<QAction>(form(), name); }
    void trigger(const QString& menuItem) { action(menuItem).trigger(); }
    // A mouse click in the middle of a button or label.
    void click(const QString& name);
    // A click on the position bar's groove at its current position, released there.
    void releasePositionBar();
    QString paneText(const QString& name) { return control<QLabel>(name).text(); }
    TrackBar& positionBar() { return control<TrackBar>(QStringLiteral("RzTrackBar1")); }
    PartsProgressBar& progressBar() { return control<PartsProgressBar>(QStringLiteral("RzProgressBar2")); }
    QLineEdit& findBox() { return control<QLineEdit>(QStringLiteral("Edit1")); }
    TPDBMultiImage& pictureView() { return control<TPDBMultiImage>(QStringLiteral("PDBMultiImage1")); }
    // Closes the open album as the album commands do before they open or make another.
    void closeAlbum();
    // Whether the commands that need an open album are on.
    bool databaseCommandsEnabled();
    std::unique_ptr<Program> program_;
};

// A small picture file of the given size and colour.
QByteArray pictureFile(int width, int height, const QColor& colour, const char* format = "PNG");

// Picture bytes turned into another kind by ImageMagick: `convert <options> - <output>`, where
// output is e.g. "HEIC:-"; empty when convert failed.
QByteArray convertedPicture(const QByteArray& input, const QStringList& options, const QString& output);

// Random-looking bytes: they compress to nothing, so a picture made of them keeps its size.
QByteArray noiseBytes(int size, unsigned seed);
