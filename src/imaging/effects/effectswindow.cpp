#include "imaging/effects/effectswindow.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>

#include "imaging/effects/effectrunner.h"
#include "imaging/effects/picturecanvas.h"
#include "imaging/effects/settingspanel.h"

namespace imaging {

namespace {

const QString windowCaption = QStringLiteral("Filters and Effects");
const QString transitionTitle = QStringLiteral("Display Transition");

std::vector<EffectSetting> transitionSettings()
{
    return {{QStringLiteral("Kind"), 0, 8, 0, transitionNames()},
            {QStringLiteral("Delay (ms)"), 0, 5000, 500},
            {QStringLiteral("Column thickness (pixels)"), 1, 400, 24},
            {QStringLiteral("Row thickness (pixels)"), 1, 400, 24}};
}

std::vector<int> transitionValues(const DisplayTransition& transition)
{
    return {static_cast<int>(transition.kind), transition.delay, transition.columnThickness, transition.rowThickness};
}

struct PreviewInput {
    QImage picture;
    QRect area;
};

// A copy small enough to preview quickly: no larger than the screen; the selection follows.
PreviewInput previewInput(const QImage& picture, const QRect& area, const QSize& screen)
{
    if (picture.width() <= screen.width() && picture.height() <= screen.height())
        return {picture, area};
    PreviewInput small{picture.scaled(screen, Qt::KeepAspectRatio, Qt::SmoothTransformation), {}};
    const double scale = double(small.picture.width()) / picture.width();
    if (!area.isEmpty())
        small.area = QRect(int(area.x() * scale), int(area.y() * scale), std::max(1, int(area.width() * scale)),
                           std::max(1, int(area.height() * scale)));
    return small;
}

} // namespace

EffectsWindow::EffectsWindow(QWidget* parent, AskYesNo ask)
    : QDialog(parent), ask_(std::move(ask)), canvas_(new PictureCanvas(this)), settings_(new SettingsPanel(this)),
      runner_(new EffectRunner(this)), progress_(new QProgressBar(this)), status_(new QLabel(this))
{
    setObjectName(QStringLiteral("EffectsWindow"));
    setWindowTitle(windowCaption);
    setModal(true);
    canvas_->setObjectName(QStringLiteral("PictureCanvas"));
    canvas_->setAccessibleName(tr("Picture to process; drag to select an area"));
    canvas_->setPicture(copy_);
    progress_->setObjectName(QStringLiteral("EffectProgress"));
    progress_->setRange(0, 100);
    progress_->setValue(0);
    progress_->setAccessibleName(tr("Progress of the effect"));
    status_->setObjectName(QStringLiteral("EffectStatus"));

    auto* side = new QVBoxLayout;
    side->addWidget(settings_);
    side->addWidget(buildButtons());
    auto* body = new QHBoxLayout;
    body->addWidget(canvas_, 1);
    body->addLayout(side);
    auto* layout = new QVBoxLayout(this);
    buildMenus();
    layout->addLayout(body, 1);
    layout->addWidget(progress_);
    layout->addWidget(status_);

    connect(runner_, &EffectRunner::progress, progress_, &QProgressBar::setValue);
    connect(runner_, &EffectRunner::finished, this, &EffectsWindow::effectFinished);
    connect(runner_, &EffectRunner::failed, this, [this](const QString& text) { effectEndedWithout(text); });
    connect(runner_, &EffectRunner::stopped, this, [this] { effectEndedWithout(tr("Stopped")); });
    chooseEffect(effectMenus().front().effects.front().name);
}

EffectsWindow::~EffectsWindow() = default;

void EffectsWindow::load(const QImage& picture)
{
    runner_->stop();
    runner_->wait();
    original_ = picture;
    copy_ = picture;
    changed_ = false;
    canvas_->setPicture(copy_);
    canvas_->resetSelection();
    progress_->setValue(0);
    status_->clear();
    updateButtons();
}

void EffectsWindow::buildMenus()
{
    auto* bar = new QMenuBar(this);
    layout()->setMenuBar(bar);
    for (const EffectMenu& group : effectMenus()) {
        QMenu* menu = bar->addMenu(group.title);
        for (const Effect& effect : group.effects) {
            QAction* action = menu->addAction(effect.name);
            action->setObjectName(effect.name);
            connect(action, &QAction::triggered, this, [this, name = effect.name] { chooseEffect(name); });
        }
    }
    QMenu* transitions = bar->addMenu(QStringLiteral("&Transitions"));
    QAction* transition = transitions->addAction(transitionTitle);
    transition->setObjectName(transitionTitle);
    connect(transition, &QAction::triggered, this, &EffectsWindow::chooseTransition);
}

QWidget* EffectsWindow::buildButtons()
{
    auto* panel = new QWidget(this);
    auto* column = new QVBoxLayout(panel);
    const auto button = [this, panel, column](const QString& text, void (EffectsWindow::*handler)()) {
        auto* made = new QPushButton(text, panel);
        made->setObjectName(text);
        made->setAutoDefault(false);
        connect(made, &QPushButton::clicked, this, handler);
        column->addWidget(made);
        return made;
    };
    hideButton_ = button(QStringLiteral("Hide Selection"), &EffectsWindow::HideSelection);
    hideButton_->setCheckable(true);
    button(QStringLiteral("Reset Selection"), &EffectsWindow::ResetSelection);
    button(QStringLiteral("Reload"), &EffectsWindow::Reload);
    previewButton_ = button(QStringLiteral("Preview"), &EffectsWindow::Preview);
    applyButton_ = button(QStringLiteral("Apply"), &EffectsWindow::Apply);
    stopButton_ = button(QStringLiteral("Stop"), &EffectsWindow::Stop);
    button(QStringLiteral("Close and Save"), &EffectsWindow::CloseAndSave);
    auto* close = new QToolButton(panel);
    close->setObjectName(QStringLiteral("CloseWithoutSaving"));
    close->setText(QStringLiteral("\u2715"));
    close->setToolTip(tr("Close without saving"));
    close->setAccessibleName(tr("Close without saving"));
    connect(close, &QToolButton::clicked, this, &EffectsWindow::reject);
    column->addWidget(close, 0, Qt::AlignRight);
    column->addStretch();
    updateButtons();
    return panel;
}

void EffectsWindow::setTransition(const DisplayTransition& transition)
{
    transition_ = transition;
    values_[transitionTitle] = transitionValues(transition);
    if (!chosen_)
        settings_->showSettings(transitionTitle, transitionSettings(), values_[transitionTitle]);
}

bool EffectsWindow::actionPending() const
{
    return runner_->running() || canvas_->previewShown();
}

void EffectsWindow::keepChosenValues()
{
    const std::vector<int> values = settings_->values();
    if (chosen_) {
        values_[chosen_->name] = values;
        return;
    }
    if (values.size() == 4)
        transition_ = {static_cast<TransitionKind>(values[0]), values[1], values[2], values[3]};
    values_[transitionTitle] = transitionValues(transition_);
}

void EffectsWindow::chooseEffect(const QString& name)
{
    keepChosenValues();
    chosen_ = &effectNamed(name);
    const auto kept = values_.find(name);
    settings_->showSettings(name, chosen_->settings, kept != values_.end() ? kept->second : chosen_->initialValues());
    canvas_->setPicture(copy_);
    updateButtons();
}

void EffectsWindow::chooseTransition()
{
    keepChosenValues();
    chosen_ = nullptr;
    settings_->showSettings(transitionTitle, transitionSettings(), transitionValues(transition_));
    updateButtons();
}

void EffectsWindow::Preview()
{
    if (!chosen_ || copy_.isNull())
        return;
    run(canvas_->selection(), true);
}

void EffectsWindow::Apply()
{
    if (!chosen_ || copy_.isNull())
        return;
    run(canvas_->selection(), false);
}

void EffectsWindow::run(const QRect& area, bool preview)
{
    keepChosenValues();
    const Effect& effect = *chosen_;
    const std::vector<int> values = values_[effect.name];
    const QImage pasted = QGuiApplication::clipboard()->image();
    previewRunning_ = preview;
    progress_->setValue(0);
    status_->setText(preview ? tr("Previewing %1...").arg(effect.name) : tr("Applying %1...").arg(effect.name));
    const QSize screen =
        QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->size() : QSize(1920, 1080);
    runner_->start([&effect, source = copy_, area, values, pasted, preview, screen](const TaskControl& control) {
        if (!preview)
            return applyEffect(effect, source, area, values, pasted, control);
        const PreviewInput small = previewInput(source, area, screen);
        return applyEffect(effect, small.picture, small.area, values, pasted, control);
    });
    updateButtons();
}

void EffectsWindow::effectFinished(const QImage& result)
{
    progress_->setValue(100);
    if (previewRunning_) {
        canvas_->setPreview(result);
        status_->setText(tr("Preview of %1").arg(chosen_ ? chosen_->name : QString()));
    } else {
        copy_ = result;
        changed_ = true;
        canvas_->setPicture(copy_);
        status_->setText(tr("Applied"));
    }
    updateButtons();
    emit effectEnded();
}

void EffectsWindow::effectEndedWithout(const QString& status)
{
    progress_->setValue(0);
    status_->setText(status);
    updateButtons();
    emit effectEnded();
}

void EffectsWindow::Stop()
{
    runner_->stop();
}

void EffectsWindow::waitForEffect()
{
    runner_->wait();
}

void EffectsWindow::Reload()
{
    if (runner_->running())
        return;
    copy_ = original_;
    changed_ = false;
    canvas_->setPicture(copy_);
    status_->clear();
    updateButtons();
}

void EffectsWindow::HideSelection()
{
    canvas_->setSelectionHidden(!canvas_->selectionHidden());
    hideButton_->setChecked(canvas_->selectionHidden());
}

void EffectsWindow::ResetSelection()
{
    canvas_->resetSelection();
}

void EffectsWindow::CloseAndSave()
{
    if (actionPending() &&
        !ask_(this, windowCaption, QStringLiteral("There is still an action pending. Are you sure you want to exit ?")))
        return;
    keepChosenValues();
    runner_->stop();
    runner_->wait();
    accept();
}

void EffectsWindow::reject()
{
    runner_->stop();
    runner_->wait();
    QDialog::reject();
}

void EffectsWindow::updateButtons()
{
    const bool running = runner_->running();
    const bool effectChosen = chosen_ != nullptr && !copy_.isNull();
    previewButton_->setEnabled(!running && effectChosen);
    applyButton_->setEnabled(!running && effectChosen);
    stopButton_->setEnabled(running);
}

} // namespace imaging
