#include "appsettings.h"

#include "data/schema.h"
#include "data/ttable.h"

namespace {

void pointAtRegDb(TTable& reg, const std::filesystem::path& directory)
{
    reg.setDatabaseName(directory.string());
    reg.setTableName(schema::appSettingsTableName);
    reg.setTableType(TTableType::ttParadox);
    reg.setExclusive(true);
}

} // namespace

bool createAppSettings(const std::filesystem::path& directory)
{
    if (std::filesystem::exists(directory / schema::appSettingsTableName))
        return false;
    std::filesystem::create_directories(directory);
    TTable reg;
    pointAtRegDb(reg, directory);
    reg.fieldDefs = schema::appSettingsTableFields();
    reg.createTable();
    reg.open();
    reg.append();
    reg.fieldByName("X").setAsInteger(264);
    reg.fieldByName("Y").setAsInteger(52);
    reg.fieldByName("DX").setAsInteger(742);
    reg.fieldByName("DY").setAsInteger(630);
    reg.fieldByName("AUTO-OPEN").setAsBoolean(false);
    reg.refresh();
    return true;
}

void rememberAlbum(const std::filesystem::path& directory, const std::string& albumDirectory,
                   const std::string& baseName)
{
    TTable reg;
    pointAtRegDb(reg, directory);
    reg.open();
    reg.edit();
    reg.fieldByName("DATABASE").setAsString(baseName);
    reg.fieldByName("PATH").setAsString(albumDirectory);
    reg.fieldByName("AUTO-OPEN").setAsBoolean(true);
    reg.refresh();
}
