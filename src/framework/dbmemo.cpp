#include "framework/dbmemo.h"

#include "data/ttable.h"

DBMemo::DBMemo(QWidget* parent) : QPlainTextEdit(parent)
{
    link_.onDataChange = [this] { showField(); };
    link_.onUpdateData = [this] { writeField(); };
    connect(document(), &QTextDocument::contentsChanged, this, [this] {
        if (!loading_)
            textChangedByUser();
    });
    showField();
}

void DBMemo::setDataSource(TDataSource* source)
{
    link_.setDataSource(source);
    showField();
}

void DBMemo::setDataField(const std::string& name)
{
    link_.setFieldName(name);
    showField();
}

void DBMemo::showField()
{
    // Entering editing for a change the user has just made re-shows the record; the user's
    // text is what must stay.
    if (enteringEdit_)
        return;
    TField* field = link_.field();
    QString text;
    bool readable = true;
    if (field) {
        try {
            text = QString::fromStdString(field->asString());
        } catch (const std::exception& error) {
            // Called from the table's notifications, which must not throw: report it once
            // for this record and show the memo empty.
            readable = false;
            const int record = field->dataSet().recNo();
            if (record != unreadableRecord_) {
                unreadableRecord_ = record;
                emit readFailed(QString::fromUtf8(error.what()));
            }
        }
    }
    if (readable)
        unreadableRecord_ = 0;
    loading_ = true;
    if (toPlainText() != text)
        setPlainText(text);
    loading_ = false;
    typed_ = false;
    // Typing over an unreadable memo would replace text the album may still hold.
    setReadOnly(field == nullptr || !readable);
}

void DBMemo::textChangedByUser()
{
    if (!typed_) {
        enteringEdit_ = true;
        const bool editing = link_.edit();
        enteringEdit_ = false;
        if (!editing)
            return;
    }
    typed_ = true;
}

void DBMemo::writeField()
{
    if (!typed_)
        return;
    typed_ = false;
    if (TField* field = link_.field())
        field->setAsString(toPlainText().toStdString());
}
