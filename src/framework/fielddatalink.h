// The link a data-aware control keeps to one field of the current record.
//
// It calls the control back whenever what it shows may be stale: the table opened or
// closed, the record moved, was re-read or changed state, or its field was assigned
// elsewhere. The table keeps it silent while the controls are suspended.
#pragma once

#include <functional>
#include <string>

#include "data/tdatasource.h"
#include "data/tfield.h"

class FieldDataLink : public TDataLink {
public:
    FieldDataLink() = default;

    void setFieldName(const std::string& name) { fieldName_ = name; }
    const std::string& fieldName() const { return fieldName_; }

    // The field on the current record, or null while the table is closed or lacks it.
    TField* field() const;
    // Puts the record into editing (an empty view inserts) so the control may write.
    // Returns false when there is nothing to write into.
    bool edit();

    std::function<void()> onDataChange; // show the field again
    std::function<void()> onUpdateData; // write pending input into the field

private:
    void activeChanged() override { changed(); }
    void dataSetChanged() override { changed(); }
    void dataSetScrolled() override { changed(); }
    void editingChanged() override { changed(); }
    void recordChanged(const TField* field) override;
    void updateData() override;
    void changed();

    std::string fieldName_;
};
