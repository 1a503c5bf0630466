// A strict check of a text DXF's grammar before libdime sees it: libdime trusts its input and
// crashes on some malformed files (found by fuzzing), so only files made of well-formed group
// code / value pairs are handed to it.
#pragma once

#include <QByteArrayView>

namespace imaging::codecs {

// Throws Error(DamagedPicture) naming the first offending line.
void checkDxfSyntax(QByteArrayView bytes);

} // namespace imaging::codecs
