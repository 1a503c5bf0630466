// The picture view bound to the picture field of the current record.
//
// It shows the record's stored picture: decoded on a worker thread at the size it is shown
// (full size only where full size is needed), centred, fitted keeping its
// proportions, zoomed, with an optional caption drawn over it. A picture changed here (paste,
// scan, effects) marks the view modified; when the record is stored from editing or
// inserting, a modified picture is encoded as JPEG into the field (an empty one clears it).
// A record change, or the record entering editing, shows the stored picture again and
// clears the mark.
//
// Codec failures never throw out of the view: they raise ilibError(code, text). Long
// decodes and encodes report progress(percent, status, abort).
#pragma once

#include <QAbstractScrollArea>
#include <QImage>

#include <atomic>
#include <memory>
#include <string>

#include "imaging/encoder.h"
#include "imaging/picturecache.h"
#include "imaging/savesettings.h"
#include "imaging/taskcontrol.h"
#include "imaging/transition.h"

class QPainter;
class TDataSource;
class TField;

namespace imaging {
class DisplayDecoder;
class Prefetcher;
struct DecodedPicture;
} // namespace imaging

namespace imaging {
// The texts of the errors of saving the shown picture.
inline constexpr const char* nothingStoredError = "Can't save, blobfield is empty";
inline constexpr const char* notDisplayedError =
    "Can't save, image is not displayed, Set Autodisplay or double click display to view image first.";
} // namespace imaging

class TPDBMultiImage : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit TPDBMultiImage(QWidget* parent = nullptr);
    ~TPDBMultiImage() override;

    // Binding.
    void setDataSource(TDataSource* source);
    void setDataField(const std::string& name);

    // Display.
    void setCenter(bool center);
    bool Center() const { return center_; }
    // Fits the picture (keeping its proportions) when it is larger than the display either
    // way, else shows it at its own size; a picture whose size is known only once decoded is
    // fitted when its decode ends.
    void fitWhenLarger();
    // Scale to fit the display keeping the proportions.
    void setStretchRatio(bool stretch);
    bool StretchRatio() const { return stretchRatio_; }
    void setTextOverlay(const QString& text);
    QString textOverlay() const { return overlay_; }
    void setOverlayFont(const QFont& font);
    void setOverlayColour(const QColor& colour);

    // Save settings.
    imaging::SaveSettings& settings() { return settings_; }
    const imaging::SaveSettings& settings() const { return settings_; }
    void setJPegSaveQuality(int quality) { settings_.setJpegQuality(quality); }
    void setJPegSaveSmooth(int smoothing) { settings_.setJpegSmoothing(smoothing); }
    void setPNGInterLaced(bool interlaced) { settings_.setPngInterlaced(interlaced); }
    void setTifSaveCompress(imaging::TiffCompression compression) { settings_.setTiffCompression(compression); }
    void setPCDMode(imaging::PcdMode mode);

    // What is shown.
    bool hasImage() const; // a picture is shown (or being shown)
    bool modified() const { return modified_; }
    // The picture's own size in pixels (empty when none): from the picture's header where
    // that tells it, else once the picture is decoded.
    QSize pictureSize();
    QSize displaySize() const; // the display area
    double zoomScale() const;  // shown size / own size

    // Operations.
    // Copies the file's bytes unchanged into the field (putting the record into editing) and
    // shows them. Errors: "Input filename isn't valid", "This format is not supported by this
    // application"; a file that cannot be read whole names itself.
    void LoadFromFile(const QString& path);
    // Writes the shown picture, re-encoded at full size; a stored picture with a colour profile
    // of its own is written in its own colours where the format holds a profile. Errors: "Can't save, blobfield is
    // empty", "Can't save, image is not displayed, ...".
    void SaveAs(const QString& path, imaging::SaveFormat format);
    void CopyToClipboard();
    // Replaces the picture by the clipboard's bitmap (puts the record into editing first);
    // returns whether there was one.
    bool PasteFromClipboard();
    // Replaces the picture (paste, scan, effects) and marks the view modified.
    void setPicture(const QImage& picture);
    // Raises the error event for a failure of an engine operation run outside the view
    // (a scan).
    void reportError(int code, const QString& text) { emit ilibError(code, text); }
    // The shown picture at full size; decodes it if only a reduced copy is held.
    QImage picture();
    void Zoom(double factor);
    // How the view passes from one record's picture to the next; kept until the program ends.
    void setTransition(const imaging::DisplayTransition& transition) { transitions_->setTransition(transition); }
    const imaging::DisplayTransition& transition() const { return transitions_->transition(); }

    // A full-size decode of `bytes` made elsewhere (a batch run decoding ahead), kept (at the
    // size the display needs, in sRGB) so that showing those bytes needs no decode of its own.
    void offerDecoded(const QByteArray& bytes, const imaging::DecodedPicture& picture);

    // Waits until the picture of the current record is decoded and shown (or failed).
    void waitForDisplay();
    // The picture of the current record is still being decoded for display.
    bool displayPending() const { return ticket_ != 0; }

    // Decodes the pictures next to the current record ahead of time (two in the direction of
    // travel, one behind), so that stepping shows them at once. Off unless switched on;
    // switching it off also forgets the decoded pictures kept for display.
    void setPrefetching(bool on);
    bool prefetching() const { return prefetching_; }
    void setTravelDirection(bool forward) { travelForward_ = forward; }
    // Waits until the pictures next to the current one are decoded too.
    void waitForPrefetch();

signals:
    void progress(int percent, const QString& status, bool* abort);
    void ilibError(int code, const QString& text);
    // The display decode of the current record's picture has ended, shown or failed.
    void displayEnded();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    class Link;
    friend class Link;

    void reload();
    void storeIfModified();
    void showStoredBytes(const QByteArray& bytes);
    void requestDecode(QSize box);
    void decoded(quint64 ticket, imaging::DecodedPicture picture);
    void decodeFailed(quint64 ticket, int code, const QString& text);
    void decodeProgress(quint64 ticket, int percent, const QString& status);
    bool reportProgress(int percent, const QString& status); // false when the user aborts
    imaging::TaskControl foregroundControl(std::atomic_bool& abort);
    TField* field() const;
    QSize displayBox() const;    // where a fitted picture must fit, in device pixels
    QSize boxForDisplay() const; // what the display decode should fit into (empty: full size)
    QSizeF targetSize() const;   // the picture's size on screen, in device-independent pixels
    QRectF targetRect() const;
    void pictureChanged();
    void paintScene(QPainter& painter);
    QImage renderScene(); // what the view shows now, as a picture of the viewport's size
    void updateScrollBars();
    void needSharperPicture();
    void showDecoded(const imaging::DecodedPicture& picture);
    void schedulePrefetch();
    // The stored picture decoded at full size; a null image when that failed (the error event
    // raised).
    QImage decodeFullSize(bool keepOwnColours);

    std::unique_ptr<Link> link_;
    std::unique_ptr<imaging::DisplayDecoder> decoder_;
    imaging::PictureCache cache_;
    std::unique_ptr<imaging::Prefetcher> prefetcher_; // after the cache it fills
    bool prefetching_ = false;
    bool travelForward_ = true;
    bool prefetchScheduled_ = false;
    imaging::SaveSettings settings_;

    bool center_ = true;
    bool stretchRatio_ = false;
    bool fitWhenKnown_ = false; // fitWhenLarger waits for the picture's size
    double zoom_ = 1.0;
    QString overlay_;
    QFont overlayFont_;
    QColor overlayColour_;

    QByteArray stored_;         // the record's picture bytes as last read
    QImage shown_;              // the picture held for display (possibly reduced)
    QImage fullSize_;           // the picture at its own size, once someone needed it
    QSize ownSize_;             // the picture's own size
    bool ownColours_ = false;   // the stored picture has a colour profile other than sRGB's
    bool failed_ = false;       // the stored bytes could not be decoded
    quint64 ticket_ = 0;        // the display decode whose result is awaited; 0 when none
    QSize ticketBox_;           // what that decode fits into
    bool shownIsStored_ = true; // shown_ is the picture of stored_ (not a changed one)
    bool modified_ = false;
    QImage scaledCache_; // shown_ scaled to the current target size
    imaging::TransitionPlayer* transitions_;
};
