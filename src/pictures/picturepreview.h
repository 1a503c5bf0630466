// The preview panel of the Open File window: the chosen picture fitted into a fixed box, with
// its own size underneath, or a short note when the file has no preview. Decoding runs on a
// worker thread; until it is done the box stays empty.
#pragma once

#include <QFrame>
#include <QSize>

#include "pictures/previewloader.h"

class QLabel;

class PicturePreview : public QFrame {
    Q_OBJECT
public:
    enum class State { Empty, Loading, Shown, NoPreview };

    // The box a picture is fitted into, in device-independent pixels.
    static constexpr QSize boxSize{240, 180};

    explicit PicturePreview(QWidget* parent = nullptr);

    // Previews the file at `path`; empty clears the panel. Asking for the file already shown (or
    // being decoded) changes nothing.
    void showFile(const QString& path);
    // Decodes the current file again: it may have changed on disk since it was shown.
    void reload();

    QString file() const { return path_; }
    State state() const { return state_; }
    // The shown picture's own size; invalid unless a picture is shown.
    QSize pictureSize() const { return pictureSize_; }
    // The picture as drawn in the box; null unless a picture is shown.
    QImage shownImage() const { return shownImage_; }

signals:
    // The decode of `path` ended: shown, or not previewable.
    void finished(const QString& path, bool shown);

private:
    void showPicture(const QString& path, const QImage& image, QSize fullSize);
    void showNoPreview(const QString& path);
    void setState(State state, const QImage& image, QSize fullSize);

    QLabel* picture_;
    QLabel* size_;
    PreviewLoader loader_;
    QString path_;
    State state_ = State::Empty;
    QSize pictureSize_;
    QImage shownImage_;
};
