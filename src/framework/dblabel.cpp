#include "framework/dblabel.h"

#include <QKeyEvent>
#include <QMouseEvent>

#include "data/ttable.h"

DBLabel::DBLabel(QWidget* parent) : QLabel(parent)
{
    link_.onDataChange = [this] { showField(); };
    setCursor(Qt::PointingHandCursor);
    // Reachable from the keyboard: Space or Enter acts as a click.
    setFocusPolicy(Qt::TabFocus);
    setTextColour(Qt::green);
}

void DBLabel::setDataSource(TDataSource* source)
{
    link_.setDataSource(source);
    showField();
}

void DBLabel::setDataField(const std::string& name)
{
    link_.setFieldName(name);
    showField();
}

void DBLabel::showField()
{
    TField* field = link_.field();
    setText(field ? QString::fromStdString(field->asString()) : QString());
}

void DBLabel::setTextColour(const QColor& colour)
{
    QPalette p = palette();
    p.setColor(QPalette::WindowText, colour);
    setPalette(p);
}

void DBLabel::enterEvent(QEnterEvent* event)
{
    setTextColour(Qt::white);
    QLabel::enterEvent(event);
}

void DBLabel::leaveEvent(QEvent* event)
{
    setTextColour(Qt::green);
    QLabel::leaveEvent(event);
}

void DBLabel::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    QLabel::mouseReleaseEvent(event);
}

void DBLabel::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        emit clicked();
        return;
    }
    QLabel::keyPressEvent(event);
}
