#pragma once

// The picture a form, a button or an image control keeps in its PictureData. Access stores a
// bitmap as a packed DIB (info header, colour table and bits, without the file header) and a
// metafile behind its clipboard format; pictures pasted from other programs may be whole
// files.

#include <QImage>
#include <string_view>

namespace zanfor::render {

// Neither side of a decoded picture exceeds this many pixels.
inline constexpr int kMaxPictureSide = 8192;

// The picture of a packed DIB (1, 4, 8, 16, 24 or 32 bits a pixel, uncompressed, bit fields or
// run-length encoded), a whole .bmp file, or a PNG, JPEG or GIF file. A null image for
// anything else (metafiles, OLE data) and for damaged bytes: sizes that do not fit the bytes,
// a side beyond kMaxPictureSide. The caller draws a placeholder then.
QImage DecodePictureData(std::string_view bytes);

}  // namespace zanfor::render
