// A status pane showing whether the table is being browsed, edited or inserted into.
#pragma once

#include <QLabel>

#include "data/tdatasource.h"

class DBStateStatus : public QLabel {
    Q_OBJECT
public:
    explicit DBStateStatus(QWidget* parent = nullptr);
    void setDataSource(TDataSource* source);

private:
    class Link : public TDataLink {
    public:
        explicit Link(DBStateStatus& pane) : pane_(pane) {}
        void activeChanged() override { pane_.showState(); }
        void dataSetChanged() override { pane_.showState(); }
        void editingChanged() override { pane_.showState(); }

    private:
        DBStateStatus& pane_;
    };

    void showState();
    Link link_{*this};
};
