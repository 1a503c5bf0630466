#include "imaging/effects/settingspanel.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

namespace imaging {

SettingsPanel::SettingsPanel(QWidget* parent) : QWidget(parent), box_(new QGroupBox(this)), form_(new QFormLayout(box_))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(box_);
    layout->addStretch();
}

void SettingsPanel::showSettings(const QString& title, const std::vector<EffectSetting>& settings,
                                 const std::vector<int>& values)
{
    while (form_->rowCount() > 0)
        form_->removeRow(0);
    editors_.clear();
    box_->setTitle(title);
    box_->setAccessibleName(title);
    if (settings.empty()) {
        auto* none = new QLabel(tr("This effect has no settings."), box_);
        none->setAccessibleName(none->text());
        form_->addRow(none);
    }
    for (std::size_t i = 0; i < settings.size(); ++i) {
        const EffectSetting& setting = settings[i];
        const int value = i < values.size() ? values[i] : setting.initial;
        QWidget* editor = nullptr;
        if (setting.choices.isEmpty()) {
            auto* spin = new QSpinBox(box_);
            spin->setRange(setting.minimum, setting.maximum);
            spin->setValue(value);
            editor = spin;
        } else {
            auto* list = new QComboBox(box_);
            list->addItems(setting.choices);
            list->setCurrentIndex(value);
            editor = list;
        }
        editor->setObjectName(QStringLiteral("setting%1").arg(i));
        editor->setAccessibleName(setting.label);
        auto* label = new QLabel(setting.label, box_);
        label->setAccessibleName(setting.label);
        label->setBuddy(editor);
        form_->addRow(label, editor);
        editors_.push_back(editor);
    }
}

std::vector<int> SettingsPanel::values() const
{
    std::vector<int> values;
    for (QWidget* editor : editors_) {
        if (auto* spin = qobject_cast<QSpinBox*>(editor))
            values.push_back(spin->value());
        else
            values.push_back(static_cast<QComboBox*>(editor)->currentIndex());
    }
    return values;
}

} // namespace imaging
