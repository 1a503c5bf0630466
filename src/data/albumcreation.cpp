#include "data/albumcreation.h"

#include "data/schema.h"
#include "data/ttable.h"

namespace {

void createTable(const std::string& location, const std::string& tableName, TFieldDefs fields)
{
    TTable table;
    table.setDatabaseName(location);
    table.setTableName(tableName);
    table.setTableType(TTableType::ttParadox);
    table.fieldDefs = std::move(fields);
    table.createTable();
}

} // namespace

void createAlbumTables(const std::string& location, const std::string& name)
{
    createTable(location, schema::pictureTableName(name), schema::pictureTableFields());
    createTable(location, schema::categoryTableName(name), schema::categoryTableFields());
    createTable(location, schema::settingsTableName(name), schema::settingsTableFields());
}

void writeSettingsAtCreation(TTable& settings)
{
    settings.edit();
    for (const auto& [field, value] : schema::settingsAtCreation())
        settings.fieldByName(field).setValue(value);
    settings.refresh();
}
