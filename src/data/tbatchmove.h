// Table-to-table copy: the destination is created anew with the source's fields and no
// index, replacing a table of that name, and every visible record of the source is copied.
#pragma once

#include <functional>

class TTable;

enum class TBatchMode { batCopy };

class TBatchMove {
public:
    void setSource(TTable* source) { source_ = source; }
    void setDestination(TTable* destination) { destination_ = destination; }
    void setMode(TBatchMode mode) { mode_ = mode; }
    TBatchMode mode() const { return mode_; }

    // Told after each copied record: records copied so far and the source's record count.
    // Returning false stops the copy with a DatabaseError; the destination is then incomplete.
    std::function<bool(int copied, int total)> onProgress;

    // Opens a closed source for the copy and closes it again afterwards; the destination
    // must be closed and is left closed.
    void execute();

private:
    TTable* source_ = nullptr;
    TTable* destination_ = nullptr;
    TBatchMode mode_ = TBatchMode::batCopy;
};
