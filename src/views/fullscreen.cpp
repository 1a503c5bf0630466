#include "views/fullscreen.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>

#include "framework/buttonglyphs.h"
#include "framework/handlerguard.h"
#include "imaging/pdbmultiimage.h"

namespace {

constexpr int stripHeight = 41;

QToolButton* stripButton(QWidget* parent, const char* name, const QIcon& icon, const QString& hint)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setIcon(icon);
    button->setIconSize(QSize(24, 24));
    button->setCheckable(true);
    button->setToolTip(hint);
    button->setAccessibleName(hint);
    return button;
}

} // namespace

TForm11::TForm11(QWidget* parent) : TModalForm(parent)
{
    setObjectName(QStringLiteral("Form11"));
    setWindowTitle(QStringLiteral("FullScreen"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    setAutoFillBackground(true);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    // Its own display settings, not the album's: centred, no caption over the picture, and
    // stretched only on request.
    PDBMultiImage1 = new TPDBMultiImage(this);
    PDBMultiImage1->setObjectName(QStringLiteral("PDBMultiImage1"));
    PDBMultiImage1->setCenter(true);
    PDBMultiImage1->setStretchRatio(false);
    layout->addWidget(PDBMultiImage1, 1);
    layout->addWidget(buildStrip());
}

QWidget* TForm11::buildStrip()
{
    auto* strip = new QWidget(this);
    strip->setObjectName(QStringLiteral("Panel1"));
    strip->setFixedHeight(stripHeight);
    auto* row = new QHBoxLayout(strip);
    row->setContentsMargins(8, 2, 8, 2);

    CheckBox1 = new QCheckBox(tr("Stretch Image"), strip);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setStyleSheet(QStringLiteral("QCheckBox { color: white; }"));
    SpeedButton3 = stripButton(strip, "SpeedButton3", glyphs::playStop(), QStringLiteral("play/stop slideshow"));
    SpeedButton1 = stripButton(strip, "SpeedButton1", glyphs::stepBack(), tr("previous picture"));
    SpeedButton2 = stripButton(strip, "SpeedButton2", glyphs::stepForward(), tr("next picture"));
    // Exactly one of the arrows is down.
    auto* direction = new QButtonGroup(this);
    direction->setExclusive(true);
    direction->addButton(SpeedButton1);
    direction->addButton(SpeedButton2);
    SpeedButton2->setChecked(true);
    BitBtn1 = new QPushButton(tr("&Close"), strip);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::reject);

    connect(CheckBox1, &QCheckBox::toggled, this, guarded([this] { CheckBox1Click(); }));
    connect(SpeedButton3, &QToolButton::clicked, this, guarded([this] { SpeedButton3Click(); }));
    connect(SpeedButton1, &QToolButton::clicked, this, guarded([this] { SpeedButton1Click(); }));
    connect(SpeedButton2, &QToolButton::clicked, this, guarded([this] { SpeedButton2Click(); }));

    for (QWidget* control : std::initializer_list<QWidget*>{CheckBox1, SpeedButton3, SpeedButton1, SpeedButton2})
        row->addWidget(control);
    row->addStretch(1);
    row->addWidget(BitBtn1);
    return strip;
}

void TForm11::bind(TDataSource& pictures, FullScreenCommands commands)
{
    commands_ = std::move(commands);
    pictures_ = &pictures;
    PDBMultiImage1->setDataField("FOTO");
    // Steps here decode their neighbours ahead, as the main window's view does.
    PDBMultiImage1->setPrefetching(true);
}

void TForm11::showEvent(QShowEvent* event)
{
    setWindowState(windowState() | Qt::WindowMaximized);
    // Linked to the pictures only while open: hidden, it would decode every picture the main
    // window passes, at full size.
    PDBMultiImage1->setDataSource(pictures_);
    TModalForm::showEvent(event);
}

void TForm11::hideEvent(QHideEvent* event)
{
    PDBMultiImage1->setDataSource(nullptr);
    TModalForm::hideEvent(event);
}

void TForm11::SpeedButton1Click()
{
    PDBMultiImage1->setTravelDirection(false);
    commands_.stepBack();
}

void TForm11::SpeedButton2Click()
{
    PDBMultiImage1->setTravelDirection(true);
    commands_.stepForward();
}

void TForm11::SpeedButton3Click()
{
    commands_.playOrStop();
}

void TForm11::CheckBox1Click()
{
    PDBMultiImage1->setStretchRatio(CheckBox1->isChecked());
}
