#include "imaging/scanning/scanoptions.h"

#include "imaging/error.h"

#include <cmath>
#include <QByteArray>
#include <sane/saneopts.h>

namespace imaging::scanning {

namespace {

SANE_Word switchValue(const SaneDevice& device, const QString& name, const QString& text)
{
    static const QStringList on{"yes", "true", "on", "1"};
    static const QStringList off{"no", "false", "off", "0"};
    if (on.contains(text, Qt::CaseInsensitive))
        return SANE_TRUE;
    if (off.contains(text, Qt::CaseInsensitive))
        return SANE_FALSE;
    device.refuse(name, text, QStringLiteral("not yes or no"));
}

SANE_Word numberValue(const SaneDevice& device, const QString& name, const QString& text, SANE_Value_Type type)
{
    bool ok = false;
    if (type == SANE_TYPE_INT) {
        const int value = text.toInt(&ok);
        if (!ok)
            device.refuse(name, text, QStringLiteral("not a whole number"));
        return value;
    }
    const double value = text.toDouble(&ok);
    // Fixed-point words hold 16 integer bits; anything beyond would overflow the conversion.
    if (!ok || !(std::abs(value) < 32768.0))
        device.refuse(name, text, QStringLiteral("not a number the scanner can take"));
    return static_cast<SANE_Word>(std::lround(value * (1 << SANE_FIXED_SCALE_SHIFT)));
}

// Sets an option from text, converted to the option's own type: the same setting is an
// integer on one device and a fixed-point number on another (resolution is one of them).
void setOptionText(SaneDevice& device, const QString& name, const QString& text)
{
    const std::optional<SaneOption> option = device.option(name);
    if (!option)
        throw Error(ErrorCode::ScannerFailed,
                    QStringLiteral("The scanner %1 has no setting %2").arg(device.name(), name));
    const SANE_Option_Descriptor& descriptor = option->descriptor;
    const bool oneWord = descriptor.size == static_cast<SANE_Int>(sizeof(SANE_Word));
    switch (descriptor.type) {
    case SANE_TYPE_BOOL:
    case SANE_TYPE_INT:
    case SANE_TYPE_FIXED: {
        if (!oneWord)
            device.refuse(name, text, QStringLiteral("the setting takes a list of values"));
        SANE_Word value = descriptor.type == SANE_TYPE_BOOL ? switchValue(device, name, text)
                                                            : numberValue(device, name, text, descriptor.type);
        device.setOption(*option, &value, text);
        return;
    }
    case SANE_TYPE_STRING: {
        QByteArray value = text.toUtf8();
        if (value.size() >= descriptor.size)
            device.refuse(name, text, QStringLiteral("too long"));
        value.resize(descriptor.size, '\0');
        device.setOption(*option, value.data(), text);
        return;
    }
    default:
        device.refuse(name, text, QStringLiteral("the setting takes no value"));
    }
}

void applyMode(SaneDevice& device, const QString& mode)
{
    const QStringList modes = device.choices(QStringLiteral(SANE_NAME_SCAN_MODE));
    for (const QString& offered : modes) {
        if (offered.compare(mode, Qt::CaseInsensitive) == 0) {
            setOptionText(device, QStringLiteral(SANE_NAME_SCAN_MODE), offered);
            return;
        }
    }
    const bool greyLineart = mode.compare(QStringLiteral(SANE_VALUE_SCAN_MODE_LINEART), Qt::CaseInsensitive) == 0 &&
                             modes.contains(QStringLiteral(SANE_VALUE_SCAN_MODE_GRAY));
    if (!greyLineart) {
        // The device's own answer says best why it does not take the mode.
        setOptionText(device, QStringLiteral(SANE_NAME_SCAN_MODE), mode);
        return;
    }
    setOptionText(device, QStringLiteral(SANE_NAME_SCAN_MODE), QStringLiteral(SANE_VALUE_SCAN_MODE_GRAY));
    setOptionText(device, QStringLiteral(SANE_NAME_BIT_DEPTH), QStringLiteral("1"));
}

} // namespace

void applySettings(SaneDevice& device, const ScanSettings& settings)
{
    if (!settings.mode.isEmpty())
        applyMode(device, settings.mode);
    if (settings.resolution > 0)
        setOptionText(device, QStringLiteral(SANE_NAME_SCAN_RESOLUTION), QString::number(settings.resolution));
    for (const auto& [name, value] : settings.options)
        setOptionText(device, name, value);
}

} // namespace imaging::scanning
