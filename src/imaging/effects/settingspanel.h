// The settings of the chosen effect: a spin box per number, a list per choice, each with its
// label.
#pragma once

#include <QWidget>

#include <vector>

#include "imaging/effects/effect.h"

class QFormLayout;
class QGroupBox;

namespace imaging {

class SettingsPanel : public QWidget {
    Q_OBJECT
public:
    explicit SettingsPanel(QWidget* parent = nullptr);

    void showSettings(const QString& title, const std::vector<EffectSetting>& settings, const std::vector<int>& values);
    std::vector<int> values() const;

private:
    QGroupBox* box_;
    QFormLayout* form_;
    std::vector<QWidget*> editors_;
};

} // namespace imaging
