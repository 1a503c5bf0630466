// A drop-down list bound to a text field of the current record: it selects the item whose text
// the field holds (none when no item matches) and writes the text of the item the user
// chooses. choiceChanged() tells the user's choice, after it is in the field.
#pragma once

#include <QComboBox>

#include "framework/fielddatalink.h"

class DBComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit DBComboBox(QWidget* parent = nullptr);

    void setDataSource(TDataSource* source);
    void setDataField(const std::string& name);

signals:
    void choiceChanged();

private:
    void showField();
    void writeField(int index);

    FieldDataLink link_;
    bool loading_ = false;
};
