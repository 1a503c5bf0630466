// The thumbnail manager's pages: loading a page from the current record, writing its marks
// back, and moving between pages.
#include <QCheckBox>
#include <QShowEvent>

#include <variant>

#include "data/ttable.h"
#include "framework/handlerguard.h"
#include "imaging/thumbnaildecoder.h"
#include "views/Thumb.h"
#include "views/thumbnailslot.h"

namespace {

// Decodes given to the workers at a time. The page reads a picture's bytes only when it hands
// them on, so a page of large photos never holds more than these few files in memory.
constexpr int decodesAhead = 4;

QByteArray pictureBytes(TTable& table, std::size_t record)
{
    const paradox::Value value = table.valueAt(record, "FOTO");
    const auto* bytes = std::get_if<paradox::Bytes>(&value);
    if (!bytes)
        return {};
    return QByteArray(reinterpret_cast<const char*>(bytes->data()), static_cast<qsizetype>(bytes->size()));
}

} // namespace

TTable& TForm10::pictures() const
{
    if (!pictures_)
        throw std::logic_error("the thumbnail manager has no picture table");
    return *pictures_;
}

void TForm10::FormActivate()
{
    mainPictureView_->setEnabled(false);
    ShowThumbs();
}

void TForm10::ShowThumbs()
{
    TTable& table = pictures();
    decoder_->newPage();
    filled_ = 0;
    decoding_ = 0;
    // The pictures are read here and decoded by the thumbnail decoder: the controls bound to
    // the table need not follow each record of the page (they refresh once at the end).
    table.disableControls();
    try {
        while (filled_ < pageSize && !table.isEmpty()) {
            const int slot = ++filled_;
            slotRecords_[static_cast<std::size_t>(slot - 1)] = table.bookmark().value();
            thumbnail(slot).clear();
            markBox(slot).setChecked(table.fieldByName("MARK").asBoolean());
            table.next();
            if (table.eof())
                break;
        }
        reachedEnd_ = filled_ < pageSize || table.eof();
        // The picture after the page, or the page's last picture when it reached the end.
        afterPage_ = filled_ > 0 ? table.bookmark() : std::nullopt;
    } catch (...) {
        table.enableControls();
        throw;
    }
    table.enableControls();
    // Slots past the end of a short page show nothing and do nothing.
    for (int slot = filled_ + 1; slot <= pageSize; ++slot) {
        thumbnail(slot).clear();
        markBox(slot).setChecked(false);
    }
    nextToDecode_ = 1;
    decodeMore();
}

void TForm10::decodeMore()
{
    for (; decoding_ < decodesAhead && nextToDecode_ <= filled_; ++decoding_, ++nextToDecode_)
        decoder_->decode(nextToDecode_,
                         pictureBytes(pictures(), slotRecords_[static_cast<std::size_t>(nextToDecode_ - 1)]));
}

void TForm10::thumbnailDecoded(int slot, QImage image)
{
    thumbnail(slot).setImage(std::move(image));
    --decoding_;
    guarded([this] { decodeMore(); })();
}

void TForm10::waitForThumbnails()
{
    while (decoding_ > 0)
        decoder_->wait();
}

void TForm10::done(int result)
{
    // A closed window needs no more thumbnails.
    decoder_->newPage();
    decoding_ = 0;
    nextToDecode_ = filled_ + 1;
    TModalForm::done(result);
}

// The page's records are found again by their places in the table rather than by counting
// visible pictures: clearing a mark while only the marked pictures are shown takes that
// picture out of the count, and counting would then write marks to the wrong pictures.
void TForm10::SaveMark()
{
    TTable& table = pictures();
    table.disableControls();
    try {
        if (filled_ > 0) {
            // Every filled slot is written, changed or not; each move stores the record.
            for (int slot = 1; slot <= filled_; ++slot) {
                table.gotoBookmark(slotRecords_[static_cast<std::size_t>(slot - 1)]);
                table.edit();
                table.fieldByName("MARK").setAsBoolean(markBox(slot).isChecked());
            }
            table.gotoBookmark(afterPage_.value());
        }
    } catch (...) {
        mainPictureView_->setEnabled(true);
        table.enableControls();
        throw;
    }
    mainPictureView_->setEnabled(true);
    table.enableControls();
}

void TForm10::PMultiImageClick(int slot)
{
    if (slot > filled_)
        return;
    SaveMark();
    pictures().gotoBookmark(slotRecords_[static_cast<std::size_t>(slot - 1)]);
    accept();
}

void TForm10::SpeedButton1Click()
{
    SaveMark();
    // Back to 20 before the page's first picture, stopping at the first visible picture.
    if (filled_ > 0) {
        pictures().gotoBookmark(slotRecords_[0]);
        pictures().moveBy(-pageSize);
    }
    ShowThumbs();
}

void TForm10::SpeedButton2Click()
{
    SaveMark();
    if (!reachedEnd_)
        ShowThumbs();
}

void TForm10::BitBtn1Click()
{
    SaveMark();
    accept();
}

void TForm10::reject()
{
    // The window closes even when storing fails; the error is shown.
    guarded([this] { SaveMark(); })();
    TModalForm::reject();
}
