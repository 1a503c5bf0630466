// Builds small tables of the album schemas in a temporary folder for table-engine tests.
#pragma once

#include <string>
#include <vector>

#include "data/schema.h"
#include "data/ttable.h"
#include "support/tempdir.h"

struct PictureSpec {
    std::string memo;
    std::vector<int> categories;
    bool mark = false;
};

class AlbumFixture {
public:
    TempDir dir;

    // Creates base.db with the picture schema and the given records, table handle closed.
    void createPictures(TTable& table, const std::vector<PictureSpec>& pictures, const std::string& base = "album")
    {
        table.setDatabaseName(dir.str());
        table.setTableName(schema::pictureTableName(base));
        table.setTableType(TTableType::ttParadox);
        table.setExclusive(true);
        table.fieldDefs = schema::pictureTableFields();
        table.createTable();
        table.open();
        for (std::size_t i = 0; i < pictures.size(); ++i) {
            table.append();
            table.fieldByName("NAAM").setAsString("picture " + std::to_string(i + 1));
            table.fieldByName("MEMO").setAsString(pictures[i].memo);
            for (int category : pictures[i].categories)
                table.fieldByName(std::to_string(category)).setAsBoolean(true);
            if (pictures[i].mark)
                table.fieldByName("MARK").setAsBoolean(true);
            table.post();
        }
        table.close();
    }

    // n pictures named "picture 1" .. "picture n" without memo, categories or mark.
    void createPictures(TTable& table, int n)
    {
        createPictures(table, std::vector<PictureSpec>(static_cast<std::size_t>(n)));
    }
};

inline std::string currentName(TTable& table)
{
    return table.fieldByName("NAAM").asString();
}
