// A one-line label for a file or folder path. A path too long for the label is shortened in the
// middle, keeping the volume and the file name in sight; text() and the tooltip keep it whole.
#pragma once

#include <QLabel>

class PathLabel : public QLabel {
    Q_OBJECT
public:
    explicit PathLabel(QWidget* parent = nullptr);

    // Shows `path` with the platform's separators; empty clears the label.
    void setPath(const QString& path);

    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};
