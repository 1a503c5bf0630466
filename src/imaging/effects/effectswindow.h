// The effects window "Filters and Effects": effects applied to a copy of the shown picture
// (or to an area of it selected with the mouse), previewed at screen size, run on a worker
// thread that "Stop" ends; and the picture view's display transition. "Close and Save" hands
// the processed copy and the transition back; the close button keeps nothing. The window is
// made once and remembers its settings from one use to the next.
#pragma once

#include <QDialog>
#include <QImage>

#include <functional>
#include <map>

#include "imaging/effects/effect.h"
#include "imaging/transition.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace imaging {

class EffectRunner;
class PictureCanvas;
class SettingsPanel;

class EffectsWindow : public QDialog {
    Q_OBJECT
public:
    // Asks a question with Yes and No; true for Yes.
    using AskYesNo = std::function<bool(QWidget* parent, const QString& caption, const QString& question)>;

    EffectsWindow(QWidget* parent, AskYesNo ask);
    ~EffectsWindow() override;

    // Starts work on a copy of `picture`; the settings chosen before are kept.
    void load(const QImage& picture);

    // The working copy, and whether an effect changed it since the window opened or reloaded.
    const QImage& picture() const { return copy_; }
    bool changed() const { return changed_; }

    void setTransition(const DisplayTransition& transition);
    DisplayTransition transition() const { return transition_; }

    // An effect is running, or a preview is shown that was not applied.
    bool actionPending() const;
    // Chooses an effect (as its menu entry does) and shows its settings.
    void chooseEffect(const QString& name);
    void chooseTransition();
    PictureCanvas& canvas() { return *canvas_; }
    // Waits until the running effect, if any, has ended.
    void waitForEffect();

    void Preview();
    void Apply();
    void Stop();
    void Reload();
    void HideSelection();
    void ResetSelection();
    void CloseAndSave();

signals:
    void effectEnded();

protected:
    void reject() override;

private:
    void buildMenus();
    QWidget* buildButtons();
    void keepChosenValues();
    void run(const QRect& area, bool preview);
    void effectFinished(const QImage& result);
    void effectEndedWithout(const QString& status);
    void updateButtons();

    AskYesNo ask_;
    QImage original_;
    QImage copy_;
    bool changed_ = false;
    DisplayTransition transition_;
    const Effect* chosen_ = nullptr; // null while the transition is shown
    std::map<QString, std::vector<int>> values_;
    bool previewRunning_ = false;

    PictureCanvas* canvas_;
    SettingsPanel* settings_;
    EffectRunner* runner_;
    QProgressBar* progress_;
    QLabel* status_;
    QPushButton* previewButton_ = nullptr;
    QPushButton* applyButton_ = nullptr;
    QPushButton* stopButton_ = nullptr;
    QPushButton* hideButton_ = nullptr;
};

} // namespace imaging
