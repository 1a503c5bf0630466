// The one exception type of the picture codecs. The picture view turns it into its error event,
// so the code is a stable number and the text is meant for the user.
#pragma once

#include <QString>
#include <stdexcept>

namespace imaging {

enum class ErrorCode : int {
    UnknownFormat = 1, // the bytes are none of the picture kinds the album reads
    DamagedPicture = 2,
    TooLarge = 3, // above the pixel limit; refused before any pixel memory is taken
    Cancelled = 4,
    ToolMissing = 5, // an outside program (Ghostscript) is not installed
    ToolFailed = 6,  // it ran but failed or took too long
    WriteFailed = 7,
    NothingToSave = 8,
    ScannerFailed = 9, // no scanner, or the scanner refused a setting or stopped with an error
    NothingToPaste = 10, // an effect that pastes found no picture on the clipboard
    PrintFailed = 11,    // the printer could not be opened or the job not finished
};

class Error : public std::runtime_error {
public:
    Error(ErrorCode code, const QString& text) : std::runtime_error(text.toStdString()), code_(code) {}

    ErrorCode code() const noexcept { return code_; }
    int codeValue() const noexcept { return static_cast<int>(code_); }
    QString text() const { return QString::fromUtf8(what()); }

private:
    ErrorCode code_;
};

} // namespace imaging
