#include "framework/statuspanes.h"

#include <algorithm>

StatusPane::StatusPane(QWidget* parent) : QLabel(parent)
{
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Sunken);
    setMinimumWidth(60);
}

PartsProgressBar::PartsProgressBar(QWidget* parent) : QProgressBar(parent)
{
    setRange(0, 100);
    setValue(0);
    setTextVisible(true);
    setFormat(QStringLiteral("%p%"));
}

void PartsProgressBar::setTotalParts(int total)
{
    if (total == totalParts_)
        return;
    totalParts_ = total;
    partsComplete_ = 0;
    setValue(0);
}

void PartsProgressBar::setPartsComplete(int parts)
{
    partsComplete_ = parts;
    if (totalParts_ <= 0) {
        // Nothing to count down: a finished count.
        setValue(100);
        return;
    }
    const int shown = std::clamp(parts, 0, totalParts_);
    setValue(static_cast<int>(static_cast<long long>(shown) * 100 / totalParts_));
}

void PartsProgressBar::setPercent(int percent)
{
    setValue(std::clamp(percent, 0, 100));
}
