// A one-line edit bound to a field of the current record. What the user typed is written into
// the field when editing ends (Enter, leaving the edit) and when the table asks for pending
// input before it stores or drops the record. Text the field refuses (letters in a number
// field) is reported through the error display, nothing is stored, and the edit shows the
// field's value again.
#pragma once

#include <QLineEdit>

#include "framework/fielddatalink.h"

class DBEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit DBEdit(QWidget* parent = nullptr);

    void setDataSource(TDataSource* source);
    void setDataField(const std::string& name);

private:
    void showField();
    void writeField();

    FieldDataLink link_;
    bool typed_ = false;
};
