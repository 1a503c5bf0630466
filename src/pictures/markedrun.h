// The walk of the batch commands (export and printing of the marked pictures) over the visible
// pictures, from the current record to the end of the table in table order.
//
// Each picture is decoded once, at full size, on worker threads a few pictures ahead of the
// record shown. The command gets the pictures in table order, each with its record current and
// the picture view showing it from that same decode, while the window paints and the progress
// bar shows the run.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <functional>

#include "imaging/decoder.h"

class MainView;
class TPDBMultiImage;
class Tdb;

struct RunPicture {
    QByteArray bytes; // as stored
    imaging::DecodedPicture decoded; // at full size
    int errorCode = 0;
    QString errorText; // why it could not be decoded
    bool empty() const { return bytes.isEmpty(); }
    // Null when the record holds no picture or it could not be decoded.
    const QImage& image() const { return decoded.image; }
};

class MarkedRun {
public:
    // Printing takes the pictures in sRGB; export keeps pictures with a colour profile of their
    // own in their own colours (the view still shows them in sRGB).
    enum class Colours { Srgb, Own };

    MarkedRun(Tdb& db, TPDBMultiImage& view, MainView& window, Colours colours = Colours::Srgb);

    // Calls `visit` for each picture with its record current. Returning false, or throwing,
    // ends the run with that record current; otherwise the last one stays current.
    void run(const std::function<bool(const RunPicture&)>& visit);

private:
    int remainingPictures();

    Tdb& db_;
    TPDBMultiImage& view_;
    MainView& window_;
    Colours colours_;
};
