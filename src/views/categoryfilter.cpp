#include "views/categoryfilter.h"

#include "data/data.h"
#include "framework/mainview.h"

CategoryFilter::CategoryFilter(Tdb& db, MainView& window) : db_(db), window_(window) {}

void CategoryFilter::showCategory(int predicate)
{
    window_.state().ZoomStep = 0;
    TTable& pictures = db_.Table1;
    pictures.setOnFilterRecord(db_.filterHandler(Tdb::filterPredicate(predicate)));
    pictures.setFiltered(true);
    window_.setShowAllDown(true);
    // The bar's maximum stays as activation set it.
    window_.showPosition(pictures.recNo());
}

void CategoryFilter::showAll()
{
    window_.state().ZoomStep = 0;
    TTable& pictures = db_.Table1;
    pictures.setFiltered(false);
    window_.setShowAllDown(false);
    window_.showPosition(pictures.recNo());
}
