// Moving and copying albums through the copy/move window.
#include <QCryptographicHash>
#include <QPushButton>

#include "dbmanage/move.h"
#include "framework/directorylistbox.h"
#include "framework/drivecombobox.h"
#include "framework/filelistbox.h"
#include "framework/pathlabel.h"
#include "paradox/table.h"
#include "support/filesizelimit.h"
#include "programfixture.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> albumFiles(const std::string& base)
{
    return {base + ".db", base + "1.db", base + "2.db", base + ".mb"};
}

class TransferTest : public ProgramTest {
protected:
    TempDir destination;

    // Pictures whose bytes compress to nothing, so each reaches the blob file whole.
    std::vector<TestPicture> noisePictures(int count, int size)
    {
        std::vector<TestPicture> pictures;
        for (int n = 0; n < count; ++n) {
            const std::string number = std::to_string(n);
            pictures.push_back({"memo", "p" + number, {n % 24 + 1}, n % 2 == 0, noiseBytes(size, static_cast<unsigned>(n + 1))});
        }
        return pictures;
    }
    void SetUp() override
    {
        createAlbum(albumDir(), "holiday", noisePictures(3, 40000));
        writeRegDb({264, 52, 742, 630, true, "holiday", albumDir()});
        start();
        ASSERT_TRUE(form().albumOpen());
    }
    // Picks `file` in the source folder and `target` as destination, then OK.
    void answerTransfer(const fs::path& file, const fs::path& target)
    {
        modals.onNextModal([file, target](QDialog& dialog) {
            auto& window = dynamic_cast<TForm9&>(dialog);
            window.DirectoryListBox1->setDirectory(QString::fromStdString(file.parent_path().string()));
            clickFile(window, QString::fromStdString(file.filename().string()));
            window.DirectoryListBox2->setDirectory(QString::fromStdString(target.string()));
            window.BitBtn1->click();
        });
    }
    static void clickFile(TForm9& window, const QString& name)
    {
        const auto found = window.FileListBox1->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << name.toStdString();
        const QRect place = window.FileListBox1->visualItemRect(found.front());
        QTest::mouseClick(window.FileListBox1->viewport(), Qt::LeftButton, {}, place.center());
    }
    bool hasAlbum(const fs::path& dir, const std::string& base)
    {
        for (const std::string& file : albumFiles(base))
            if (!fs::exists(dir / file))
                return false;
        return true;
    }
    bool hasNoFileOf(const fs::path& dir, const std::string& base)
    {
        for (const std::string& file : albumFiles(base))
            if (fs::exists(dir / file))
                return false;
        return true;
    }
    // The names and picture hashes of an album's records, read from its picture table.
    std::vector<std::pair<std::string, QByteArray>> contents(const fs::path& dir, const std::string& base)
    {
        paradox::Table table(dir / (base + ".db"), {paradox::Lock::Shared});
        std::vector<std::pair<std::string, QByteArray>> records;
        const int name = table.fieldIndex("NAAM");
        const int picture = table.fieldIndex("FOTO");
        for (std::size_t r = 0; r < table.recordCount(); ++r) {
            const paradox::Bytes bytes = table.blob(r, picture);
            records.emplace_back(table.text(r, name),
                                 QCryptographicHash::hash(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())),
                                                          QCryptographicHash::Sha256));
        }
        return records;
    }
    std::vector<std::pair<std::string, QByteArray>> expectedContents(const std::vector<TestPicture>& pictures)
    {
        std::vector<std::pair<std::string, QByteArray>> records;
        for (const TestPicture& picture : pictures)
            records.emplace_back(picture.name, QCryptographicHash::hash(picture.bytes, QCryptographicHash::Sha256));
        return records;
    }
    fs::path source() const { return albums.path() / "holiday.mb"; }
};

} // namespace

TEST_F(TransferTest, OkAndTheDestinationSideStayDisabledUntilAFileIsClicked)
{
    modals.onNextModal([this](QDialog& dialog) {
        auto& window = dynamic_cast<TForm9&>(dialog);
        EXPECT_EQ(window.windowTitle(), "Move a database");
        EXPECT_TRUE(window.Label6->text().isEmpty());
        EXPECT_FALSE(window.BitBtn1->isEnabled());
        EXPECT_FALSE(window.DirectoryListBox2->isEnabled());
        EXPECT_FALSE(window.DriveComboBox2->isEnabled());
        window.DirectoryListBox1->setDirectory(QString::fromStdString(albumDir()));
        EXPECT_FALSE(window.BitBtn1->isEnabled()) << "choosing a folder chooses no album";
        clickFile(window, "holiday.mb");
        EXPECT_EQ(window.Label6->text().toStdString(), source().string());
        EXPECT_TRUE(window.BitBtn1->isEnabled());
        EXPECT_TRUE(window.DirectoryListBox2->isEnabled());
        EXPECT_TRUE(window.DriveComboBox2->isEnabled());
        window.BitBtn2->click();
    });
    trigger("Move1");
    // The next use starts over: the chosen album is cleared and OK disabled again.
    modals.onNextModal([](QDialog& dialog) {
        auto& window = dynamic_cast<TForm9&>(dialog);
        EXPECT_EQ(window.windowTitle(), "copy / move");
        EXPECT_TRUE(window.Label6->text().isEmpty());
        EXPECT_FALSE(window.BitBtn1->isEnabled());
        window.reject();
    });
    trigger("Copy1");
    EXPECT_TRUE(form().albumOpen()) << "a cancelled window changes nothing";
    EXPECT_TRUE(databaseCommandsEnabled());
}

TEST_F(TransferTest, CopyingTheOpenAlbumClosesItLeavesBothAndDoesNotReopenIt)
{
    answerTransfer(source(), destination.path());
    trigger("Copy1");
    EXPECT_FALSE(form().albumOpen());
    EXPECT_FALSE(databaseCommandsEnabled());
    EXPECT_TRUE(hasAlbum(albums.path(), "holiday"));
    EXPECT_TRUE(hasAlbum(destination.path(), "holiday"));
    EXPECT_EQ(contents(destination.path(), "holiday"), contents(albums.path(), "holiday"));
    EXPECT_TRUE(dialogs.asked.empty()) << "no question, no message";
    EXPECT_EQ(progressBar().percent(), 100);
}

TEST_F(TransferTest, ANameWithSeveralDotsIsCutAtTheLastOneOnly)
{
    createAlbum(albumDir(), "trip.2024.v2", {{"m", "a.png"}});
    answerTransfer(albums.path() / "trip.2024.v2.mb", destination.path());
    trigger("Copy1");
    EXPECT_TRUE(hasAlbum(destination.path(), "trip.2024.v2"));
    EXPECT_TRUE(hasAlbum(albums.path(), "trip.2024.v2"));
    EXPECT_FALSE(form().albumOpen()) << "the open album is closed whichever album is copied";
}

TEST_F(TransferTest, ADestinationAlbumOfThatNameIsOverwrittenWithoutAQuestion)
{
    createAlbum(destination.str(), "holiday", {{"old", "old.png"}, {"older", "older.png"}});
    answerTransfer(source(), destination.path());
    trigger("Copy1");
    EXPECT_EQ(contents(destination.path(), "holiday"), contents(albums.path(), "holiday"));
    EXPECT_TRUE(dialogs.asked.empty());
}

TEST_F(TransferTest, TheSourceFolderAsDestinationIsRefusedBeforeAnythingIsClosed)
{
    answerTransfer(source(), albums.path() / "."); // the same folder, written another way
    trigger("Move1");
    ASSERT_EQ(dialogs.errors.size(), 1);
    EXPECT_TRUE(dialogs.errors[0].contains("folder it is in")) << dialogs.errors[0].toStdString();
    EXPECT_TRUE(form().albumOpen());
    EXPECT_TRUE(databaseCommandsEnabled());
    form().close(); // lets the tables go
    program_.reset();
    EXPECT_EQ(contents(albums.path(), "holiday"), expectedContents(noisePictures(3, 40000)));
}

TEST_F(TransferTest, AMoveLeavesOnlyTheDestinationWithEveryPictureIntact)
{
    answerTransfer(source(), destination.path());
    trigger("Move1");
    EXPECT_TRUE(hasNoFileOf(albums.path(), "holiday"));
    ASSERT_TRUE(hasAlbum(destination.path(), "holiday"));
    EXPECT_FALSE(form().albumOpen());

    dialogs.answerPath(QString::fromStdString((destination.path() / "holiday.mb").string()));
    trigger("Open1");
    ASSERT_TRUE(form().albumOpen());
    EXPECT_EQ(db().Table1.recordCount(), 3);
    EXPECT_EQ(db().Table3.fieldByName("JPG QUALITY").asInteger(), 100) << "the settings came along";
    closeAlbum();
    EXPECT_EQ(contents(destination.path(), "holiday"), expectedContents(noisePictures(3, 40000)));
}

TEST_F(TransferTest, AFullDiskEndsTheMoveWithAMessageAndLeavesSourceAndDestinationAsTheyWere)
{
    createAlbum(destination.str(), "holiday", {{"old", "old.png"}});
    const auto oldDestination = contents(destination.path(), "holiday");
    const auto sourceRecords = expectedContents(noisePictures(3, 40000));
    answerTransfer(source(), destination.path());
    {
        const FileSizeLimit diskFull(60000); // the copied blob file outgrows it at the second picture
        trigger("Move1");
    }
    ASSERT_EQ(dialogs.errors.size(), 1) << "the failure is shown";
    ASSERT_FALSE(form().albumOpen());
    EXPECT_EQ(contents(albums.path(), "holiday"), sourceRecords) << "nothing of the source is deleted";
    EXPECT_EQ(contents(destination.path(), "holiday"), oldDestination) << "the old album there is untouched";
    for (const auto& entry : fs::directory_iterator(destination.path()))
        EXPECT_EQ(entry.path().filename().string().find(".kadrix-copy-"), std::string::npos)
            << "staged copy left behind: " << entry.path();

    dialogs.answerPath(QString::fromStdString(source().string()));
    trigger("Open1");
    EXPECT_TRUE(form().albumOpen()) << "the source album opens as before";
}

TEST_F(TransferTest, ADestinationTableInUseEndsTheMoveAndDeletesNothing)
{
    createAlbum(destination.str(), "holiday", {{"old", "old.png"}});
    const auto oldDestination = contents(destination.path(), "holiday");
    const paradox::Table inUse(destination.path() / "holiday1.db", {paradox::Lock::Exclusive});
    answerTransfer(source(), destination.path());
    trigger("Move1");
    ASSERT_EQ(dialogs.errors.size(), 1);
    EXPECT_TRUE(dialogs.errors[0].contains("holiday1.db")) << dialogs.errors[0].toStdString();
    EXPECT_TRUE(hasAlbum(albums.path(), "holiday"));
    EXPECT_EQ(contents(destination.path(), "holiday"), oldDestination);
}
