// A strict check of a DXF file (text or binary) before libdime sees it: well-formed groups,
// sections that open and close, and nothing that makes libdime allocate more than the file
// holds.
#pragma once

#include <QByteArrayView>

namespace imaging::codecs {

// `dxf` without a byte order mark. Throws Error(DamagedPicture) naming the first offending
// place.
void checkDxfSyntax(QByteArrayView dxf);

} // namespace imaging::codecs
