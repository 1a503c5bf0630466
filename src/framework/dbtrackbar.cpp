#include "framework/dbtrackbar.h"

#include "data/ttable.h"
#include "framework/handlerguard.h"

DBTrackBar::DBTrackBar(Qt::Orientation orientation, QWidget* parent) : TrackBar(orientation, parent)
{
    link_.onDataChange = [this] { showField(); };
    connect(this, &QSlider::valueChanged, this, guarded([this](int position) { writeField(position); }));
    showField();
}

void DBTrackBar::setDataSource(TDataSource* source)
{
    link_.setDataSource(source);
    showField();
}

void DBTrackBar::setDataField(const std::string& name)
{
    link_.setFieldName(name);
    showField();
}

void DBTrackBar::showField()
{
    TField* field = link_.field();
    loading_ = true;
    setValue(field ? field->asInteger() : minimum());
    loading_ = false;
    setEnabled(field != nullptr);
}

void DBTrackBar::writeField(int position)
{
    if (loading_ || !link_.edit())
        return;
    if (TField* field = link_.field(); field && (field->isNull() || field->asInteger() != position))
        field->setAsInteger(position);
}
