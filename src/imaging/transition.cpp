#include "imaging/transition.h"

#include <QPainter>
#include <QTimer>
#include <QWidget>

#include <algorithm>

namespace imaging {

namespace {

// The order in which mosaic cells turn over: a fixed scramble, the same on every run.
int cellTurn(int column, int row, int cells)
{
    const quint32 mixed = (quint32(column) * 73856093u) ^ (quint32(row) * 19349663u);
    return int((mixed * 2654435761u) % quint32(std::max(1, cells)));
}

} // namespace

QStringList transitionNames()
{
    return {QStringLiteral("None"),          QStringLiteral("Fade"),       QStringLiteral("Wipe Left"),
            QStringLiteral("Wipe Right"),    QStringLiteral("Wipe Up"),    QStringLiteral("Wipe Down"),
            QStringLiteral("Column Blinds"), QStringLiteral("Row Blinds"), QStringLiteral("Mosaic Dissolve")};
}

QImage transitionFrame(const QImage& from, const QImage& to, const DisplayTransition& transition, double progress)
{
    progress = std::clamp(progress, 0.0, 1.0);
    if (progress >= 1.0 || transition.kind == TransitionKind::None || from.size() != to.size())
        return to;
    const int width = to.width();
    const int height = to.height();
    const int columnThickness = std::max(1, transition.columnThickness);
    const int rowThickness = std::max(1, transition.rowThickness);
    QImage frame = from.convertToFormat(QImage::Format_RGB32);
    QPainter painter(&frame);
    const auto reveal = [&](const QRect& area) { painter.drawImage(area, to, area); };
    switch (transition.kind) {
    case TransitionKind::None:
        break;
    case TransitionKind::Fade:
        painter.setOpacity(progress);
        painter.drawImage(0, 0, to);
        break;
    case TransitionKind::WipeLeft: {
        const int shown = int(width * progress);
        reveal(QRect(width - shown, 0, shown, height));
        break;
    }
    case TransitionKind::WipeRight:
        reveal(QRect(0, 0, int(width * progress), height));
        break;
    case TransitionKind::WipeUp: {
        const int shown = int(height * progress);
        reveal(QRect(0, height - shown, width, shown));
        break;
    }
    case TransitionKind::WipeDown:
        reveal(QRect(0, 0, width, int(height * progress)));
        break;
    case TransitionKind::ColumnBlinds:
        for (int x = 0; x < width; x += columnThickness)
            reveal(QRect(x, 0, int(columnThickness * progress), height));
        break;
    case TransitionKind::RowBlinds:
        for (int y = 0; y < height; y += rowThickness)
            reveal(QRect(0, y, width, int(rowThickness * progress)));
        break;
    case TransitionKind::MosaicDissolve: {
        const int columns = (width + columnThickness - 1) / columnThickness;
        const int rows = (height + rowThickness - 1) / rowThickness;
        const int turned = int(columns * rows * progress);
        for (int row = 0; row < rows; ++row)
            for (int column = 0; column < columns; ++column)
                if (cellTurn(column, row, columns * rows) < turned)
                    reveal(QRect(column * columnThickness, row * rowThickness, columnThickness, rowThickness));
        break;
    }
    }
    return frame;
}

TransitionPlayer::TransitionPlayer(QWidget& widget) : QObject(&widget), widget_(widget), ticker_(new QTimer(this))
{
    ticker_->setInterval(15);
    connect(ticker_, &QTimer::timeout, this, [this] {
        widget_.update();
        if (active() && clock_.elapsed() >= transition_.delay)
            finish();
    });
}

void TransitionPlayer::leaving(const QImage& shown)
{
    if (transition_.kind == TransitionKind::None || transition_.delay <= 0 || shown.isNull())
        return;
    // A change during a transition goes on from what was on screen. The old picture stays
    // no longer than the delay while the new one is on its way.
    from_ = shown;
    arrived_ = false;
    clock_.start();
    ticker_->start();
}

void TransitionPlayer::arrived()
{
    if (!active() || arrived_)
        return;
    arrived_ = true;
    clock_.start();
}

QImage TransitionPlayer::frame(const QImage& scene)
{
    if (!active())
        return scene;
    if (!arrived_)
        return from_.size() == scene.size() ? from_ : scene;
    const double progress = double(clock_.elapsed()) / std::max(1, transition_.delay);
    const QImage shown = transitionFrame(from_, scene, transition_, progress);
    if (progress >= 1.0)
        finish();
    return shown;
}

void TransitionPlayer::finish()
{
    from_ = QImage();
    arrived_ = false;
    ticker_->stop();
    widget_.update();
}

} // namespace imaging
