// A multi-line text box bound to a memo field of the current record.
//
// The first key (or paste, or cut) the user gives puts the record into editing before the
// text changes; the typed text is written into the field when the table asks for pending
// input, which it does before it stores or drops the record.
#pragma once

#include <QPlainTextEdit>

#include "framework/fielddatalink.h"

class DBMemo : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit DBMemo(QWidget* parent = nullptr);

    void setDataSource(TDataSource* source);
    void setDataField(const std::string& name);
    // Typed text not yet written into the field.
    bool hasPendingInput() const { return typed_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    bool beginTyping();
    void showField();
    void writeField();

    FieldDataLink link_;
    bool loading_ = false;
    bool typed_ = false;
};
