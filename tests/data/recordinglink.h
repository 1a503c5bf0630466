// A bound control stand-in that records what its table told it.
#pragma once

#include <string>
#include <vector>

#include "data/tdatasource.h"
#include "data/ttable.h"

class RecordingLink : public TDataLink {
public:
    std::vector<std::string> events;
    // Called on updateData, as a memo would write its typed text.
    std::function<void()> onUpdateData;

    void activeChanged() override { events.push_back("active"); }
    void dataSetChanged() override { events.push_back("changed"); }
    void dataSetScrolled() override { events.push_back("scrolled"); }
    void recordChanged(const TField* field) override
    {
        events.push_back("field:" + (field ? field->fieldName() : std::string("*")));
    }
    void editingChanged() override { events.push_back("editing"); }
    void updateData() override
    {
        events.push_back("update");
        if (onUpdateData)
            onUpdateData();
    }
    void clear() { events.clear(); }
};
