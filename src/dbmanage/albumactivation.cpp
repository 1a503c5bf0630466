#include "dbmanage/albumactivation.h"

#include <QLineEdit>

#include <array>
#include <cstdio>
#include <filesystem>
#include <optional>

#include "data/albumsettings.h"
#include "data/data.h"
#include "dbmanage/paswoord.h"
#include "framework/mainview.h"
#include "framework/picturecaption.h"
#include "imaging/pdbmultiimage.h"

namespace {

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

AlbumActivation::AlbumActivation(Tdb& db, TPDBMultiImage& view, MainView& window, TForm4& passwordWindow)
    : db_(db), view_(view), window_(window), passwordWindow_(passwordWindow)
{}

void AlbumActivation::PasswordGate(const std::string& directory, const std::string& baseName)
{
    openSettingsTable(db_, directory, baseName);
    const std::string password = db_.Table3.fieldByName("PASWOORD").asString();
    if (!db_.Table3.fieldByName("PW").asBoolean()) {
        ActivateDatabase(directory, baseName);
        return;
    }
    if (passwordWindow_.ShowModal() == TModalResult::mrOk &&
        passwordWindow_.MaskEdit1->text().toStdString() == password) {
        ActivateDatabase(directory, baseName);
        return;
    }
    db_.Table3.close();
    window_.ButtonStatus(false);
}

void AlbumActivation::ActivateDatabase(const std::string& directory, const std::string& baseName)
{
    try {
        const AlbumSettings settings = openAlbumTables(db_);
        window_.showAlbumName(QString::fromStdString(baseName));
        window_.ButtonStatus(true);
        applySettings(settings);
    } catch (const std::exception& error) {
        window_.showCaption(QStringLiteral("Error: ActivateDatabase"));
        // The caption says only that it failed; the reason goes where a user who asks finds it.
        std::fprintf(stderr, "Kadrix: the album %s could not be opened: %s\n",
                     (std::filesystem::path(directory) / baseName).string().c_str(), error.what());
        closeHalfOpenedAlbum();
        // Without a readable reg.db there is no automatic opening to switch off.
        if (db_.Reg.active()) {
            db_.Reg.edit();
            db_.Reg.fieldByName("AUTO-OPEN").setAsBoolean(false);
            db_.Reg.refresh();
        }
    }
}

void AlbumActivation::applySettings(const AlbumSettings& settings)
{
    showPictureCaption(db_, view_);
    view_.setCenter(settings.center);
    view_.setStretchRatio(settings.fit);
    const int records = db_.Table1.recordCount();
    window_.setPositionMaximum(records > 0 ? records : 1);
    showTablePosition(window_, db_.Table1);
    view_.setJPegSaveQuality(settings.jpegQuality);
    view_.setJPegSaveSmooth(settings.jpegSmoothing);
    view_.setPNGInterLaced(settings.pngInterlaced);
    if (const auto compression = choiceNamed(settings.tifCompression, tiffCompressions))
        view_.setTifSaveCompress(*compression);
    if (const auto mode = choiceNamed(settings.pcdMode, pcdModes))
        view_.setPCDMode(*mode);
}

void AlbumActivation::closeHalfOpenedAlbum()
{
    // The window shows no album rather than one whose commands fail on a closed table.
    for (TTable* table : {&db_.Table1, &db_.Table2, &db_.Table3}) {
        try {
            table->close();
        } catch (const std::exception&) {
            // Nothing was edited in an album that never opened; closing is all that counts.
        }
    }
    showNoAlbum(window_);
}
