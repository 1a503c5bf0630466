// The thumbnail manager's window: the 4 × 5 grid of thumbnails with their boxes above, the page
// arrows and OK below.
#include "views/Thumb.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>

#include "framework/buttonglyphs.h"
#include "framework/handlerguard.h"
#include "imaging/thumbnaildecoder.h"
#include "views/thumbnailslot.h"

namespace {

constexpr int columns = 5;

QToolButton* arrowButton(QWidget* parent, const char* name, const QIcon& icon, const QString& hint)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setIcon(icon);
    button->setIconSize(QSize(24, 24));
    button->setToolTip(hint);
    button->setAccessibleName(hint);
    return button;
}

} // namespace

TForm10::TForm10(QWidget* parent) : TModalForm(parent)
{
    setObjectName(QStringLiteral("Form10"));
    setWindowTitle(QStringLiteral("Thumbnail manager"));
    resize(518, 542);
    buildLayout();
    decoder_ = std::make_unique<imaging::ThumbnailDecoder>(
        thumbnails_[0]->contentsRect().size() * devicePixelRatio(),
        [this](int slot, QImage image) { thumbnailDecoded(slot, std::move(image)); }, this);
}

TForm10::~TForm10() = default;

void TForm10::buildLayout()
{
    auto* layout = new QVBoxLayout(this);
    auto* upper = new QWidget(this);
    upper->setObjectName(QStringLiteral("Panel1"));
    auto* grid = new QGridLayout(upper);
    for (int slot = 1; slot <= pageSize; ++slot) {
        auto* cell = new QVBoxLayout;
        auto* thumb = new ThumbnailSlot(upper);
        thumb->setObjectName(QStringLiteral("PMultiImage%1").arg(slot));
        thumb->setAccessibleName(tr("Thumbnail %1").arg(slot));
        auto* box = new QCheckBox(tr("OK"), upper);
        box->setObjectName(QStringLiteral("CheckBox%1").arg(slot));
        cell->addWidget(thumb);
        cell->addWidget(box);
        grid->addLayout(cell, (slot - 1) / columns, (slot - 1) % columns);
        thumbnails_[static_cast<std::size_t>(slot - 1)] = thumb;
        boxes_[static_cast<std::size_t>(slot - 1)] = box;
        connect(thumb, &ThumbnailSlot::clicked, this, guarded([this, slot] { PMultiImageClick(slot); }));
    }
    layout->addWidget(upper, 1);

    auto* lower = new QHBoxLayout;
    SpeedButton1 = arrowButton(this, "SpeedButton1", glyphs::stepBack(), tr("previous page"));
    SpeedButton2 = arrowButton(this, "SpeedButton2", glyphs::stepForward(), tr("next page"));
    BitBtn1 = new QPushButton(tr("OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    connect(SpeedButton1, &QToolButton::clicked, this, guarded([this] { SpeedButton1Click(); }));
    connect(SpeedButton2, &QToolButton::clicked, this, guarded([this] { SpeedButton2Click(); }));
    connect(BitBtn1, &QPushButton::clicked, this, guarded([this] { BitBtn1Click(); }));
    lower->addWidget(SpeedButton1);
    lower->addWidget(SpeedButton2);
    lower->addStretch(1);
    lower->addWidget(BitBtn1);
    layout->addLayout(lower);
}

void TForm10::bind(TTable& pictures, QWidget& mainPictureView)
{
    pictures_ = &pictures;
    mainPictureView_ = &mainPictureView;
}

void TForm10::showEvent(QShowEvent* event)
{
    TModalForm::showEvent(event);
    if (!event->spontaneous())
        guarded([this] { FormActivate(); })();
}
