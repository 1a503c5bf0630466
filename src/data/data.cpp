#include "data/data.h"

#include <array>

#include "data/databaseerror.h"
#include "data/kdx.h"
#include "data/schema.h"

Tdb::Tdb()
{
    for (TTable* album : {&Table1, &Table2, &Table3, &copy1, &copy2, &copy3}) {
        album->setTableType(TTableType::ttParadox);
        album->setExclusive(true);
    }
    Table1.fieldDefs = copy1.fieldDefs = schema::pictureTableFields();
    Table2.fieldDefs = copy2.fieldDefs = schema::categoryTableFields();
    Table3.fieldDefs = copy3.fieldDefs = schema::settingsTableFields();
    Table1.setOnFilterRecord(filterHandler(&Tdb::Table1FilterRecord));
    copy1.setOnFilterRecord(filterHandler(&Tdb::Table1FilterRecord));

    Reg.setTableType(TTableType::ttParadox);
    Reg.setExclusive(false);
    Reg.setDatabaseName(kdxDirectory().string());
    Reg.setTableName(schema::appSettingsTableName);
    Reg.fieldDefs = schema::appSettingsTableFields();

    BatchMove1.setMode(TBatchMode::batCopy);
    DataSource1.setDataSet(&Table1);
    DataSource2.setDataSet(&Table2);
    DataSource3.setDataSet(&Table3);
    DataSource4.setDataSet(&Reg);
}

namespace {

void pointAt(TTable& pictures, TTable& categories, TTable& settings, const std::string& directory,
             const std::string& baseName)
{
    const std::pair<TTable*, std::string> tables[] = {{&pictures, schema::pictureTableName(baseName)},
                                                      {&categories, schema::categoryTableName(baseName)},
                                                      {&settings, schema::settingsTableName(baseName)}};
    for (const auto& [table, name] : tables) {
        table->setDatabaseName(directory);
        table->setTableName(name);
    }
}

} // namespace

void Tdb::pointAlbumAt(const std::string& directory, const std::string& baseName)
{
    pointAt(Table1, Table2, Table3, directory, baseName);
}

void Tdb::pointCopiesAt(const std::string& directory, const std::string& baseName)
{
    pointAt(copy1, copy2, copy3, directory, baseName);
}

void Tdb::acceptWhenTrue(const char* fieldName, bool& Accept)
{
    Accept = Table1.fieldByName(fieldName).asBoolean();
}

void Tdb::Table1FilterRecord(TTable&, bool& Accept)
{
    acceptWhenTrue("1", Accept);
}
void Tdb::Table2FilterRecord(TTable&, bool& Accept)
{
    acceptWhenTrue("2", Accept);
}
void Tdb::Table3FilterRecord(TTable&, bool& Accept)
{
    acceptWhenTrue("3", Accept);
}
void Tdb::Table4FilterRecord(TTable&, bool& Accept)
{
    acceptWhenTrue("4", Accept);
}
void Tdb::Table5FilterRecord(TTable&, bool& Accept)
{
    acceptWhenTrue("5", Accept);
}
void Tdb::Table6FilterRecord(TTable&, bool& Accept)
{
    acceptWhenTrue("6", Accept);
}
void Tdb::Table7FilterRecord(TTable&, bool& Accept)
{
    acceptWhenTrue("7", Accept);
}
void Tdb::Table8FilterRecord(TTable&, bool& Accept)
{
    acceptWhenTrue("8", Accept);
}
void Tdb::Table9FilterRecord(TTable&, bool& Accept)
{
    acceptWhenTrue("9", Accept);
}
void Tdb::Table10FilterRecord(TTable&, bool& Accept)
{
    acceptWhenTrue("10", Accept);
}
void Tdb::Table11FilterRecord(TTable&, bool& Accept)
{
    acceptWhenTrue("11", Accept);
}
void Tdb::Table12FilterRecord(TTable&, bool& Accept)
{
    acceptWhenTrue("12", Accept);
}
void Tdb::Table13FilterRecord(TTable&, bool& Accept)
{
    acceptWhenTrue("13", Accept);
}
void Tdb::Table14FilterRecord(TTable&, bool& Accept)
{
    acceptWhenTrue("14", Accept);
}
void Tdb::Table15FilterRecord(TTable&, bool& Accept)
{
    acceptWhenTrue("15", Accept);
}
void Tdb::Table16FilterRecord(TTable&, bool& Accept)
{
    acceptWhenTrue("16", Accept);
}
void Tdb::Table17FilterRecord(TTable&, bool& Accept)
{
    acceptWhenTrue("17", Accept);
}
void Tdb::Table18FilterRecord(TTable&, bool& Accept)
{
    acceptWhenTrue("18", Accept);
}
void Tdb::Table19FilterRecord(TTable&, bool& Accept)
{
    acceptWhenTrue("19", Accept);
}
void Tdb::Table20FilterRecord(TTable&, bool& Accept)
{
    acceptWhenTrue("20", Accept);
}
void Tdb::Table21FilterRecord(TTable&, bool& Accept)
{
    acceptWhenTrue("21", Accept);
}
void Tdb::Table22FilterRecord(TTable&, bool& Accept)
{
    acceptWhenTrue("22", Accept);
}
void Tdb::Table23FilterRecord(TTable&, bool& Accept)
{
    acceptWhenTrue("23", Accept);
}
void Tdb::Table24FilterRecord(TTable&, bool& Accept)
{
    acceptWhenTrue("24", Accept);
}
void Tdb::Table25FilterRecord(TTable&, bool& Accept)
{
    acceptWhenTrue("MARK", Accept);
}

Tdb::FilterPredicate Tdb::filterPredicate(int n)
{
    static constexpr std::array<FilterPredicate, 25> predicates{
        &Tdb::Table1FilterRecord,  &Tdb::Table2FilterRecord,  &Tdb::Table3FilterRecord,  &Tdb::Table4FilterRecord,
        &Tdb::Table5FilterRecord,  &Tdb::Table6FilterRecord,  &Tdb::Table7FilterRecord,  &Tdb::Table8FilterRecord,
        &Tdb::Table9FilterRecord,  &Tdb::Table10FilterRecord, &Tdb::Table11FilterRecord, &Tdb::Table12FilterRecord,
        &Tdb::Table13FilterRecord, &Tdb::Table14FilterRecord, &Tdb::Table15FilterRecord, &Tdb::Table16FilterRecord,
        &Tdb::Table17FilterRecord, &Tdb::Table18FilterRecord, &Tdb::Table19FilterRecord, &Tdb::Table20FilterRecord,
        &Tdb::Table21FilterRecord, &Tdb::Table22FilterRecord, &Tdb::Table23FilterRecord, &Tdb::Table24FilterRecord,
        &Tdb::Table25FilterRecord,
    };
    if (n < 1 || n > static_cast<int>(predicates.size()))
        throw DatabaseError("There is no filter number " + std::to_string(n));
    return predicates[static_cast<std::size_t>(n - 1)];
}

TTable::TFilterRecordEvent Tdb::filterHandler(FilterPredicate predicate)
{
    return [this, predicate](TTable& dataSet, bool& accept) { (this->*predicate)(dataSet, accept); };
}
