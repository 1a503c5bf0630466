#include "data/tdatasource.h"

#include <algorithm>

#include "data/ttable.h"

TDataLink::~TDataLink()
{
    setDataSource(nullptr);
}

void TDataLink::setDataSource(TDataSource* source)
{
    if (source == source_)
        return;
    if (source_)
        source_->detach(this);
    source_ = source;
    if (source_)
        source_->attach(this);
}

TTable* TDataLink::dataSet() const
{
    return source_ ? source_->dataSet() : nullptr;
}

TDataSource::~TDataSource()
{
    setDataSet(nullptr);
    for (TDataLink* link : std::vector<TDataLink*>(links_))
        link->setDataSource(nullptr);
}

void TDataSource::setDataSet(TTable* table)
{
    if (table == table_)
        return;
    if (table_)
        table_->detachSource(this);
    table_ = table;
    if (table_)
        table_->attachSource(this);
    notify([](TDataLink& link) { link.activeChanged(); });
}

void TDataSource::attach(TDataLink* link)
{
    links_.push_back(link);
}

void TDataSource::detach(TDataLink* link)
{
    links_.erase(std::remove(links_.begin(), links_.end(), link), links_.end());
}
