// TForm10, the thumbnail manager: the visible pictures twenty at a time, each with an "OK" box
// showing and setting its mark. It works on the picture table's current record: a page starts
// at the current picture, and after a page is loaded the current record is the picture after
// the page (or the page's last picture when the page reached the end). Marks are written back
// at every page turn, thumbnail click and close.
//
// Thumbnails are decoded at thumbnail size on worker threads and fill in as they are ready; a
// page keeps only those small copies, and reads a picture's stored bytes only when a worker is
// about to take it. Turning the page or closing the window cancels what is left.
#pragma once

#include <array>
#include <memory>
#include <optional>

#include "framework/modalform.h"

class QCheckBox;
class QImage;
class QPushButton;
class QToolButton;
class TTable;
class ThumbnailSlot;

namespace imaging {
class ThumbnailDecoder;
}

class TForm10 : public TModalForm {
    Q_OBJECT
public:
    static constexpr int pageSize = 20;

    explicit TForm10(QWidget* parent = nullptr);
    ~TForm10() override;

    // The table whose visible pictures are paged, and the main window's picture view, which
    // is disabled while the manager has pages open.
    void bind(TTable& pictures, QWidget& mainPictureView);

    void FormActivate();
    void ShowThumbs();
    void SaveMark();
    // PMultiImage1Click to PMultiImage20Click: slot 1..20.
    void PMultiImageClick(int slot);
    void SpeedButton1Click();
    void SpeedButton2Click();
    void BitBtn1Click();

    // Slot 1..20 (PMultiImage1 to PMultiImage20 with CheckBox1 to CheckBox20).
    ThumbnailSlot& thumbnail(int slot) { return *thumbnails_.at(static_cast<std::size_t>(slot - 1)); }
    QCheckBox& markBox(int slot) { return *boxes_.at(static_cast<std::size_t>(slot - 1)); }
    int filledSlots() const { return filled_; }
    // Blocks until every thumbnail of the page shown is decoded and in its slot.
    void waitForThumbnails();

    QToolButton* SpeedButton1 = nullptr; // previous page
    QToolButton* SpeedButton2 = nullptr; // next page
    QPushButton* BitBtn1 = nullptr;      // OK

public slots:
    // The title-bar close box and Escape store the marks and give the main view back, as OK does.
    void reject() override;
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildLayout();
    TTable& pictures() const;
    // Hands the next slots' pictures to the decoder while fewer than a few are being decoded.
    void decodeMore();
    void thumbnailDecoded(int slot, QImage image);

    TTable* pictures_ = nullptr;
    QWidget* mainPictureView_ = nullptr;
    std::array<ThumbnailSlot*, pageSize> thumbnails_{};
    std::array<QCheckBox*, pageSize> boxes_{};
    std::unique_ptr<imaging::ThumbnailDecoder> decoder_;
    int filled_ = 0;          // slots 1..filled_ hold the page's pictures
    std::array<std::size_t, pageSize> slotRecords_{}; // their places in the table
    std::optional<std::size_t> afterPage_;            // where the page leaves the table
    int nextToDecode_ = 1;                            // the next slot handed to the decoder
    int decoding_ = 0;                                // slots handed over, not yet back
    bool reachedEnd_ = false; // the page holds the last visible picture
};
