// The picture view's display transition: how the view passes from the picture it showed to
// the next one (blend, wipe, blinds, mosaic dissolve), and in how long.
#pragma once

#include <QElapsedTimer>
#include <QImage>
#include <QObject>
#include <QStringList>

class QTimer;

namespace imaging {

enum class TransitionKind {
    None,
    Fade,
    WipeLeft, // the new picture comes in from the right edge, moving left
    WipeRight,
    WipeUp,
    WipeDown,
    ColumnBlinds,
    RowBlinds,
    MosaicDissolve,
};

struct DisplayTransition {
    TransitionKind kind = TransitionKind::None;
    int delay = 500;          // milliseconds the whole transition takes
    int columnThickness = 24; // pixels of a column blind or mosaic cell
    int rowThickness = 24;    // pixels of a row blind or mosaic cell
    bool operator==(const DisplayTransition&) const = default;
};

// The kinds' names, in the order of TransitionKind.
QStringList transitionNames();

// What the view shows `progress` (0 to 1) of the way from `from` to `to`; both have the same
// size. At 0 it is `from`, at 1 exactly `to`.
QImage transitionFrame(const QImage& from, const QImage& to, const DisplayTransition& transition, double progress);

// Plays a transition on a widget: holds the picture left behind, and asks the widget to
// repaint until the transition's time is up.
class TransitionPlayer : public QObject {
    Q_OBJECT
public:
    explicit TransitionPlayer(QWidget& widget);

    void setTransition(const DisplayTransition& transition) { transition_ = transition; }
    const DisplayTransition& transition() const { return transition_; }

    // The picture the widget showed before a change; nothing happens when the kind is None.
    void leaving(const QImage& shown);
    // The new picture is there: the clock starts.
    void arrived();
    bool active() const { return !from_.isNull(); }
    // The frame for the new scene now; the scene itself once the time is up.
    QImage frame(const QImage& scene);

private:
    void finish();

    QWidget& widget_;
    DisplayTransition transition_;
    QImage from_;
    bool arrived_ = false;
    QElapsedTimer clock_;
    QTimer* ticker_;
};

} // namespace imaging
