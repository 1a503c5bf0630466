#include "imaging/effects/effect.h"

#include <QPainter>

#include <algorithm>
#include <stdexcept>

#include "imaging/effects/effectgroups.h"
#include "imaging/error.h"

namespace imaging {

std::vector<int> Effect::initialValues() const
{
    std::vector<int> values;
    for (const EffectSetting& setting : settings)
        values.push_back(setting.initial);
    return values;
}

const std::vector<EffectMenu>& effectMenus()
{
    static const std::vector<EffectMenu> menus{
        {QStringLiteral("&Image"), effects::imageEffects()},
        {QStringLiteral("&Deformation"), effects::deformationEffects()},
        {QStringLiteral("&Correction"), effects::correctionEffects()},
    };
    return menus;
}

const Effect& effectNamed(const QString& name)
{
    for (const EffectMenu& menu : effectMenus())
        for (const Effect& effect : menu.effects)
            if (effect.name == name)
                return effect;
    throw std::out_of_range("no effect named " + name.toStdString());
}

QImage applyEffect(const Effect& effect, const QImage& picture, const QRect& area, std::vector<int> values,
                   const QImage& pasted, const TaskControl& control)
{
    values.resize(effect.settings.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        const EffectSetting& setting = effect.settings[i];
        const int maximum = setting.choices.isEmpty() ? setting.maximum : int(setting.choices.size()) - 1;
        values[i] = std::clamp(values[i], setting.minimum, std::max(setting.minimum, maximum));
    }
    const QImage::Format format = picture.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32;
    const QImage source = picture.convertToFormat(format);
    const QRect part = area.intersected(source.rect());
    if (area.isEmpty() || part == source.rect())
        return effect.apply({source, values, pasted, control}).convertToFormat(format);
    if (part.isEmpty())
        return source;
    QImage processed = effect.apply({source.copy(part), values, pasted, control});
    if (processed.size() != part.size())
        processed = processed.scaled(part.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QImage result = source;
    QPainter painter(&result);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(part.topLeft(), processed);
    painter.end();
    if (control.cancel && control.cancel->load())
        throw Error(ErrorCode::Cancelled, QStringLiteral("The effect was stopped"));
    return result;
}

} // namespace imaging
