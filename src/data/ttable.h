// A table handle: a Paradox table on disk seen as a current record that moves, with
// editing states, a record filter and the controls bound to it.
//
// The rules every caller relies on:
// - The directory may be given with or without a trailing separator; both address the
//   same files. Location changes are allowed only while the table is closed.
// - A table missing under the name given is found under a name that differs only in case
//   (albums copied from old media: WIN.DB for WIN.db, with WIN.MB); creating writes the name
//   given and replaces a table whose name differs only in case.
// - Record count counts the whole table; record number counts within the visible records
//   (those the filter accepts, all when no filter is on), from 1.
// - next() on the last visible record sets eof() and stays; prior() on the first sets
//   bof() and stays. first() sets bof().
// - Before anything stores or drops a pending record (refresh, a move, append, a filter
//   switch, close), the bound controls are asked to write what the user typed, then the
//   record is stored if a field was assigned and dropped otherwise.
// - close() always closes: a pending record it cannot store is dropped, and the error is
//   raised after the table has been let go.
// - Suspending the bound controls nests; nothing reaches them while suspended (except the
//   request to write pending input), and the last resume notifies them once.
// - Switching the filter on or off, or installing a predicate while it is on, makes the
//   first record of the new view current. On a closed table a switch is only recorded.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/tfield.h"
#include "data/tfielddef.h"
#include "paradox/table.h"

class TDataSource;
class TDataLink;

enum class TDataSetState { dsInactive, dsBrowse, dsEdit, dsInsert };
enum class TTableType { ttDefault, ttParadox };

class TTable {
public:
    using TFilterRecordEvent = std::function<void(TTable& dataSet, bool& accept)>;

    TTable();
    ~TTable();
    TTable(const TTable&) = delete;
    TTable& operator=(const TTable&) = delete;

    // Location and open mode.
    void setDatabaseName(const std::string& directory);
    const std::string& databaseName() const { return databaseName_; }
    void setTableName(const std::string& name);
    const std::string& tableName() const { return tableName_; }
    void setTableType(TTableType type);
    TTableType tableType() const { return tableType_; }
    void setExclusive(bool exclusive);
    bool exclusive() const { return exclusive_; }
    std::filesystem::path filePath() const; // as given; the open file() knows where it was found

    // Field definitions used by createTable (and kept as this handle's schema).
    TFieldDefs fieldDefs;

    void open();
    void close();
    void setActive(bool active);
    bool active() const { return file_ != nullptr; }
    TDataSetState state() const { return state_; }

    TField& fieldByName(std::string_view name);
    TField* findField(std::string_view name);
    int fieldCount() const;
    TField& field(int index);

    // Moves among the visible records.
    void first();
    void last(); // sets eof(), as reaching the end does
    void next();
    void prior();
    int moveBy(int distance); // returns how far it moved
    bool eof() const;
    bool bof() const;
    int recordCount() const;
    int recNo() const;
    bool isEmpty() const; // no visible record
    // The field of the visible record `distance` steps away from the current one (negative:
    // backwards), coming round at the ends as stepping does, read without moving. Nothing
    // when the view is empty or the table is editing.
    std::optional<paradox::Value> peekVisible(int distance, std::string_view fieldName) const;
    // The current record's place in the table, to come back to with gotoBookmark while no
    // record is added or deleted. It holds also when the record no longer passes the filter
    // (its mark cleared while only marked records are visible), where counting visible
    // records would land elsewhere. Nothing when the view is empty.
    std::optional<std::size_t> bookmark() const;
    // Stores or drops a pending edit first, as every move does.
    void gotoBookmark(std::size_t bookmark);
    // The stored value of a field of the record at `bookmark`, read without moving.
    paradox::Value valueAt(std::size_t bookmark, std::string_view fieldName) const;

    // Editing.
    void edit();   // on an empty view this inserts
    void append(); // stores or drops a pending edit first
    void post();
    void cancel();
    void deleteRecord(); // a pending new record is dropped instead
    void refresh();      // store or drop a pending edit, re-read, notify the bound controls
    bool modified() const { return modified_; }

    void disableControls();
    void enableControls();
    bool controlsDisabled() const { return disableCount_ > 0; }

    void setOnFilterRecord(TFilterRecordEvent handler);
    void setFiltered(bool filtered);
    bool filtered() const { return filtered_; }

    void createTable(); // replaces a table of that name
    void deleteTable(); // with its blob file; a missing table is an error

    // The open file, for copying whole tables.
    const paradox::Table& file() const;
    // The current record's stored binary value of field `index` as a stretch of the blob file,
    // for copying it file to file (see paradox::Table::blobInFile); nothing while the record is
    // being edited or inserted, or when the value is not kept that way.
    std::optional<paradox::FileContent> blobInFile(int index) const;

private:
    friend class TField;
    friend class TDataSource;

    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

    // Field access for TField.
    paradox::Value readField(int index) const;
    void writeField(int index, paradox::Value value);

    void attachSource(TDataSource* source);
    void detachSource(TDataSource* source);
    template <typename Call> void notify(Call call);
    void notifyDataSetChanged();
    void notifyScrolled();
    void notifyEditing();
    void notifyActive();
    void requestPendingInput();

    void checkActive() const;
    void checkLocationChangeAllowed() const;
    void checkBrowseMode(); // ask the controls for typed input, then store or drop a pending edit
    void store();           // write the pending edit to the file
    void drop();            // forget the pending edit
    void setState(TDataSetState state);
    void buildFields();

    bool accepts(std::size_t record) const;
    std::size_t firstVisibleFrom(std::size_t record) const; // record or after it
    std::size_t lastVisibleUpTo(std::size_t record) const;  // record or before it
    void moveTo(std::size_t record);
    void goFirstVisible();

    std::string databaseName_;
    std::string tableName_;
    TTableType tableType_ = TTableType::ttDefault;
    bool exclusive_ = false;

    std::unique_ptr<paradox::Table> file_;
    std::vector<std::unique_ptr<TField>> fields_;
    std::vector<TDataSource*> sources_;

    TDataSetState state_ = TDataSetState::dsInactive;
    std::size_t current_ = npos; // index in the file; npos when the view is empty
    bool eof_ = true;
    bool bof_ = true;

    std::vector<std::optional<paradox::Value>> pending_; // assigned values of the edit
    bool modified_ = false;

    // The visible records in table order, built when a record number is asked for under a
    // filter and dropped by every change that may alter the view.
    mutable std::vector<std::size_t> visibleRecords_;
    mutable bool visibleRecordsKnown_ = false;
    void forgetVisibleRecords() { visibleRecordsKnown_ = false; }

    int disableCount_ = 0;
    bool filtered_ = false;
    TFilterRecordEvent onFilterRecord_;
    mutable std::optional<std::size_t> recordUnderTest_;
};
