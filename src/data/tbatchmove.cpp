#include "data/tbatchmove.h"

#include "data/controlssuspended.h"
#include "data/databaseerror.h"
#include "data/ttable.h"

namespace {

// Closes a table the copy opened, also when the copy fails.
class OpenedForCopy {
public:
    explicit OpenedForCopy(TTable& table) : table_(table), opened_(!table.active())
    {
        if (opened_)
            table_.open();
    }
    ~OpenedForCopy()
    {
        if (opened_)
            table_.close();
    }
    OpenedForCopy(const OpenedForCopy&) = delete;
    OpenedForCopy& operator=(const OpenedForCopy&) = delete;

private:
    TTable& table_;
    bool opened_;
};

} // namespace

void TBatchMove::execute()
{
    if (!source_ || !destination_)
        throw DatabaseError("The batch copy needs a source and a destination table");
    if (destination_->active())
        throw DatabaseError("Cannot copy into table " + destination_->tableName() + " while it is open");

    OpenedForCopy source(*source_);
    // Walking the source must not make its bound controls show (and decode) every record.
    const ControlsSuspended suspended(*source_);

    const paradox::Table& from = source_->file();
    // The destination as it would be opened, in any case of its name; one file under two
    // paths (a link, a file system that ignores case) is still the source.
    std::error_code notThere;
    if (std::filesystem::equivalent(from.path(), paradox::Table::pathOnDisk(destination_->filePath()), notThere))
        throw DatabaseError("Cannot copy table " + source_->tableName() + " onto itself");

    paradox::Table::create(destination_->filePath(), from.fields(), from.info().codePage);
    paradox::Table to(destination_->filePath(), {paradox::Lock::Exclusive});

    const int fieldCount = static_cast<int>(from.fields().size());
    const int total = source_->recordCount();
    int copied = 0;
    std::vector<paradox::FieldChange> values;
    for (source_->first(); !source_->eof(); source_->next()) {
        values.clear();
        for (int field = 0; field < fieldCount; ++field) {
            // A picture goes from blob file to blob file in the kernel, never through memory.
            if (std::optional<paradox::FileContent> stored = source_->blobInFile(field))
                values.push_back({field, std::move(*stored)});
            else
                values.push_back({field, source_->field(field).value()});
        }
        to.append(values);
        if (onProgress && !onProgress(++copied, total))
            throw DatabaseError("The copy of table " + source_->tableName() + " was stopped");
    }
}
