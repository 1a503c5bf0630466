#include "views/about.h"

#include <QGraphicsDropShadowEffect>
#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

// A framed picture of hills under a sky: the logo, drawn so it needs no file.
QPixmap logo()
{
    QPixmap picture(200, 103);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 103);
    sky.setColorAt(0, QColor(20, 40, 140));
    sky.setColorAt(1, QColor(120, 180, 255));
    painter.fillRect(picture.rect(), sky);
    painter.setBrush(QColor(255, 220, 60));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QPointF(150, 30), 14, 14);
    QPainterPath hills;
    hills.moveTo(0, 103);
    hills.cubicTo(40, 40, 90, 90, 130, 60);
    hills.cubicTo(160, 40, 185, 70, 200, 55);
    hills.lineTo(200, 103);
    hills.closeSubpath();
    painter.setBrush(QColor(30, 140, 60));
    painter.drawPath(hills);
    painter.setPen(QPen(Qt::white, 3));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(1.5, 1.5, 197, 100));
    return picture;
}

QLabel* line(QWidget* parent, const char* name, const QString& text, const QColor& colour)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    return label;
}

} // namespace

TForm5::TForm5(QWidget* parent) : TModalForm(parent)
{
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(QStringLiteral("About"));
    setCentredOnScreen();
    setFixedClientSize(363, 334);
    setAutoFillBackground(true);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(logo());
    Image1->setGeometry(8, 8, 200, 103);
    Image1->setAccessibleName(tr("Kadrix logo"));

    Label1 = line(this, "Label1", QStringLiteral("Presents...."), Qt::white);
    Label1->setGeometry(216, 90, 140, 20);

    Label2 = line(this, "Label2", QStringLiteral("Kadrix"), Qt::blue);
    QFont name(QStringLiteral("Arial"));
    name.setPixelSize(29);
    name.setBold(true);
    Label2->setFont(name);
    auto* shadow = new QGraphicsDropShadowEffect(Label2);
    shadow->setColor(Qt::gray);
    shadow->setOffset(2, 2);
    shadow->setBlurRadius(0);
    Label2->setGraphicsEffect(shadow);
    Label2->setAlignment(Qt::AlignCenter);
    Label2->setGeometry(0, 130, 363, 40);

    Label3 = line(this, "Label3", QStringLiteral("Version 1.0  rev 01/27/98"), Qt::white);
    Label3->setAlignment(Qt::AlignCenter);
    Label3->setGeometry(0, 180, 363, 20);

    const QString credits[] = {tr("Built with the Qt user-interface toolkit,"),
                               tr("the ImageMagick imaging library"), tr("and the GNU C++ compiler.")};
    QLabel** creditLines[] = {&Label4, &Label5, &Label6};
    const char* creditNames[] = {"Label4", "Label5", "Label6"};
    for (int index = 0; index < 3; ++index) {
        QLabel* credit = line(this, creditNames[index], credits[index], Qt::lightGray);
        credit->setAlignment(Qt::AlignCenter);
        credit->setGeometry(0, 240 + 22 * index, 363, 20);
        *creditLines[index] = credit;
    }
}

void TForm5::mousePressEvent(QMouseEvent* event)
{
    // Labels and the logo pass their clicks on; only the background closes the window.
    if (event->button() == Qt::LeftButton && !childAt(event->position().toPoint()))
        FormClick();
    TModalForm::mousePressEvent(event);
}

void TForm5::FormClick()
{
    accept();
}
