// Albums made for the browsing and import benchmarks.
#pragma once

#include <QFile>
#include <QString>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "benchsupport.h"

#include "data/albumcreation.h"
#include "data/schema.h"
#include "data/ttable.h"
#include "imaging/encoder.h"

// Creates the album `base` in `folder` with its settings record; `fill` appends its pictures.
inline void createAlbum(const QString& folder, const std::string& base, const std::function<void(TTable&)>& fill)
{
    const std::string directory = folder.toStdString();
    createAlbumTables(directory, base);
    auto open = [&](TTable& table, const std::string& name) {
        table.setDatabaseName(directory);
        table.setTableName(name);
        table.setExclusive(true);
        table.open();
    };
    TTable settings;
    open(settings, schema::settingsTableName(base));
    writeSettingsAtCreation(settings);
    TTable pictures;
    open(pictures, schema::pictureTableName(base));
    fill(pictures);
    pictures.refresh();
}

// An album of `count` different photo-like JPEGs of 6000x4000 (quality 90), also written as
// files for the outside tools; returns the files.
inline std::vector<QString> createPhotoAlbum(const QString& folder, const std::string& base, int count)
{
    const QImage original = photoLikePicture(QSize(6000, 4000));
    imaging::SaveSettings quality90;
    quality90.setJpegQuality(90);
    std::vector<QString> files;
    createAlbum(folder, base, [&](TTable& pictures) {
        for (int i = 0; i < count; ++i) {
            QImage photo = original.copy();
            // A different band of each photo makes every file different.
            for (int y = i * 60; y < i * 60 + 60; ++y)
                std::fill_n(reinterpret_cast<QRgb*>(photo.scanLine(y)), photo.width(), qRgb(i * 5, 80, 200 - i * 3));
            const QByteArray jpeg = imaging::encode(photo, imaging::SaveFormat::Jpg, quality90);
            files.push_back(QStringLiteral("%1/%2%3.jpg").arg(folder, QString::fromStdString(base)).arg(i));
            QFile file(files.back());
            file.open(QIODevice::WriteOnly);
            file.write(jpeg);
            pictures.append();
            pictures.fieldByName("FOTO").setAsBytes(paradox::Bytes(jpeg.begin(), jpeg.end()));
        }
    });
    return files;
}
