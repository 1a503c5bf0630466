// Choosing a scanner and scanning into the album, through SANE's "test" backend with a
// private configuration. SANE reads its configuration folder once per process, so every case
// needs a process of its own, as ctest gives it.
#include <QAction>
#include <QApplication>
#include <QProgressDialog>
#include <QTimer>

#include <fstream>

#include "imaging/pdbmultiimage.h"
#include "programfixture.h"
#include "support/sanetestbackend.h"

namespace fs = std::filesystem;

namespace {

class ScanningTest : public ProgramTest {
protected:
    // The test backend's two devices scanning a small white picture in colour, their reads
    // ending with `readStatus`; or no scanner at all.
    // `slow`: the scanner hands its picture over in small pieces with a pause after each, so
    // a scan lasts seconds, however fast or loaded the machine.
    void configureSane(const std::string& readStatus = "Default", bool anyScanner = true, bool slow = false)
    {
        static std::string configuredBefore;
        if (!configuredBefore.empty())
            GTEST_SKIP() << "SANE was set up by an earlier case of this process; run each case on its own "
                            "(ctest does)";
        const fs::path folder = albums.path() / "sane";
        fs::create_directory(folder);
        std::ofstream(folder / "dll.conf") << (anyScanner ? "test\n" : "");
        std::ofstream(folder / "test.conf") << "number_of_devices 2\nmode Color\nresolution 50\n"
                                            << "test-picture \"Solid white\"\nbr_x 10.0\nbr_y 8.0\n"
                                            << "read-status-code \"" << readStatus << "\"\n"
                                            << (slow ? "read-limit true\nread-limit-size 16\nread-delay true\n"
                                                       "read-delay-duration 200000\n"
                                                     : "");
        configuredBefore = folder.string();
        keepSaneTestBackendLoaded();
        qputenv("SANE_CONFIG_DIR", configuredBefore.c_str());
    }
    void openAlbum()
    {
        createAlbum(albumDir(), "scans", {{"", "old"}});
        writeRegDb({264, 52, 742, 630, true, "scans", albumDir()});
        start();
        ASSERT_TRUE(form().albumOpen());
    }
};

} // namespace

TEST_F(ScanningTest, AScannedPictureBecomesANewRecordStoredAsJpeg)
{
    configureSane();
    if (IsSkipped())
        return;
    openAlbum();
    trigger("Scan1");
    EXPECT_TRUE(dialogs.errors.isEmpty());
    TTable& pictures = db().Table1;
    ASSERT_EQ(pictures.recordCount(), 2);
    EXPECT_EQ(pictures.state(), TDataSetState::dsBrowse);
    const paradox::Bytes stored = pictures.fieldByName("FOTO").asBytes();
    ASSERT_GT(stored.size(), 2u);
    EXPECT_EQ(stored[0], 0xFF);
    EXPECT_EQ(stored[1], 0xD8);
    EXPECT_TRUE(pictures.fieldByName("NAAM").asString().empty());
    EXPECT_FALSE(form().state().ImageEmptyAtError);
}

TEST_F(ScanningTest, AJammedScannerAddsNoRecordAndShowsNothing)
{
    configureSane("SANE_STATUS_JAMMED");
    if (IsSkipped())
        return;
    openAlbum();
    int engineErrors = 0;
    QObject::connect(&pictureView(), &TPDBMultiImage::ilibError, [&] { ++engineErrors; });
    trigger("Scan1");
    EXPECT_EQ(engineErrors, 1) << "the failure reaches the engine's error event";
    EXPECT_TRUE(dialogs.errors.isEmpty()) << "and no message box";
    EXPECT_EQ(db().Table1.recordCount(), 1);
    EXPECT_FALSE(form().state().ImageEmptyAtError);
}

TEST_F(ScanningTest, SelectListsTheScannersAndScanUsesTheChosenOne)
{
    configureSane();
    if (IsSkipped())
        return;
    openAlbum();
    dialogs.answerPath("Noname frontend-tester (test:1)");
    trigger("Select1");
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(dialogs.asked[0].kind, "chooseItem");
    EXPECT_EQ(dialogs.asked[0].items,
              (QStringList{"Noname frontend-tester (test:0)", "Noname frontend-tester (test:1)"}));
    trigger("Scan1");
    EXPECT_EQ(db().Table1.recordCount(), 2);
}

TEST_F(ScanningTest, WithoutScannersSelectSaysSoAndScanAddsNoRecord)
{
    configureSane("Default", false);
    if (IsSkipped())
        return;
    openAlbum();
    trigger("Select1");
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(dialogs.asked[0].text, "No scanner was found.");
    trigger("Scan1");
    EXPECT_EQ(db().Table1.recordCount(), 1);
}

TEST_F(ScanningTest, ASlideshowTickDuringTheScanWaitsAndTheScanIsStored)
{
    configureSane();
    if (IsSkipped())
        return;
    createAlbum(albumDir(), "scans", {{"", "old"}}, {{"DELAY", std::int64_t{0}}});
    writeRegDb({264, 52, 742, 630, true, "scans", albumDir()});
    start();
    ASSERT_TRUE(form().albumOpen());
    click("SpeedButton3"); // the slideshow steps on every tick
    bool tickedDuringScan = false;
    QTimer::singleShot(0, &form(), [&] {
        tickedDuringScan = db().Table1.state() == TDataSetState::dsInsert;
        form().MyIdleHandler();
    });
    trigger("Scan1");
    EXPECT_TRUE(tickedDuringScan);
    EXPECT_TRUE(dialogs.errors.isEmpty()) << dialogs.errors.join('\n').toStdString();
    TTable& pictures = db().Table1;
    ASSERT_EQ(pictures.recordCount(), 2);
    pictures.last();
    const paradox::Bytes stored = pictures.fieldByName("FOTO").asBytes();
    ASSERT_GT(stored.size(), 2u);
    EXPECT_EQ(stored[0], 0xFF) << "the scan is in the new record, stored as JPEG";
}

TEST_F(ScanningTest, CancelAsksTheScanToStopAndItsWindowStaysUpUntilItHas)
{
    // A slow scan: Escape reaches the progress window while the scan still runs.
    configureSane("Default", true, true);
    if (IsSkipped())
        return;
    openAlbum();
    bool shownAfterCancel = false;
    QString textAfterCancel;
    QTimer::singleShot(0, &form(), [&] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            auto* progress = qobject_cast<QProgressDialog*>(window);
            if (!progress || !progress->isVisible())
                continue;
            QTest::keyClick(progress, Qt::Key_Escape);
            shownAfterCancel = progress->isVisible();
            textAfterCancel = progress->labelText();
        }
    });
    trigger("Scan1");
    EXPECT_TRUE(shownAfterCancel);
    EXPECT_EQ(textAfterCancel, "Cancelling...");
    EXPECT_TRUE(dialogs.errors.isEmpty());
    EXPECT_EQ(db().Table1.recordCount(), 1) << "a cancelled scan adds no record";
}
