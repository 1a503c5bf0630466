// Builds a picture from the bytes a scanner sends: one frame (grey, line-art or colour) or three
// single-colour frames; 1, 8 or 16 bits per sample; lines padded at their end; pieces of any
// size; heights announced or not.
#pragma once

#include "imaging/initialise.h"

#include <QImage>
#include <QString>
#include <sane/sane.h>
#include <vector>

namespace imaging::scanning {

class PictureAssembler {
public:
    // deviceName is for error texts only.
    explicit PictureAssembler(QString deviceName, qint64 pixelLimit = maxPicturePixels);

    // Call after each sane_start with that frame's parameters. Throws Error(ScannerFailed) for
    // data it cannot picture and Error(TooLarge) above the pixel limit, before taking memory.
    void beginFrame(const SANE_Parameters& parameters);
    void append(const SANE_Byte* data, qsizetype size);
    // No further frame is to be started.
    bool lastFrame() const;
    // 0 to 99 over all frames; reaching 100 is for the caller once the scan has ended.
    int percentDone() const;

    // Format_RGB32 or Format_Grayscale8, as tall as the lines that came whole. Throws
    // Error(ScannerFailed) when none did.
    QImage takePicture();

private:
    int expectedHeight() const;
    void storeLine();
    void makeRoomFor(int row);
    QImage allocate(int rows) const;
    [[noreturn]] void refuse(const QString& reason) const;
    [[noreturn]] void tooLarge(qint64 width, qint64 rows) const;

    QString deviceName_;
    qint64 pixelLimit_;
    SANE_Parameters frame_{};
    int frameIndex_ = -1;
    int frameCount_ = 1;
    std::vector<SANE_Byte> line_;
    qsizetype lineFill_ = 0;
    std::vector<uchar> samples_; // one line of a colour frame, eight bits per sample
    QImage image_;               // may have rows to spare; height_ of them hold the picture
    int row_ = 0;                // in the current frame
    int height_ = 0;
};

} // namespace imaging::scanning
