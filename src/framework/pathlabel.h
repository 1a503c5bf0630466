// A one-line label for a file or folder path. A path too long for the label is shortened in the
// middle, keeping the volume and the file name in sight; text() keeps it whole, and hovering
// over a shortened path shows all of it.
#pragma once

#include <QLabel>

class PathLabel : public QLabel {
    Q_OBJECT
public:
    explicit PathLabel(QWidget* parent = nullptr);

    // What is drawn: the text, shortened to the label's width.
    QString shownText() const;
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QRect textArea() const;
};
