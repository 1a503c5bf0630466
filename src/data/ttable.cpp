#include "data/ttable.h"

#include <algorithm>
#include <cstdlib>
#include <exception>
#include <limits>

#include "data/databaseerror.h"
#include "data/tdatasource.h"

namespace {

std::string lowered(std::string_view text)
{
    std::string result(text);
    for (char& c : result)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return result;
}

// Puts a record under test for the filter predicate and takes it away again, also when the
// predicate throws.
class RecordUnderTest {
public:
    RecordUnderTest(std::optional<std::size_t>& slot, std::size_t record) : slot_(slot) { slot_ = record; }
    ~RecordUnderTest() { slot_.reset(); }
    RecordUnderTest(const RecordUnderTest&) = delete;
    RecordUnderTest& operator=(const RecordUnderTest&) = delete;

private:
    std::optional<std::size_t>& slot_;
};

void checkIntegerRange(const TField& field, const paradox::Value& value)
{
    const auto* number = std::get_if<std::int64_t>(&value);
    if (!number)
        return;
    std::int64_t low = std::numeric_limits<std::int32_t>::min();
    std::int64_t high = std::numeric_limits<std::int32_t>::max();
    if (field.dataType() == paradox::FieldType::Short) {
        low = std::numeric_limits<std::int16_t>::min();
        high = std::numeric_limits<std::int16_t>::max();
    }
    if (*number < low || *number > high)
        throw DatabaseError(std::to_string(*number) + " is not a valid value for field '" + field.fieldName() +
                            "': it must lie between " + std::to_string(low) + " and " + std::to_string(high));
}

} // namespace

TTable::TTable() = default;

TTable::~TTable()
{
    for (TDataSource* source : std::vector<TDataSource*>(sources_))
        source->setDataSet(nullptr);
}

void TTable::checkLocationChangeAllowed() const
{
    if (active())
        throw DatabaseError("Cannot change the location of table " + tableName_ + " while it is open");
}

void TTable::setDatabaseName(const std::string& directory)
{
    checkLocationChangeAllowed();
    databaseName_ = directory;
}

void TTable::setTableName(const std::string& name)
{
    checkLocationChangeAllowed();
    tableName_ = name;
}

void TTable::setTableType(TTableType type)
{
    checkLocationChangeAllowed();
    tableType_ = type;
}

void TTable::setExclusive(bool exclusive)
{
    checkLocationChangeAllowed();
    exclusive_ = exclusive;
}

std::filesystem::path TTable::filePath() const
{
    if (tableName_.empty())
        throw DatabaseError("No table name is set");
    std::filesystem::path name(tableName_);
    if (!name.has_extension())
        name += ".db";
    else if (tableType_ == TTableType::ttDefault && lowered(name.extension().string()) != ".db")
        throw DatabaseError("Table " + tableName_ + " is of an unknown type: only Paradox tables (.db) are supported");
    if (databaseName_.empty())
        return name;
    // path's operator/ adds a separator only where the directory lacks one, so a directory
    // with or without its trailing separator names the same file.
    return std::filesystem::path(databaseName_) / name;
}

void TTable::checkActive() const
{
    if (!active())
        throw DatabaseError("Cannot perform this operation on a closed table" +
                            (tableName_.empty() ? std::string() : " (" + tableName_ + ")"));
}

// --- opening and closing ---------------------------------------------------------------

void TTable::open()
{
    if (active())
        return;
    paradox::OpenOptions options;
    options.lock = exclusive_ ? paradox::Lock::Exclusive : paradox::Lock::Shared;
    file_ = std::make_unique<paradox::Table>(filePath(), options);
    forgetVisibleRecords();
    buildFields();
    state_ = TDataSetState::dsBrowse;
    modified_ = false;
    try {
        goFirstVisible(); // runs the filter, which may fail on this table's fields
    } catch (...) {
        file_.reset();
        fields_.clear();
        state_ = TDataSetState::dsInactive;
        throw;
    }
    notifyActive();
}

void TTable::close()
{
    if (!active())
        return;
    // The table is let go whatever happens: a pending edit that cannot be stored is dropped
    // and its error raised once the table is closed, so a failing album never stays locked.
    std::exception_ptr storeFailure;
    try {
        checkBrowseMode();
    } catch (...) {
        storeFailure = std::current_exception();
    }
    file_.reset();
    fields_.clear();
    pending_.clear();
    state_ = TDataSetState::dsInactive;
    current_ = npos;
    eof_ = bof_ = true;
    notifyActive();
    if (storeFailure)
        std::rethrow_exception(storeFailure);
}

void TTable::setActive(bool active)
{
    if (active)
        open();
    else
        close();
}

void TTable::buildFields()
{
    fields_.clear();
    const auto& defs = file_->fields();
    for (std::size_t i = 0; i < defs.size(); ++i)
        fields_.push_back(std::make_unique<TField>(*this, static_cast<int>(i), defs[i]));
    pending_.assign(defs.size(), std::nullopt);
}

const paradox::Table& TTable::file() const
{
    checkActive();
    return *file_;
}

// --- fields ------------------------------------------------------------------------------

TField* TTable::findField(std::string_view name)
{
    if (!active())
        return nullptr;
    const int index = file_->fieldIndex(name);
    return index < 0 ? nullptr : fields_[static_cast<std::size_t>(index)].get();
}

TField& TTable::fieldByName(std::string_view name)
{
    checkActive();
    if (TField* field = findField(name))
        return *field;
    throw DatabaseError("Field '" + std::string(name) + "' not found in table " + tableName_);
}

int TTable::fieldCount() const
{
    return static_cast<int>(fields_.size());
}

TField& TTable::field(int index)
{
    checkActive();
    return *fields_.at(static_cast<std::size_t>(index));
}

std::optional<paradox::FileContent> TTable::blobInFile(int index) const
{
    checkActive();
    if (state_ != TDataSetState::dsBrowse || current_ == npos)
        return std::nullopt;
    return file_->blobInFile(current_, index);
}

paradox::Value TTable::readField(int index) const
{
    checkActive();
    const auto slot = static_cast<std::size_t>(index);
    if (recordUnderTest_)
        return file_->value(*recordUnderTest_, index);
    if ((state_ == TDataSetState::dsEdit || state_ == TDataSetState::dsInsert) && pending_[slot])
        return *pending_[slot];
    if (state_ == TDataSetState::dsInsert || current_ == npos)
        return paradox::Null{};
    return file_->value(current_, index);
}

void TTable::writeField(int index, paradox::Value value)
{
    checkActive();
    if (state_ != TDataSetState::dsEdit && state_ != TDataSetState::dsInsert)
        throw DatabaseError("Table " + tableName_ + " is not in edit or insert mode");
    TField& target = *fields_[static_cast<std::size_t>(index)];
    checkIntegerRange(target, value);
    pending_[static_cast<std::size_t>(index)] = std::move(value);
    modified_ = true;
    notify([&target](TDataLink& link) { link.recordChanged(&target); });
}

// --- the visible records -----------------------------------------------------------------

bool TTable::accepts(std::size_t record) const
{
    if (!filtered_ || !onFilterRecord_)
        return true;
    RecordUnderTest underTest(recordUnderTest_, record);
    bool accept = true;
    onFilterRecord_(const_cast<TTable&>(*this), accept);
    return accept;
}

std::size_t TTable::firstVisibleFrom(std::size_t record) const
{
    const std::size_t count = file_->recordCount();
    for (std::size_t i = record; i < count; ++i)
        if (accepts(i))
            return i;
    return npos;
}

std::size_t TTable::lastVisibleUpTo(std::size_t record) const
{
    const std::size_t count = file_->recordCount();
    if (count == 0)
        return npos;
    for (std::size_t i = std::min(record, count - 1) + 1; i-- > 0;)
        if (accepts(i))
            return i;
    return npos;
}

void TTable::goFirstVisible()
{
    current_ = firstVisibleFrom(0);
    bof_ = true;
    eof_ = current_ == npos;
}

void TTable::moveTo(std::size_t record)
{
    current_ = record;
    eof_ = bof_ = false;
}

// --- moving ------------------------------------------------------------------------------

void TTable::first()
{
    checkActive();
    checkBrowseMode();
    goFirstVisible();
    notifyScrolled();
}

void TTable::last()
{
    checkActive();
    checkBrowseMode();
    const std::size_t count = file_->recordCount();
    current_ = count == 0 ? npos : lastVisibleUpTo(count - 1);
    eof_ = true;
    bof_ = current_ == npos;
    notifyScrolled();
}

void TTable::next()
{
    checkActive();
    checkBrowseMode();
    const std::size_t following = current_ == npos ? npos : firstVisibleFrom(current_ + 1);
    if (following == npos) {
        eof_ = true;
        return;
    }
    moveTo(following);
    notifyScrolled();
}

void TTable::prior()
{
    checkActive();
    checkBrowseMode();
    const std::size_t preceding = (current_ == npos || current_ == 0) ? npos : lastVisibleUpTo(current_ - 1);
    if (preceding == npos) {
        bof_ = true;
        return;
    }
    moveTo(preceding);
    notifyScrolled();
}

int TTable::moveBy(int distance)
{
    checkActive();
    checkBrowseMode();
    int moved = 0;
    while (moved != distance && current_ != npos) {
        const bool forward = distance > 0;
        const std::size_t target =
            forward ? firstVisibleFrom(current_ + 1) : (current_ == 0 ? npos : lastVisibleUpTo(current_ - 1));
        if (target == npos) {
            (forward ? eof_ : bof_) = true;
            break;
        }
        current_ = target;
        moved += forward ? 1 : -1;
    }
    if (moved != 0) {
        if (moved > 0)
            bof_ = false;
        else
            eof_ = false;
        notifyScrolled();
    }
    return moved;
}

std::optional<std::size_t> TTable::bookmark() const
{
    checkActive();
    if (current_ == npos)
        return std::nullopt;
    return current_;
}

void TTable::gotoBookmark(std::size_t bookmark)
{
    checkActive();
    checkBrowseMode();
    if (bookmark >= file_->recordCount())
        throw DatabaseError("Record " + std::to_string(bookmark + 1) + " of table " + tableName_ + " no longer exists");
    moveTo(bookmark);
    notifyScrolled();
}

paradox::Value TTable::valueAt(std::size_t bookmark, std::string_view fieldName) const
{
    checkActive();
    const int field = file_->fieldIndex(fieldName);
    if (field < 0)
        throw DatabaseError("Field '" + std::string(fieldName) + "' not found in table " + tableName_);
    if (bookmark >= file_->recordCount())
        throw DatabaseError("Record " + std::to_string(bookmark + 1) + " of table " + tableName_ + " no longer exists");
    return file_->value(bookmark, field);
}

bool TTable::eof() const
{
    checkActive();
    return eof_;
}

bool TTable::bof() const
{
    checkActive();
    return bof_;
}

int TTable::recordCount() const
{
    checkActive();
    return static_cast<int>(file_->recordCount());
}

int TTable::recNo() const
{
    checkActive();
    const std::size_t upTo = state_ == TDataSetState::dsInsert ? file_->recordCount() : current_;
    if (upTo == npos)
        return 0;
    if (!filtered_ || !onFilterRecord_)
        return static_cast<int>(upTo) + 1;
    if (!visibleRecordsKnown_) {
        visibleRecords_.clear();
        for (std::size_t i = 0, count = file_->recordCount(); i < count; ++i)
            if (accepts(i))
                visibleRecords_.push_back(i);
        visibleRecordsKnown_ = true;
    }
    const auto visibleBefore = std::lower_bound(visibleRecords_.begin(), visibleRecords_.end(), upTo);
    return static_cast<int>(visibleBefore - visibleRecords_.begin()) + 1;
}

bool TTable::isEmpty() const
{
    checkActive();
    return current_ == npos && state_ != TDataSetState::dsInsert;
}

std::optional<paradox::Value> TTable::peekVisible(int distance, std::string_view fieldName) const
{
    checkActive();
    if (current_ == npos || state_ != TDataSetState::dsBrowse)
        return std::nullopt;
    const int field = file_->fieldIndex(fieldName);
    if (field < 0)
        throw DatabaseError("Field '" + std::string(fieldName) + "' not found in table " + tableName_);
    const std::size_t count = file_->recordCount();
    std::size_t record = current_;
    for (int step = 0; step < std::abs(distance); ++step) {
        if (distance > 0) {
            record = record + 1 < count ? firstVisibleFrom(record + 1) : npos;
            if (record == npos)
                record = firstVisibleFrom(0);
        } else {
            record = record > 0 ? lastVisibleUpTo(record - 1) : npos;
            if (record == npos)
                record = lastVisibleUpTo(count - 1);
        }
        if (record == npos)
            return std::nullopt;
    }
    return file_->value(record, field);
}

// --- editing -----------------------------------------------------------------------------

void TTable::setState(TDataSetState state)
{
    if (state == state_)
        return;
    state_ = state;
    notifyEditing();
}

void TTable::edit()
{
    checkActive();
    if (state_ != TDataSetState::dsBrowse)
        return;
    std::fill(pending_.begin(), pending_.end(), std::nullopt);
    modified_ = false;
    setState(current_ == npos ? TDataSetState::dsInsert : TDataSetState::dsEdit);
}

void TTable::append()
{
    checkActive();
    checkBrowseMode();
    std::fill(pending_.begin(), pending_.end(), std::nullopt);
    modified_ = false;
    setState(TDataSetState::dsInsert);
}

void TTable::post()
{
    checkActive();
    if (state_ == TDataSetState::dsBrowse)
        return;
    requestPendingInput();
    store();
    notifyDataSetChanged();
}

void TTable::cancel()
{
    checkActive();
    if (state_ == TDataSetState::dsBrowse)
        return;
    drop();
    notifyDataSetChanged();
}

void TTable::store()
{
    // The values move into the change (pictures are megabytes); if the write fails they are
    // moved back, so the record stays pending with everything the user gave it.
    std::vector<paradox::FieldChange> changes;
    for (std::size_t i = 0; i < pending_.size(); ++i)
        if (pending_[i])
            changes.push_back({static_cast<int>(i), std::move(*pending_[i])});
    try {
        if (state_ == TDataSetState::dsEdit)
            file_->update(current_, changes);
        else
            current_ = file_->append(changes);
    } catch (...) {
        for (paradox::FieldChange& change : changes)
            pending_[static_cast<std::size_t>(change.field)] = std::move(change.value);
        throw;
    }
    forgetVisibleRecords();
    eof_ = bof_ = false;
    std::fill(pending_.begin(), pending_.end(), std::nullopt);
    modified_ = false;
    setState(TDataSetState::dsBrowse);
}

void TTable::drop()
{
    std::fill(pending_.begin(), pending_.end(), std::nullopt);
    modified_ = false;
    setState(TDataSetState::dsBrowse);
}

void TTable::checkBrowseMode()
{
    if (state_ != TDataSetState::dsEdit && state_ != TDataSetState::dsInsert)
        return;
    requestPendingInput();
    if (modified_)
        store();
    else
        drop();
}

void TTable::deleteRecord()
{
    checkActive();
    if (state_ == TDataSetState::dsInsert) {
        cancel();
        return;
    }
    if (current_ == npos)
        throw DatabaseError("Cannot delete a record: table " + tableName_ + " has no visible records");
    if (state_ == TDataSetState::dsEdit)
        drop();
    const std::size_t removed = current_;
    file_->remove(removed);
    forgetVisibleRecords();
    // The record that followed now has the removed one's index; without one, go back.
    current_ = firstVisibleFrom(removed);
    if (current_ == npos && removed > 0)
        current_ = lastVisibleUpTo(removed - 1);
    eof_ = bof_ = current_ == npos;
    notifyDataSetChanged();
}

void TTable::refresh()
{
    checkActive();
    checkBrowseMode();
    if (file_->reloadIfChanged()) {
        forgetVisibleRecords();
        if (current_ != npos && current_ >= file_->recordCount())
            goFirstVisible();
        buildFields();
    }
    notifyDataSetChanged();
}

// --- bound controls ----------------------------------------------------------------------

void TTable::disableControls()
{
    ++disableCount_;
}

void TTable::enableControls()
{
    if (disableCount_ == 0)
        return;
    if (--disableCount_ == 0)
        notifyDataSetChanged();
}

void TTable::attachSource(TDataSource* source)
{
    sources_.push_back(source);
}

void TTable::detachSource(TDataSource* source)
{
    sources_.erase(std::remove(sources_.begin(), sources_.end(), source), sources_.end());
}

template <typename Call> void TTable::notify(Call call)
{
    if (disableCount_ > 0)
        return;
    for (TDataSource* source : std::vector<TDataSource*>(sources_))
        source->notify(call);
}

void TTable::notifyDataSetChanged()
{
    notify([](TDataLink& link) { link.dataSetChanged(); });
}

void TTable::notifyScrolled()
{
    notify([](TDataLink& link) { link.dataSetScrolled(); });
}

void TTable::notifyEditing()
{
    notify([](TDataLink& link) { link.editingChanged(); });
}

void TTable::notifyActive()
{
    notify([](TDataLink& link) { link.activeChanged(); });
}

void TTable::requestPendingInput()
{
    // Asked even while the controls are suspended: typed text must never be lost.
    for (TDataSource* source : std::vector<TDataSource*>(sources_))
        source->notify([](TDataLink& link) { link.updateData(); });
}

// --- filter ------------------------------------------------------------------------------

void TTable::setOnFilterRecord(TFilterRecordEvent handler)
{
    onFilterRecord_ = std::move(handler);
    forgetVisibleRecords();
    if (filtered_ && active()) {
        checkBrowseMode();
        goFirstVisible();
        notifyDataSetChanged();
    }
}

void TTable::setFiltered(bool filtered)
{
    if (!active()) {
        filtered_ = filtered;
        return;
    }
    checkBrowseMode();
    filtered_ = filtered;
    forgetVisibleRecords();
    goFirstVisible();
    notifyDataSetChanged();
}

// --- whole tables ------------------------------------------------------------------------

void TTable::createTable()
{
    if (active())
        throw DatabaseError("Cannot create table " + tableName_ + " while it is open");
    if (fieldDefs.empty())
        throw DatabaseError("Cannot create table " + tableName_ + ": it has no field definitions");
    std::vector<paradox::FieldDef> defs;
    defs.reserve(fieldDefs.size());
    for (const TFieldDef& def : fieldDefs)
        defs.push_back(toParadox(def));
    paradox::Table::create(filePath(), defs);
}

void TTable::deleteTable()
{
    if (active())
        throw DatabaseError("Cannot delete table " + tableName_ + " while it is open");
    paradox::Table::remove(filePath());
}
