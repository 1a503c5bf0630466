// Picture files made by the tests themselves.
#pragma once

#include <QColor>
#include <QImage>

#include "framework/folderfixture.h"
#include "framework/userinput.h"

class PictureFolder : public FolderFixture {
protected:
    // One colour all over; the format follows the name's extension.
    void savePicture(const QString& name, QSize size, QColor colour = Qt::red) const
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(colour);
        ASSERT_TRUE(image.save(path(name)));
    }

    // A JPEG whose header promises a picture that never comes.
    void saveDamagedJpeg(const QString& name) const
    {
        makeFile(name, QByteArray("\xFF\xD8\xFF\xE0\x00\x10JFIF\x00", 11) + QByteArray(400, '\x5A'));
    }
};
