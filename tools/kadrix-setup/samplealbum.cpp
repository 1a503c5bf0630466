#include "samplealbum.h"

#include <algorithm>
#include <filesystem>

#include "data/albumcreation.h"
#include "data/schema.h"
#include "data/ttable.h"
#include "samplepictures.h"

namespace {

void openTable(TTable& table, const std::string& directory, const std::string& name)
{
    table.setDatabaseName(directory);
    table.setTableName(name);
    table.setTableType(TTableType::ttParadox);
    table.setExclusive(true);
    table.open();
}

void writeCategoryNames(const std::string& directory, const std::string& baseName)
{
    TTable categories;
    openTable(categories, directory, schema::categoryTableName(baseName));
    categories.edit();
    int number = 1;
    for (const QString& name : sampleCategoryNames())
        categories.fieldByName(std::to_string(number++)).setAsString(name.toStdString());
    categories.refresh();
}

void writePictures(const std::string& directory, const std::string& baseName)
{
    TTable pictures;
    openTable(pictures, directory, schema::pictureTableName(baseName));
    for (const SamplePicture& picture : makeSamplePictures()) {
        pictures.append();
        pictures.fieldByName("FOTO").setAsBytes(paradox::Bytes(picture.bytes.begin(), picture.bytes.end()));
        pictures.fieldByName("MEMO").setAsString(picture.memo.toStdString());
        pictures.fieldByName("NAAM").setAsString(picture.name.toStdString());
        pictures.fieldByName("MARK").setAsBoolean(picture.marked);
        // Every membership is decided, so the boxes show green (out) or red (in).
        for (int category = 1; category <= schema::categoryCount; ++category)
            pictures.fieldByName(std::to_string(category))
                .setAsBoolean(std::find(picture.categories.begin(), picture.categories.end(), category) !=
                              picture.categories.end());
    }
    pictures.refresh();
}

} // namespace

void createSampleAlbum(const std::string& directory, const std::string& baseName)
{
    std::filesystem::create_directories(directory);
    createAlbumTables(directory, baseName);
    {
        TTable settings;
        openTable(settings, directory, schema::settingsTableName(baseName));
        writeSettingsAtCreation(settings);
    }
    writeCategoryNames(directory, baseName);
    writePictures(directory, baseName);
}
