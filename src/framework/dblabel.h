// A label showing a text field of the current record: the category names of the right-hand
// column. Lime text on the column's background, white while the mouse is over it; clicking
// it emits clicked().
#pragma once

#include <QLabel>

#include "framework/fielddatalink.h"

class DBLabel : public QLabel {
    Q_OBJECT
public:
    explicit DBLabel(QWidget* parent = nullptr);

    void setDataSource(TDataSource* source);
    void setDataField(const std::string& name);

signals:
    void clicked();

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void showField();
    void setTextColour(const QColor& colour);

    FieldDataLink link_;
};
