#include "render/picture_data.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <algorithm>
#include <cstdint>
#include <optional>

#include "util/byte_order.h"

namespace zanfor::render {

namespace {

constexpr std::size_t kFileHeaderSize = 14;

// DIB header sizes: Windows 2 (core), Windows 3, the Adobe variants with masks in the header,
// OS/2 2, Windows 4 and 5.
constexpr std::uint32_t kCoreHeader = 12;
constexpr std::uint32_t kInfoHeader = 40;
constexpr std::uint32_t kV2Header = 52;
constexpr std::uint32_t kV3Header = 56;
constexpr std::uint32_t kOs2Header = 64;
constexpr std::uint32_t kV4Header = 108;
constexpr std::uint32_t kV5Header = 124;

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiRle8 = 1;
constexpr std::uint32_t kBiRle4 = 2;
constexpr std::uint32_t kBiBitfields = 3;

constexpr std::size_t kMaskBytes = 12;  // red, green and blue masks
// A colour table of a picture beyond 8 bits a pixel only suggests a palette.
constexpr std::uint64_t kMaxColors = 256;

void appendU32(QByteArray& out, std::uint64_t v) {
    for (int i = 0; i < 4; ++i)
        out.append(static_cast<char>((v >> (8 * i)) & 0xFF));
}

bool fits(QSize size) {
    return size.isValid() && !size.isEmpty() && size.width() <= kMaxPictureSide &&
           size.height() <= kMaxPictureSide;
}

// Qt's readers allow far larger pictures: the size is read from the header first, so that a
// damaged one costs no allocation (a bitmap's header has been checked before). A GIF's first
// header may not tell the size its frame is drawn at, hence the check of the picture itself.
QImage readImage(const QByteArray& data, const char* format, bool sizeChecked = false) {
    QBuffer buffer;
    buffer.setData(data);
    if (!buffer.open(QIODevice::ReadOnly))
        return {};
    QImageReader reader(&buffer, format);
    if (!sizeChecked && !fits(reader.size()))
        return {};
    QImage image = reader.read();
    return fits(image.size()) ? image : QImage();
}

struct DibLayout {
    std::uint32_t headerSize = 0;
    std::uint64_t bitsAt = 0;  // from the start of the DIB
};

// Where the bits of a DIB start, once its header says a picture Qt's BMP reader can draw and
// its colour table and bits fit the bytes. `fileBitsAt` is a file header's offset of the bits
// (relative to the DIB), 0 for a packed DIB, whose bits follow the colour table.
std::optional<DibLayout> dibLayout(std::string_view dib, std::uint64_t fileBitsAt) {
    if (dib.size() < 4)
        return std::nullopt;
    DibLayout layout;
    layout.headerSize = util::ReadLe32(dib, 0);
    if (dib.size() < layout.headerSize)
        return std::nullopt;
    std::int64_t width = 0;
    std::int64_t height = 0;
    unsigned planes = 0;
    unsigned bpp = 0;
    std::uint32_t compression = kBiRgb;
    std::uint64_t colors = 0;
    std::uint64_t entrySize = 4;
    switch (layout.headerSize) {
        case kCoreHeader:
            width = util::ReadLe16(dib, 4);
            height = util::ReadLe16(dib, 6);
            planes = util::ReadLe16(dib, 8);
            bpp = util::ReadLe16(dib, 10);
            entrySize = 3;
            colors = bpp <= 8 ? std::uint64_t{1} << bpp : 0;
            break;
        case kInfoHeader:
        case kV2Header:
        case kV3Header:
        case kOs2Header:
        case kV4Header:
        case kV5Header:
            width = static_cast<std::int32_t>(util::ReadLe32(dib, 4));
            height = static_cast<std::int32_t>(util::ReadLe32(dib, 8));
            planes = util::ReadLe16(dib, 12);
            bpp = util::ReadLe16(dib, 14);
            compression = util::ReadLe32(dib, 16);
            colors = util::ReadLe32(dib, 32);
            if (colors == 0 && bpp <= 8)
                colors = std::uint64_t{1} << bpp;
            break;
        default:
            return std::nullopt;
    }
    const bool topDown = height < 0;
    if (topDown)
        height = -height;
    if (planes != 1 || width <= 0 || height == 0 || width > kMaxPictureSide ||
        height > kMaxPictureSide || colors > kMaxColors ||
        (bpp <= 8 && colors > (std::uint64_t{1} << bpp)))
        return std::nullopt;
    const bool rle = (compression == kBiRle8 && bpp == 8) || (compression == kBiRle4 && bpp == 4);
    const bool bitfields = compression == kBiBitfields && (bpp == 16 || bpp == 32);
    const bool rgb = compression == kBiRgb &&
                     (bpp == 1 || bpp == 4 || bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32);
    // A run-length encoded picture is always stored bottom up.
    if (!(rgb || bitfields || (rle && !topDown)))
        return std::nullopt;

    // The masks of a Windows 3 header follow it; the later headers hold them.
    const bool masksFollow =
        bitfields && (layout.headerSize == kInfoHeader || layout.headerSize == kOs2Header);
    const std::uint64_t tableAt = layout.headerSize + (masksFollow ? kMaskBytes : 0);
    layout.bitsAt = std::max(tableAt + colors * entrySize, fileBitsAt);
    if (layout.bitsAt > dib.size())
        return std::nullopt;
    const std::uint64_t available = dib.size() - layout.bitsAt;
    if (rle)
        return available > 0 ? std::optional(layout) : std::nullopt;
    const std::uint64_t stride = (static_cast<std::uint64_t>(width) * bpp + 31) / 32 * 4;
    if (stride * static_cast<std::uint64_t>(height) > available)
        return std::nullopt;
    return layout;
}

// The DIB as a .bmp file for Qt's reader. Qt knows only the Windows 2, 3, 4 and 5 and OS/2
// headers: the two Adobe variants become a Windows 3 header followed by the masks they hold.
QImage decodeDib(std::string_view dib, std::uint64_t fileBitsAt) {
    const std::optional<DibLayout> layout = dibLayout(dib, fileBitsAt);
    if (!layout)
        return {};
    std::string_view head = dib.substr(0, layout->headerSize);
    std::string_view rest = dib.substr(layout->headerSize);
    QByteArray header(head.data(), static_cast<qsizetype>(head.size()));
    if (layout->headerSize == kV2Header || layout->headerSize == kV3Header) {
        const bool bitfields = util::ReadLe32(dib, 16) == kBiBitfields;
        header.truncate(static_cast<qsizetype>(kInfoHeader + (bitfields ? kMaskBytes : 0)));
        header[0] = static_cast<char>(kInfoHeader);
    }
    const std::uint64_t bitsAt = layout->bitsAt - layout->headerSize + header.size();
    QByteArray file("BM");
    appendU32(file, kFileHeaderSize + header.size() + rest.size());
    appendU32(file, 0);
    appendU32(file, kFileHeaderSize + bitsAt);
    file.append(header);
    file.append(rest.data(), static_cast<qsizetype>(rest.size()));
    return readImage(file, "bmp", true);
}

}  // namespace

QImage DecodePictureData(std::string_view bytes) {
    const auto raw = [&] {
        return QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
    };
    if (bytes.starts_with("\x89PNG\r\n\x1a\n"))
        return readImage(raw(), "png");
    if (bytes.starts_with("\xFF\xD8\xFF"))
        return readImage(raw(), "jpeg");
    if (bytes.starts_with("GIF87a") || bytes.starts_with("GIF89a"))
        return readImage(raw(), "gif");
    if (bytes.starts_with("BM") && bytes.size() >= kFileHeaderSize) {
        const std::uint32_t offset = util::ReadLe32(bytes, 10);
        return decodeDib(bytes.substr(kFileHeaderSize),
                         offset > kFileHeaderSize ? offset - kFileHeaderSize : 0);
    }
    return decodeDib(bytes, 0);
}

}  // namespace zanfor::render
