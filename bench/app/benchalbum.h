// Albums made for the browsing and import benchmarks.
#pragma once

#include <QString>

#include <functional>
#include <string>

#include "data/albumcreation.h"
#include "data/schema.h"
#include "data/ttable.h"

// Creates the album `base` in `folder` with its settings record; `fill` appends its pictures.
inline void createAlbum(const QString& folder, const std::string& base, const std::function<void(TTable&)>& fill)
{
    const std::string directory = folder.toStdString();
    createAlbumTables(directory, base);
    auto open = [&](TTable& table, const std::string& name) {
        table.setDatabaseName(directory);
        table.setTableName(name);
        table.setExclusive(true);
        table.open();
    };
    TTable settings;
    open(settings, schema::settingsTableName(base));
    writeSettingsAtCreation(settings);
    TTable pictures;
    open(pictures, schema::pictureTableName(base));
    fill(pictures);
    pictures.refresh();
}
