#include "framework/fielddatalink.h"

#include "data/ttable.h"

TField* FieldDataLink::field() const
{
    TTable* table = dataSet();
    return table ? table->findField(fieldName_) : nullptr;
}

bool FieldDataLink::edit()
{
    TTable* table = dataSet();
    if (!table || !field())
        return false;
    table->edit();
    return true;
}

void FieldDataLink::recordChanged(const TField* changedField)
{
    if (!changedField || changedField == field())
        changed();
}

void FieldDataLink::updateData()
{
    if (onUpdateData)
        onUpdateData();
}

void FieldDataLink::changed()
{
    if (onDataChange)
        onDataChange();
}
