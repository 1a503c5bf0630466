// A track bar bound to an integer field of the current record: it shows the field and writes
// each position the user moves it to (mouse or keyboard). mouseUp() tells a release of the
// mouse over it, after which a caller may apply the value elsewhere.
#pragma once

#include "framework/fielddatalink.h"
#include "framework/trackbar.h"

class DBTrackBar : public TrackBar {
    Q_OBJECT
public:
    explicit DBTrackBar(Qt::Orientation orientation, QWidget* parent = nullptr);

    void setDataSource(TDataSource* source);
    void setDataField(const std::string& name);

private:
    void showField();
    void writeField(int position);

    FieldDataLink link_;
    bool loading_ = false;
};
