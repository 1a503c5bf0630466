// Making an album the open one: the password gate, activation with the album's settings
// applied to the picture view, and switching the database commands on and off.
#include "app/main.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QToolButton>

#include <array>
#include <cstdio>
#include <filesystem>

#include "data/data.h"
#include "data/databaseerror.h"
#include "data/paswoord.h"
#include "data/schema.h"
#include "framework/statuspanes.h"
#include "framework/trackbar.h"
#include "imaging/pdbmultiimage.h"

namespace {

void pointAt(TTable& table, const std::string& directory, const std::string& tableName)
{
    table.setDatabaseName(directory);
    table.setTableName(tableName);
}

// Opens one table of an album; a missing one is reported as the album being incomplete,
// naming the album the user chose rather than only a file name.
void openAlbumTable(TTable& table, const std::string& baseName, const char* role)
{
    try {
        table.open();
    } catch (const std::exception&) {
        if (std::filesystem::exists(table.filePath()))
            throw;
        throw DatabaseError("The album \"" + baseName + "\" in " + table.databaseName() + " is incomplete: its " +
                            role + " " + table.tableName() + " is missing.");
    }
}

// The stored text of a setting that names one of several choices; other text chooses nothing.
template <typename Choice, std::size_t N>
std::optional<Choice> choiceNamed(const std::string& text, const std::array<std::pair<const char*, Choice>, N>& choices)
{
    for (const auto& [name, choice] : choices)
        if (text == name)
            return choice;
    return std::nullopt;
}

constexpr std::array<std::pair<const char*, imaging::TiffCompression>, 6> tiffCompressions{{
    {"None", imaging::TiffCompression::sNONE},
    {"CCITT", imaging::TiffCompression::sCCITT},
    {"FAX CCITT3", imaging::TiffCompression::sFAXCCITT3},
    {"FAX CCITT4", imaging::TiffCompression::sFAXCCITT4},
    {"LZW", imaging::TiffCompression::sLZW},
    {"PACKBITS", imaging::TiffCompression::sPACKBITS},
}};

constexpr std::array<std::pair<const char*, imaging::PcdMode>, 3> pcdModes{{
    {"Base", imaging::PcdMode::pcd_BASE},
    {"Base / 4", imaging::PcdMode::pcd_BASE4},
    {"Base / 16", imaging::PcdMode::pcd_BASE16},
}};

} // namespace

void TForm1::PasswordGate(const std::string& directory, const std::string& baseName)
{
    Tdb& tables = db();
    pointAt(tables.Table3, directory, schema::settingsTableName(baseName));
    openAlbumTable(tables.Table3, baseName, "settings table");
    const std::string password = tables.Table3.fieldByName("PASWOORD").asString();
    if (!tables.Table3.fieldByName("PW").asBoolean()) {
        ActivateDatabase(directory, baseName);
        return;
    }
    TForm4& prompt = *windows().Form4;
    if (prompt.ShowModal() == TModalResult::mrOk && prompt.MaskEdit1->text().toStdString() == password) {
        ActivateDatabase(directory, baseName);
        return;
    }
    tables.Table3.close();
    ButtonStatus(false);
}

void TForm1::ActivateDatabase(const std::string& directory, const std::string& baseName)
{
    Tdb& tables = db();
    try {
        pointAt(tables.Table1, directory, schema::pictureTableName(baseName));
        openAlbumTable(tables.Table1, baseName, "picture table");
        pointAt(tables.Table2, directory, schema::categoryTableName(baseName));
        openAlbumTable(tables.Table2, baseName, "category table");
        RzStatusPane1->setText(QString::fromStdString(baseName));
        ButtonStatus(true);

        TTable& settings = tables.Table3;
        const bool showName = settings.fieldByName("TITEL").asBoolean();
        PDBMultiImage1->setTextOverlay(showName ? QString::fromStdString(tables.Table1.fieldByName("NAAM").asString())
                                                : QString());
        PDBMultiImage1->setCenter(settings.fieldByName("CENTER").asBoolean());
        PDBMultiImage1->setStretchRatio(settings.fieldByName("PASSEND").asBoolean());

        const int records = tables.Table1.recordCount();
        RzTrackBar1->setMaximum(records > 0 ? records : 1);
        setPositionBar(records > 0 ? tables.Table1.recNo() : 0);

        PDBMultiImage1->setJPegSaveQuality(settings.fieldByName("JPG QUALITY").asInteger());
        PDBMultiImage1->setJPegSaveSmooth(settings.fieldByName("JPG SMOOTH").asInteger());
        PDBMultiImage1->setPNGInterLaced(settings.fieldByName("PNG INTERLACE").asString() == "Yes");
        if (const auto compression = choiceNamed(settings.fieldByName("TIF COMPRESSION").asString(), tiffCompressions))
            PDBMultiImage1->setTifSaveCompress(*compression);
        if (const auto mode = choiceNamed(settings.fieldByName("PCD MODE").asString(), pcdModes))
            PDBMultiImage1->setPCDMode(*mode);
    } catch (const std::exception& error) {
        setWindowTitle(QStringLiteral("Error: ActivateDatabase"));
        // The caption says only that it failed; the reason goes where a user who asks finds it.
        std::fprintf(stderr, "Kadrix: the album %s could not be opened: %s\n",
                     (std::filesystem::path(directory) / baseName).string().c_str(), error.what());
        // A half-opened album is closed again: the window shows no album rather than one
        // whose commands fail on a closed table.
        for (TTable* table : {&tables.Table1, &tables.Table2, &tables.Table3}) {
            try {
                table->close();
            } catch (const std::exception&) {
                // Nothing was edited in an album that never opened; closing is all that counts.
            }
        }
        showNoAlbum();
        // Without a readable reg.db there is no automatic opening to switch off.
        if (tables.Reg.active()) {
            tables.Reg.edit();
            tables.Reg.fieldByName("AUTO-OPEN").setAsBoolean(false);
            tables.Reg.refresh();
        }
    }
}

void TForm1::showNoAlbum()
{
    ButtonStatus(false);
    RzTrackBar1->setMaximum(1);
    setPositionBar(0);
    RzStatusPane4->clear();
}

void TForm1::ButtonStatus(bool on)
{
    ZoomStep = 0;
    if (!on)
        RzStatusPane1->clear();
    for (QAction* command : {ImportMulti1, Scanner1->menuAction(), Picture1->menuAction(), Labels1, Opties1,
                             Processing1, Batch1->menuAction()})
        command->setEnabled(on);
    for (QWidget* control : std::initializer_list<QWidget*>{SpeedButton1, SpeedButton2, SpeedButton3, SpeedButton7,
                                                            SpeedButton8, RzTrackBar1})
        control->setEnabled(on);
}
