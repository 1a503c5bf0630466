#include "app/startup.h"

#include <cstdio>

#include "app/windowgeometry.h"
#include "data/autoopennote.h"
#include "data/data.h"
#include "data/schema.h"
#include "dbmanage/albumactivation.h"
#include "framework/dialogservice.h"
#include "framework/mainview.h"
#include "imaging/pdbmultiimage.h"

Startup::Startup(Tdb& db, TPDBMultiImage& view, MainView& window, DialogService& dialogs, WindowGeometry& geometry,
                 AlbumActivation& activation)
    : db_(db), view_(view), window_(window), dialogs_(dialogs), geometry_(geometry), activation_(activation)
{}

Startup::~Startup() = default;

void Startup::run()
{
    window_.state() = MainWindowState{};
    restoreGeometry();
    window_.ButtonStatus(false);
    if (!namedAlbum_.empty())
        openNamedAlbum();
    // Without reg.db there is no remembered album to open.
    else if (db_.Reg.active())
        openRememberedAlbum();
}

void Startup::openNamedAlbum()
{
    try {
        const schema::AlbumLocation album = schema::splitChosenPath(namedAlbum_);
        activation_.PasswordGate(album.directory, album.baseName);
    } catch (const std::exception& error) {
        dialogs_.showError(window_.dialogParent(), QObject::tr("The album %1 could not be opened: %2")
                                                       .arg(QString::fromStdString(namedAlbum_),
                                                            QString::fromUtf8(error.what())));
    }
}

void Startup::restoreGeometry()
{
    try {
        db_.Reg.open();
        const int top = db_.Reg.fieldByName("Y").asInteger();
        const int left = db_.Reg.fieldByName("X").asInteger();
        const int height = db_.Reg.fieldByName("DY").asInteger();
        const int width = db_.Reg.fieldByName("DX").asInteger();
        geometry_.restore(QRect(left, top, width, height));
    } catch (const std::exception&) {
        window_.showCaption(QStringLiteral("Error: Reg.db not found (FormActivate)"));
    }
}

void Startup::openRememberedAlbum()
{
    try {
        // A start that ended while opening the remembered album (a crash) must not end the
        // same way at every start: it counts as a failed automatic open.
        if (AutoOpenNote::leftBehind()) {
            AutoOpenNote::discard();
            throw std::runtime_error("the previous start ended while opening the remembered album");
        }
        if (!db_.Reg.fieldByName("AUTO-OPEN").asBoolean())
            return;
        autoOpenNote_ = std::make_unique<AutoOpenNote>();
        activation_.PasswordGate(db_.Reg.fieldByName("PATH").asString(), db_.Reg.fieldByName("DATABASE").asString());
        // The note goes once the first picture is on screen: decoding it is part of opening.
        if (view_.displayPending())
            QObject::connect(
                &view_, &TPDBMultiImage::displayEnded, &view_, [this] { autoOpenNote_.reset(); },
                Qt::SingleShotConnection);
        else
            autoOpenNote_.reset();
    } catch (const std::exception& error) {
        autoOpenNote_.reset();
        std::fprintf(stderr, "Kadrix: the remembered album was not opened: %s\n", error.what());
        window_.showCaption(QStringLiteral("Error: Default database not found (FormActivate)"));
        db_.Reg.edit();
        db_.Reg.fieldByName("AUTO-OPEN").setAsBoolean(false);
        db_.Reg.refresh();
    }
}
