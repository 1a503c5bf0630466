// The command line: what it is refused for, and an album named on it opened at start-up
// instead of the remembered one.
#include <QPushButton>

#include <filesystem>
#include <fstream>

#include "app/commandline.h"
#include "dbmanage/paswoord.h"
#include "programfixture.h"

namespace {

using Action = CommandLine::Action;

CommandLine read(std::vector<std::string> arguments)
{
    return readCommandLine(arguments);
}

class CommandLineTest : public ::testing::Test {
protected:
    TempDir folder;
    std::string touch(const std::string& name)
    {
        const std::string path = folder.str() + "/" + name;
        std::ofstream(path) << "x";
        return path;
    }
};

TEST_F(CommandLineTest, HelpAndVersionAnswerWhateverFollows)
{
    EXPECT_EQ(read({"--help", "--bogus"}).action, Action::ShowHelp);
    EXPECT_EQ(read({"-h"}).action, Action::ShowHelp);
    EXPECT_EQ(read({"--version", "a", "b"}).action, Action::ShowVersion);
    EXPECT_NE(commandLineHelp().find("--version"), std::string::npos);
    EXPECT_EQ(versionText().rfind("Kadrix ", 0), 0u);
}

TEST_F(CommandLineTest, NothingNamedStartsOnTheRememberedAlbum)
{
    const CommandLine line = read({});
    EXPECT_EQ(line.action, Action::Start);
    EXPECT_TRUE(line.album.empty());
    // The toolkit's display options take their value with them.
    EXPECT_EQ(read({"-platform", "offscreen"}).album, "");
    EXPECT_EQ(read({"-platform", "offscreen"}).action, Action::Start);
    EXPECT_EQ(read({"-style"}).action, Action::Refuse);
}

TEST_F(CommandLineTest, AnAlbumIsNamedByItsPictureFileInAnyCase)
{
    const std::string lower = touch("Holiday.mb");
    const std::string upper = touch("WIN.MB");
    EXPECT_EQ(read({lower}).album, lower);
    EXPECT_EQ(read({upper}).album, upper);

    // A relative name is made absolute, so opening it does not depend on the current folder.
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(folder.str());
    const CommandLine relative = read({"./Holiday.mb"});
    std::filesystem::current_path(before);
    EXPECT_EQ(relative.album, lower);

    // After "--" a name may start with a dash.
    const std::string dashed = touch("-odd.mb");
    EXPECT_EQ(read({"--", "-odd.mb"}).action, Action::Refuse); // relative to another folder
    EXPECT_EQ(read({"--", dashed}).album, dashed);
}

TEST_F(CommandLineTest, WhatCannotBeAnAlbumIsRefusedWithItsReason)
{
    const std::string picture = touch("photo.jpg");
    const std::string noStem = touch(".mb");
    const std::string album = touch("a.mb");
    std::filesystem::create_directory(folder.str() + "/folder.mb");

    const auto complaint = [](std::vector<std::string> arguments) {
        const CommandLine line = readCommandLine(arguments);
        EXPECT_EQ(line.action, Action::Refuse);
        EXPECT_TRUE(line.album.empty());
        return line.complaint;
    };
    const auto quoted = [](const std::string& text) { return std::string(1, '\'').append(text).append(1, '\''); };
    EXPECT_EQ(complaint({"--frobnicate"}), "unknown option '--frobnicate'");
    EXPECT_EQ(complaint({picture}), quoted(picture).append(" does not name an album: give the album's .mb file"));
    EXPECT_EQ(complaint({noStem}), quoted(noStem).append(" does not name an album: give the album's .mb file"));
    const std::string gone = folder.str() + "/gone.mb";
    EXPECT_EQ(complaint({gone}), std::string("there is no album ").append(quoted(gone)));
    const std::string notAFile = folder.str() + "/folder.mb";
    EXPECT_EQ(complaint({notAFile}), quoted(notAFile).append(" is not a file"));
    EXPECT_EQ(complaint({album, album}), "name one album at most; 2 were given");
}

class NamedAlbumTest : public ProgramTest {};

TEST_F(NamedAlbumTest, ANamedAlbumOpensInsteadOfTheRememberedOne)
{
    createAlbum(albumDir(), "remembered", {{"old", "old.jpg"}});
    createAlbum(albumDir(), "named", {{"first", "one.jpg"}, {"second", "two.jpg"}});
    writeRegDb({264, 52, 742, 630, true, "remembered", albumDir()});
    startWithoutActivation();
    form().openAtStart(albumDir() + "/named.mb");
    form().FormActivate();
    ASSERT_TRUE(form().albumOpen());
    EXPECT_EQ(paneText("RzStatusPane1"), "named");
    EXPECT_EQ(db().Table1.fieldByName("MEMO").asString(), "first");
    EXPECT_TRUE(dialogs.errors.isEmpty());
    stop();
    // Like an album chosen with Open, it is the one remembered for the next start.
    EXPECT_EQ(readRegDb().database, "named");
}

TEST_F(NamedAlbumTest, AProtectedNamedAlbumAsksForItsPassword)
{
    createAlbum(albumDir(), "safe", {{"secret", "a.jpg"}}, {{"PW", true}, {"PASWOORD", std::string("Sesame")}});
    writeRegDb({264, 52, 742, 630, false, "", ""});
    bool asked = false;
    modals.onNextModal([&asked](QDialog& dialog) {
        auto* prompt = qobject_cast<TForm4*>(&dialog);
        ASSERT_NE(prompt, nullptr) << "expected the password window";
        asked = true;
        prompt->MaskEdit1->setText("wrong");
        prompt->BitBtn2->click();
    });
    startWithoutActivation();
    form().openAtStart(albumDir() + "/safe.mb");
    form().FormActivate();
    EXPECT_TRUE(asked);
    EXPECT_FALSE(form().albumOpen());
}

TEST_F(NamedAlbumTest, AnIncompleteNamedAlbumIsReportedAndNoAlbumIsOpen)
{
    createAlbum(albumDir(), "remembered", {{"old", "old.jpg"}});
    createAlbum(albumDir(), "broken", {{"first", "one.jpg"}});
    std::filesystem::remove(albumDir() + "/broken2.db");
    writeRegDb({264, 52, 742, 630, true, "remembered", albumDir()});
    startWithoutActivation();
    form().openAtStart(albumDir() + "/broken.mb");
    form().FormActivate();
    EXPECT_FALSE(form().albumOpen());
    ASSERT_EQ(dialogs.errors.size(), 1);
    const QString album = QString::fromStdString(albumDir()) + QStringLiteral("/broken.mb");
    EXPECT_TRUE(dialogs.errors.front().startsWith(QStringLiteral("The album %1 could not be opened: ").arg(album)))
        << dialogs.errors.front().toStdString();
    EXPECT_TRUE(dialogs.errors.front().contains("broken2")) << dialogs.errors.front().toStdString();
}

TEST_F(NamedAlbumTest, TheMainWindowCarriesTheProgramsIcon)
{
    writeRegDb({});
    start();
    const QIcon icon = form().windowIcon();
    ASSERT_FALSE(icon.isNull());
    for (const int size : {16, 48, 256})
        EXPECT_EQ(icon.pixmap(size, size).width(), size);
}

} // namespace
