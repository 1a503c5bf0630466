// A drop-down list of the mounted volumes, each shown by its root path and label. Choosing one
// reports its root; a linked folder list then shows that volume.
#pragma once

#include <QComboBox>

class DriveComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit DriveComboBox(QWidget* parent = nullptr);

    // The root path of the selected volume.
    QString drive() const;
    // Selects the volume holding `path` (the listed volume with the longest matching root),
    // without emitting driveChanged: the caller already knows where it is.
    void setDrive(const QString& path);
    // Reads the mounted volumes again, keeping the selected one when it is still mounted.
    void refresh();

    // Volumes come and go (a memory card is plugged in), so the list is read again on opening.
    void showPopup() override;

signals:
    // The user chose a volume.
    void driveChanged(const QString& rootPath);
};
