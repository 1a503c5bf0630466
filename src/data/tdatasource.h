// The link between a table handle and the controls bound to it.
//
// A bound control derives from TDataLink and attaches itself to a TDataSource; the table
// tells every data source linked to it what happened, and the data source tells its links.
// While the table's controls are suspended, nothing reaches the links except the request to
// write pending input, and the last resume sends one dataSetChanged.
#pragma once

#include <vector>

class TTable;
class TField;
class TDataSource;

class TDataLink {
public:
    TDataLink() = default;
    TDataLink(const TDataLink&) = delete;
    TDataLink& operator=(const TDataLink&) = delete;
    virtual ~TDataLink();

    void setDataSource(TDataSource* source);
    TDataSource* dataSource() const { return source_; }
    // The table behind the data source, or null.
    TTable* dataSet() const;

    // The table was opened or closed.
    virtual void activeChanged() {}
    // The whole view may have changed: opened, refreshed, posted, cancelled, filtered, resumed.
    virtual void dataSetChanged() {}
    // The current record moved to another record.
    virtual void dataSetScrolled() {}
    // A field of the current record was assigned (null: the whole record).
    virtual void recordChanged(const TField* /*field*/) {}
    // The table went between browsing, editing and inserting.
    virtual void editingChanged() {}
    // The record is about to be stored or dropped: write what the user typed but has not
    // written yet.
    virtual void updateData() {}

private:
    TDataSource* source_ = nullptr;
};

class TDataSource {
public:
    TDataSource() = default;
    TDataSource(const TDataSource&) = delete;
    TDataSource& operator=(const TDataSource&) = delete;
    ~TDataSource();

    void setDataSet(TTable* table);
    TTable* dataSet() const { return table_; }

private:
    friend class TDataLink;
    friend class TTable;

    void attach(TDataLink* link);
    void detach(TDataLink* link);

    // Each notifier walks a copy, so a link may detach (or attach) while being notified.
    template <typename Call> void notify(Call call)
    {
        const auto links = links_;
        for (TDataLink* link : links)
            call(*link);
    }

    TTable* table_ = nullptr;
    std::vector<TDataLink*> links_;
};
