#include "framework/dbcombobox.h"

#include "data/ttable.h"
#include "framework/handlerguard.h"

DBComboBox::DBComboBox(QWidget* parent) : QComboBox(parent)
{
    link_.onDataChange = [this] { showField(); };
    connect(this, &QComboBox::currentIndexChanged, this, guarded([this](int index) { writeField(index); }));
    showField();
}

void DBComboBox::setDataSource(TDataSource* source)
{
    link_.setDataSource(source);
    showField();
}

void DBComboBox::setDataField(const std::string& name)
{
    link_.setFieldName(name);
    showField();
}

void DBComboBox::showField()
{
    TField* field = link_.field();
    loading_ = true;
    // Exact text only: a stored text that is no item ("Base 1") selects nothing.
    setCurrentIndex(field ? findText(QString::fromStdString(field->asString()), Qt::MatchExactly) : -1);
    loading_ = false;
    setEnabled(field != nullptr);
}

void DBComboBox::writeField(int index)
{
    if (loading_ || index < 0 || !link_.edit())
        return;
    if (TField* field = link_.field())
        field->setAsString(itemText(index).toStdString());
    emit choiceChanged();
}
