// A multi-line text box bound to a memo field of the current record.
//
// Any change the user makes to the text (typing, input methods, paste, cut, delete, undo and
// redo, dragging, assistive tools) puts the record into editing; the text is written into
// the field when the table asks for pending input, which it does before it stores or drops
// the record. A memo the album cannot give back (a damaged blob file) shows empty, and its
// error is reported once for that record.
#pragma once

#include <QPlainTextEdit>

#include <functional>

#include "framework/fielddatalink.h"

class DBMemo : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit DBMemo(QWidget* parent = nullptr);

    void setDataSource(TDataSource* source);
    void setDataField(const std::string& name);
    // Typed text not yet written into the field.
    bool hasPendingInput() const { return typed_; }

signals:
    // The memo of the current record could not be read.
    void readFailed(const QString& text);

private:
    void showField();
    void writeField();
    void textChangedByUser();

    FieldDataLink link_;
    bool loading_ = false;      // the text is being set from the field
    bool enteringEdit_ = false; // the record goes into editing for a change already made
    bool typed_ = false;
    int unreadableRecord_ = 0; // the record whose memo failed to read, once reported
};
