// The effects of the effects window: each a named operation on a picture with a few settings,
// grouped by the menu that offers it. An effect runs on any thread (it takes no widget and
// shares no ImageMagick image), reports progress and stops at a cancel request.
#pragma once

#include <QImage>
#include <QRect>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

#include "imaging/taskcontrol.h"

namespace imaging {

// One setting of an effect: a whole number in [minimum, maximum], or, when choices are
// given, the index of the chosen one.
struct EffectSetting {
    EffectSetting(QString name, int lowest, int highest, int start, QStringList names = {})
        : label(std::move(name)), minimum(lowest), maximum(highest), initial(start), choices(std::move(names))
    {}
    QString label;
    int minimum;
    int maximum;
    int initial;
    QStringList choices;
};

struct EffectInput {
    const QImage& picture;          // RGB32 or ARGB32
    const std::vector<int>& values; // one per setting, in range
    const QImage& pasted;           // what Paste Image puts on the picture (the clipboard's)
    const TaskControl& control;
};

struct Effect {
    QString name;
    std::vector<EffectSetting> settings;
    std::function<QImage(const EffectInput&)> apply;

    std::vector<int> initialValues() const;
};

struct EffectMenu {
    QString title;
    std::vector<Effect> effects;
};

// "&Image", "&Deformation" and "&Correction" with their effects, in menu order.
const std::vector<EffectMenu>& effectMenus();
// The effect of that name; throws std::out_of_range when there is none.
const Effect& effectNamed(const QString& name);

// Applies `effect` to `picture`, or only to `area` of it when that is not empty (what the
// effect makes of the area is fitted back into it); the rest stays as it was. Values out of
// a setting's range are brought into it. Throws Error(Cancelled) once a cancel request came.
QImage applyEffect(const Effect& effect, const QImage& picture, const QRect& area, std::vector<int> values,
                   const QImage& pasted, const TaskControl& control);

} // namespace imaging
