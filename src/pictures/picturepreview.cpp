#include "pictures/picturepreview.h"

#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

PicturePreview::PicturePreview(QWidget* parent) : QFrame(parent), picture_(new QLabel(this)), size_(new QLabel(this))
{
    picture_->setObjectName(QStringLiteral("PreviewPicture"));
    picture_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    picture_->setAlignment(Qt::AlignCenter);
    picture_->setAccessibleName(tr("Preview"));
    const int frame = 2 * picture_->frameWidth();
    picture_->setFixedSize(boxSize + QSize(frame, frame));
    size_->setObjectName(QStringLiteral("PreviewSize"));
    size_->setAlignment(Qt::AlignCenter);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(picture_);
    layout->addWidget(size_);
    layout->addStretch();

    connect(&loader_, &PreviewLoader::loaded, this, &PicturePreview::showPicture);
    connect(&loader_, &PreviewLoader::failed, this, &PicturePreview::showNoPreview);
}

void PicturePreview::showFile(const QString& path)
{
    if (path == path_ && state_ != State::Empty)
        return;
    path_ = path;
    reload();
}

void PicturePreview::reload()
{
    if (path_.isEmpty()) {
        loader_.cancel();
        setState(State::Empty, {}, {});
        return;
    }
    setState(State::Loading, {}, {});
    // Decoded at the screen's pixel density, so the preview is sharp on high-resolution screens.
    const qreal ratio = devicePixelRatioF();
    loader_.load(path_, (QSizeF(boxSize) * ratio).toSize());
}

void PicturePreview::showPicture(const QString& path, const QImage& image, QSize fullSize)
{
    QImage shown = image;
    shown.setDevicePixelRatio(devicePixelRatioF());
    setState(State::Shown, shown, fullSize);
    emit finished(path, true);
}

void PicturePreview::showNoPreview(const QString& path)
{
    setState(State::NoPreview, {}, {});
    emit finished(path, false);
}

void PicturePreview::setState(State state, const QImage& image, QSize fullSize)
{
    state_ = state;
    shownImage_ = image;
    pictureSize_ = fullSize;
    // A label holds a picture or a text; setting either drops the other.
    if (image.isNull())
        picture_->setText(state == State::NoPreview ? tr("No preview") : QString());
    else
        picture_->setPixmap(QPixmap::fromImage(image));
    size_->setText(fullSize.isValid() ? tr("%1 × %2").arg(fullSize.width()).arg(fullSize.height()) : QString());
}
