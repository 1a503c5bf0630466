// One thumbnail of the thumbnail manager's page: a small bordered box that shows its picture
// stretched to the box and reports clicks.
#pragma once

#include <QFrame>
#include <QImage>

class ThumbnailSlot : public QFrame {
    Q_OBJECT
public:
    explicit ThumbnailSlot(QWidget* parent = nullptr);

    void setImage(QImage image);
    void clear() { setImage(QImage()); }
    const QImage& image() const { return image_; }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QImage image_;
};
