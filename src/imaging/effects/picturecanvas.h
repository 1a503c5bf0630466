// The effects window's picture: the working copy (or a preview of an effect on it) fitted into
// the window, on which the user drags out the area an effect is limited to.
#pragma once

#include <QImage>
#include <QWidget>

namespace imaging {

class PictureCanvas : public QWidget {
    Q_OBJECT
public:
    explicit PictureCanvas(QWidget* parent = nullptr);

    void setPicture(const QImage& picture); // also ends a preview
    void setPreview(const QImage& preview); // shown in place of the picture, fitted the same way
    bool previewShown() const { return !preview_.isNull(); }

    // The selected area in the picture's pixels; empty when nothing is selected.
    QRect selection() const { return selection_; }
    void setSelection(const QRect& area);
    void resetSelection();
    void setSelectionHidden(bool hidden);
    bool selectionHidden() const { return selectionHidden_; }

    QSize sizeHint() const override { return {640, 480}; }

signals:
    void selectionChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QRectF pictureRect() const; // where the picture is drawn
    QPoint toPicture(const QPointF& point) const;

    QImage picture_;
    QImage preview_;
    QImage scaled_; // what is shown, scaled once per size: a large picture paints quickly
    QRect selection_;
    QPoint dragStart_;
    bool dragging_ = false;
    bool selectionHidden_ = false;
};

} // namespace imaging
