// One field of a table handle, addressed by name. It reads the current record (or, during a
// filter test, the record under test) and writes into the pending edit of the table.
#pragma once

#include <cstdint>
#include <string>

#include "paradox/field.h"

class TTable;

class TField {
public:
    TField(TTable& table, int index, paradox::FieldDef def);
    TField(const TField&) = delete;
    TField& operator=(const TField&) = delete;

    const std::string& fieldName() const { return def_.name; }
    paradox::FieldType dataType() const { return def_.type; }
    int index() const { return index_; }
    TTable& dataSet() const { return table_; }
    bool isBlob() const { return paradox::isBlobType(def_.type); }
    // Bytes the field takes in the record: for text, the most bytes of text it holds (longer
    // text is cut there when stored); for blobs, the part kept in the record.
    int size() const { return def_.size; }

    // Reading: an empty field reads "", 0, false and no bytes.
    bool isNull() const;
    paradox::Value value() const;
    std::string asString() const;
    int asInteger() const;
    bool asBoolean() const;
    paradox::Bytes asBytes() const;

    // Writing: the table must be editing or inserting. Each assignment marks the record
    // modified, so that the next refresh stores it.
    void setValue(paradox::Value value);
    void setAsString(const std::string& text);
    void setAsInteger(int number);
    void setAsBoolean(bool flag);
    void setAsBytes(paradox::Bytes bytes);
    void clear();

private:
    [[noreturn]] void conversionError(const char* what) const;

    TTable& table_;
    int index_;
    paradox::FieldDef def_;
};
