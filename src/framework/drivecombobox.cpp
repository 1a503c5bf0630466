#include "framework/drivecombobox.h"

#include <QDir>
#include <QSignalBlocker>
#include <QStyle>

#include "framework/volumes.h"

DriveComboBox::DriveComboBox(QWidget* parent) : QComboBox(parent)
{
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(12);
    refresh();
    connect(this, &QComboBox::activated, this, [this](int index) { emit driveChanged(itemData(index).toString()); });
}

QString DriveComboBox::drive() const
{
    return currentData().toString();
}

void DriveComboBox::setDrive(const QString& path)
{
    const QString folder = QDir::cleanPath(QDir(path).absolutePath());
    int best = -1;
    qsizetype bestLength = -1;
    for (int index = 0; index < count(); ++index) {
        const QString root = itemData(index).toString();
        if (isWithinFolder(folder, root) && root.size() > bestLength) {
            best = index;
            bestLength = root.size();
        }
    }
    const QSignalBlocker quiet(this);
    setCurrentIndex(best);
}

void DriveComboBox::refresh()
{
    const QString selected = drive();
    const QSignalBlocker quiet(this);
    clear();
    const QIcon icon = style()->standardIcon(QStyle::SP_DriveHDIcon);
    for (const Volume& volume : browsableVolumes()) {
        const QString text =
            volume.name.isEmpty() ? volume.rootPath : QStringLiteral("%1  [%2]").arg(volume.rootPath, volume.name);
        addItem(icon, text, volume.rootPath);
    }
    setDrive(selected.isEmpty() ? QDir::currentPath() : selected);
}

void DriveComboBox::showPopup()
{
    refresh();
    QComboBox::showPopup();
}
