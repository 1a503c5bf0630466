#include "framework/pathlabel.h"

#include <QDir>
#include <QPainter>
#include <QStyle>

PathLabel::PathLabel(QWidget* parent) : QLabel(parent)
{
    // The width comes from the layout, never from the length of the path.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    setTextInteractionFlags(Qt::TextSelectableByMouse);
}

void PathLabel::setPath(const QString& path)
{
    const QString shown = QDir::toNativeSeparators(path);
    setText(shown);
    setToolTip(shown);
}

QSize PathLabel::minimumSizeHint() const
{
    return {fontMetrics().averageCharWidth() * 8, QLabel::minimumSizeHint().height()};
}

void PathLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    drawFrame(&painter);
    const QRect area = contentsRect().marginsRemoved(QMargins(margin(), margin(), margin(), margin()));
    const QString shown = fontMetrics().elidedText(text(), Qt::ElideMiddle, area.width());
    style()->drawItemText(&painter, area, static_cast<int>(alignment()), palette(), isEnabled(), shown,
                          foregroundRole());
}
