#include "framework/dbstatestatus.h"

#include "data/ttable.h"

DBStateStatus::DBStateStatus(QWidget* parent) : QLabel(parent)
{
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Sunken);
    showState();
}

void DBStateStatus::setDataSource(TDataSource* source)
{
    link_.setDataSource(source);
    showState();
}

void DBStateStatus::showState()
{
    const TTable* table = link_.dataSet();
    const TDataSetState state = table ? table->state() : TDataSetState::dsInactive;
    switch (state) {
    case TDataSetState::dsBrowse:
        setText(tr("Browse"));
        break;
    case TDataSetState::dsEdit:
        setText(tr("Edit"));
        break;
    case TDataSetState::dsInsert:
        setText(tr("Insert"));
        break;
    case TDataSetState::dsInactive:
        setText(tr("Inactive"));
        break;
    }
}
