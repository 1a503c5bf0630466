// The data module: one handle for each table of the open album, the application settings
// table, the handles used to address another album, the batch copy and the data sources
// through which the windows' controls are bound. Created once at start-up.
#pragma once

#include <string>

#include "data/tbatchmove.h"
#include "data/tdatasource.h"
#include "data/ttable.h"

class Tdb {
public:
    Tdb();
    Tdb(const Tdb&) = delete;
    Tdb& operator=(const Tdb&) = delete;

    TTable Table1; // pictures of the open album; filtered through the predicates below
    TTable Table2; // category names of the open album
    TTable Table3; // settings of the open album
    TTable Reg;    // application settings (reg.db), opened shared
    TTable copy1;  // second handles with the album schemas, addressing another album
    TTable copy2;
    TTable copy3;
    TBatchMove BatchMove1;
    TDataSource DataSource1; // Table1
    TDataSource DataSource2; // Table2
    TDataSource DataSource3; // Table3
    TDataSource DataSource4; // Reg

    // Points the open album's handles (Table1, Table2, Table3) at the album `baseName` in
    // `directory`, which is kept as given; the tables must be closed.
    void pointAlbumAt(const std::string& directory, const std::string& baseName);
    // Points copy1, copy2 and copy3 at the album `baseName` in `directory`.
    void pointCopiesAt(const std::string& directory, const std::string& baseName);

    // Record filter predicates: category 1 to 24 (fields "1" to "24"), and the mark.
    // Each accepts the record under test exactly when its field reads true.
    void Table1FilterRecord(TTable& DataSet, bool& Accept);
    void Table2FilterRecord(TTable& DataSet, bool& Accept);
    void Table3FilterRecord(TTable& DataSet, bool& Accept);
    void Table4FilterRecord(TTable& DataSet, bool& Accept);
    void Table5FilterRecord(TTable& DataSet, bool& Accept);
    void Table6FilterRecord(TTable& DataSet, bool& Accept);
    void Table7FilterRecord(TTable& DataSet, bool& Accept);
    void Table8FilterRecord(TTable& DataSet, bool& Accept);
    void Table9FilterRecord(TTable& DataSet, bool& Accept);
    void Table10FilterRecord(TTable& DataSet, bool& Accept);
    void Table11FilterRecord(TTable& DataSet, bool& Accept);
    void Table12FilterRecord(TTable& DataSet, bool& Accept);
    void Table13FilterRecord(TTable& DataSet, bool& Accept);
    void Table14FilterRecord(TTable& DataSet, bool& Accept);
    void Table15FilterRecord(TTable& DataSet, bool& Accept);
    void Table16FilterRecord(TTable& DataSet, bool& Accept);
    void Table17FilterRecord(TTable& DataSet, bool& Accept);
    void Table18FilterRecord(TTable& DataSet, bool& Accept);
    void Table19FilterRecord(TTable& DataSet, bool& Accept);
    void Table20FilterRecord(TTable& DataSet, bool& Accept);
    void Table21FilterRecord(TTable& DataSet, bool& Accept);
    void Table22FilterRecord(TTable& DataSet, bool& Accept);
    void Table23FilterRecord(TTable& DataSet, bool& Accept);
    void Table24FilterRecord(TTable& DataSet, bool& Accept);
    void Table25FilterRecord(TTable& DataSet, bool& Accept);

    using FilterPredicate = void (Tdb::*)(TTable&, bool&);
    // Predicate number n (1..25): n ≤ 24 is category n, 25 the mark.
    static FilterPredicate filterPredicate(int n);
    // The predicate as a table filter handler.
    TTable::TFilterRecordEvent filterHandler(FilterPredicate predicate);

private:
    // The predicates read through Table1, which presents the record under test.
    void acceptWhenTrue(const char* fieldName, bool& Accept);
};
