// Status bar panes: a sunken text pane, and a progress bar counted in parts.
#pragma once

#include <QLabel>
#include <QProgressBar>

class StatusPane : public QLabel {
    Q_OBJECT
public:
    explicit StatusPane(QWidget* parent = nullptr);
};

// Shows parts complete out of total parts as a percentage; parts complete above the total
// count as the total. Setting a different total sets the parts complete and the shown
// percentage to 0. The percentage may also be set directly.
class PartsProgressBar : public QProgressBar {
    Q_OBJECT
public:
    explicit PartsProgressBar(QWidget* parent = nullptr);

    void setTotalParts(int total);
    int totalParts() const { return totalParts_; }
    void setPartsComplete(int parts);
    int partsComplete() const { return partsComplete_; }
    void setPercent(int percent);
    int percent() const { return value(); }

private:
    int totalParts_ = 100;
    int partsComplete_ = 0;
};
