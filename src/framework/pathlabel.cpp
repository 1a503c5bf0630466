#include "framework/pathlabel.h"

#include <QHelpEvent>
#include <QPainter>
#include <QStyle>
#include <QToolTip>

PathLabel::PathLabel(QWidget* parent) : QLabel(parent)
{
    // The width comes from the layout, never from the length of the path.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

QString PathLabel::shownText() const
{
    return fontMetrics().elidedText(text(), Qt::ElideMiddle, textArea().width());
}

QSize PathLabel::minimumSizeHint() const
{
    return {fontMetrics().averageCharWidth() * 8, QLabel::minimumSizeHint().height()};
}

bool PathLabel::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip && toolTip().isEmpty()) {
        const auto* help = static_cast<QHelpEvent*>(event);
        if (shownText() != text())
            QToolTip::showText(help->globalPos(), text(), this);
        else
            QToolTip::hideText();
        return true;
    }
    return QLabel::event(event);
}

void PathLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    drawFrame(&painter);
    style()->drawItemText(&painter, textArea(), static_cast<int>(alignment()), palette(), isEnabled(), shownText(),
                          foregroundRole());
}

QRect PathLabel::textArea() const
{
    return contentsRect().marginsRemoved(QMargins(margin(), margin(), margin(), margin()));
}
