#include "report/pdf_writer.h"

#include <zlib.h>

#include <QDateTime>
#include <QGlyphRun>
#include <QIODevice>
#include <QRawFont>
#include <QTextLayout>
#include <array>
#include <cmath>
#include <map>
#include <mutex>
#include <optional>

#include "host/error.h"
#include "report/report_catalog.h"
#include "util/truetype_subset.h"

namespace zanfor::report {

namespace {

constexpr int kCatalog = 1;
constexpr int kPageTree = 2;
constexpr int kInfo = 3;
constexpr int kResources = 4;
constexpr int kFirstFree = 5;

// Fast rather than small: level 1 takes a fraction of the default's time for files a few
// tenths larger.
constexpr int kCompression = 1;

// Where the buffered output goes to the file.
constexpr std::size_t kFlushAt = 1 << 18;

// Twips are placed to 1/64 by the layout; three decimals keep that to a thousandth of a point.
void Number(std::string& out, double v) {
    const long long thousandths = std::llround(v * 1000);
    if (std::abs(v) >= 1e12 || thousandths == 0) {
        out += '0';
        return;
    }
    if (thousandths < 0)
        out += '-';
    const unsigned long long n = static_cast<unsigned long long>(std::llabs(thousandths));
    out += std::to_string(n / 1000);
    unsigned long long fraction = n % 1000;
    if (fraction != 0) {
        out += '.';
        for (unsigned long long digit = 100; fraction != 0; digit /= 10) {
            out += static_cast<char>('0' + fraction / digit);
            fraction %= digit;
        }
    }
}

void Numbers(std::string& out, std::initializer_list<double> values) {
    for (const double v : values) {
        Number(out, v);
        out += ' ';
    }
}

void Color(std::string& out, QRgb c, const char* op) {
    Numbers(out, {qRed(c) / 255.0, qGreen(c) / 255.0, qBlue(c) / 255.0});
    out += op;
    out += '\n';
}

void Hex4(std::string& out, unsigned v) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    out += kDigits[(v >> 12) & 15];
    out += kDigits[(v >> 8) & 15];
    out += kDigits[(v >> 4) & 15];
    out += kDigits[v & 15];
}

// A PDF text string: UTF-16 with its byte-order mark, in hex.
std::string TextString(const QString& text) {
    std::string out = "<FEFF";
    for (const QChar c : text)
        Hex4(out, c.unicode());
    return out + ">";
}

// PDF names allow no blanks or delimiters; a face's name keeps its letters and digits.
std::string FontName(const QString& family, int index) {
    std::string name;
    for (int i = 0, n = index; i < 6; ++i, n /= 26)
        name += static_cast<char>('A' + n % 26);
    name += '+';
    for (const QChar c : family) {
        if ((c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9'))
            name += static_cast<char>(c.unicode());
    }
    return name == name.substr(0, 7) ? name + "Font" : name;
}

}  // namespace

struct PdfWriter::Face {
    QString key;
    util::TrueTypeSubset subset;
    std::string name;
    int object = 0;
    std::vector<char16_t> unicode;  // by subset glyph; 0 where no character was drawn with it
};

PdfWriter::PdfWriter(QIODevice& out, FontBook& fonts, QSizeF pageTwips, const QString& title,
                     const QString& creator)
    : out_(out), fonts_(fonts), pageSize_(pageTwips), title_(title), creator_(creator) {
    offsets_.assign(kFirstFree, 0);
    buffer_ = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
}

PdfWriter::~PdfWriter() = default;

int PdfWriter::reserve() {
    offsets_.push_back(0);
    return static_cast<int>(offsets_.size()) - 1;
}

void PdfWriter::beginObject(int number) {
    offsets_[static_cast<std::size_t>(number)] = written_ + static_cast<qint64>(buffer_.size());
    buffer_ += std::to_string(number);
    buffer_ += " 0 obj\n";
}

void PdfWriter::flush() {
    if (buffer_.empty())
        return;
    if (out_.write(buffer_.data(), static_cast<qint64>(buffer_.size())) !=
        static_cast<qint64>(buffer_.size())) {
        throw host::Error(err::kCannotWriteFile,
                          "PDF を書き込めません。" + out_.errorString().toStdString());
    }
    written_ += static_cast<qint64>(buffer_.size());
    buffer_.clear();
}

void PdfWriter::writeStream(int number, std::string_view data, std::string_view extra) {
    uLongf size = compressBound(static_cast<uLong>(data.size()));
    compressed_.resize(size);
    if (compress2(reinterpret_cast<Bytef*>(compressed_.data()), &size,
                  reinterpret_cast<const Bytef*>(data.data()), static_cast<uLong>(data.size()),
                  kCompression) != Z_OK) {
        throw host::Error(err::kCannotWriteFile, "PDF のページを圧縮できません。");
    }
    beginObject(number);
    buffer_ += "<< /Length " + std::to_string(size) + " /Filter /FlateDecode";
    buffer_ += extra;
    buffer_ += " >>\nstream\n";
    buffer_.append(compressed_.data(), size);
    buffer_ += "\nendstream\nendobj\n";
    if (buffer_.size() >= kFlushAt)
        flush();
}

// A face's tables are read from the font file once per process (a Japanese face's outlines
// run to megabytes), and each document starts its own subset of them.
std::optional<util::TrueTypeSubset> Prototype(const QRawFont& raw, const QString& key) {
    static std::mutex mutex;
    static std::map<QString, std::optional<util::TrueTypeSubset>> faces;
    std::lock_guard lock(mutex);
    auto [it, added] = faces.try_emplace(key);
    if (added) {
        it->second = util::TrueTypeSubset::FromTables([&raw](std::string_view tag) {
            const QByteArray table = raw.fontTable(std::string(tag).c_str());
            return std::string(table.constData(), static_cast<std::size_t>(table.size()));
        });
    }
    if (!it->second)
        return std::nullopt;
    return it->second->fresh();
}

PdfWriter::Face& PdfWriter::face(const QRawFont& raw) {
    if (!raw.isValid())
        throw Unsupported{};
    const QString key = raw.familyName() + u'/' + raw.styleName();
    for (const auto& f : faces_) {
        if (f->key == key)
            return *f;
    }
    auto subset = Prototype(raw, key);
    if (!subset)
        throw Unsupported{};
    const int number = static_cast<int>(faces_.size());
    faces_.push_back(std::make_unique<Face>(
        Face{key, std::move(*subset), FontName(raw.familyName(), number), reserve(), {}}));
    return *faces_.back();
}

PdfWriter::Face& PdfWriter::faceOf(int font) {
    const auto index = static_cast<std::size_t>(font);
    if (faceOf_.size() <= index)
        faceOf_.resize(index + 1, nullptr);
    if (faceOf_[index] == nullptr)
        faceOf_[index] = &face(fonts_.rawFont(font));
    return *faceOf_[index];
}

void PdfWriter::text(const TextItem& item) {
    if (item.text.isEmpty())
        return;
    if (item.font < 0 || item.font >= static_cast<int>(fonts_.size()))
        throw Unsupported{};
    const bool bold = fonts_.spec(item.font).bold;
    glyphs_.clear();
    positions_.clear();
    if (fonts_.placeGlyphs(item.font, item.text, QPointF(0, 0), glyphs_, positions_)) {
        glyphRun(faceOf(item.font), fonts_.rawFont(item.font).pixelSize(), bold, item, glyphs_,
                 positions_, reinterpret_cast<const char16_t*>(item.text.utf16()));
        return;
    }
    // Shaped as Qt draws it, the pieces possibly in other faces.
    QTextLayout layout(item.text, fonts_.qfont(item.font));
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    if (!line.isValid())
        return;
    std::vector<char16_t> chars;
    for (const QGlyphRun& run : layout.glyphRuns()) {
        const QRawFont raw = run.rawFont();
        const QList<quint32> glyphs = run.glyphIndexes();
        QList<QPointF> positions = run.positions();
        for (auto& p : positions)
            p.ry() -= line.ascent();
        // What each glyph reads back as: the character the face maps to it, where one does.
        chars.assign(static_cast<std::size_t>(glyphs.size()), 0);
        for (const QChar c : item.text) {
            quint32 glyph = 0;
            int count = 1;
            if (c.isSurrogate() || !raw.glyphIndexesForChars(&c, 1, &glyph, &count) || count != 1)
                continue;
            for (qsizetype i = 0; i < glyphs.size(); ++i) {
                if (glyphs[i] == glyph && chars[static_cast<std::size_t>(i)] == 0)
                    chars[static_cast<std::size_t>(i)] = c.unicode();
            }
        }
        glyphRun(face(raw), raw.pixelSize(), bold, item, glyphs, positions, chars.data());
    }
}

void PdfWriter::glyphRun(Face& face, double size, bool bold, const TextItem& item,
                         const QList<quint32>& glyphs, const QList<QPointF>& positions,
                         const char16_t* chars) {
    if (glyphs.isEmpty())
        return;
    std::string& out = content_;
    if (face.object != currentFace_ || size != currentSize_) {
        currentFace_ = face.object;
        currentSize_ = size;
        out += "/F" + std::to_string(face.object) + ' ';
        Number(out, size);
        out += " Tf\n";
    }
    const bool recolored = item.color != fill_;
    if (recolored) {
        fill_ = item.color;
        Color(out, fill_, "rg");
    }
    // Qt draws a bold text in a face that is not bold by thickening the glyphs.
    const bool emboldened = bold && !face.subset.bold();
    if (emboldened) {
        if (!stroking_ || recolored)
            Color(out, fill_, "RG");
        if (size / 40 != strokeWidth_) {
            strokeWidth_ = size / 40;
            Number(out, strokeWidth_);
            out += " w\n";
        }
        if (!stroking_)
            out += "2 Tr\n";
    } else if (stroking_) {
        out += "0 Tr\n";
    }
    stroking_ = emboldened;

    // Text space is turned clockwise by quarter turns and kept upright against the page's
    // downward y.
    static constexpr int kCos[] = {1, 0, -1, 0};
    static constexpr int kSin[] = {0, 1, 0, -1};
    const int turn = ((item.quarterTurns % 4) + 4) % 4;
    const double perUnit = size / 1000.0;
    double pen = 0;
    double baseline = 0;
    for (qsizetype i = 0; i < glyphs.size(); ++i) {
        const QPointF at = positions[i];
        // A glyph off the current baseline (a raised mark) starts a run of its own.
        if (i == 0 || std::abs(at.y() - baseline) > 0.01) {
            if (i > 0)
                out += ">] TJ\n";
            const QPointF origin = item.origin + QPointF(kCos[turn] * at.x() - kSin[turn] * at.y(),
                                                         kSin[turn] * at.x() + kCos[turn] * at.y());
            Numbers(out, {static_cast<double>(kCos[turn]), static_cast<double>(kSin[turn]),
                          static_cast<double>(kSin[turn]), static_cast<double>(-kCos[turn]),
                          origin.x(), origin.y()});
            out += "Tm [<";
            pen = at.x();
            baseline = at.y();
        }
        const std::uint16_t glyph = face.subset.use(glyphs[i]);
        if (face.unicode.size() <= glyph)
            face.unicode.resize(glyph + 1u, 0);
        if (face.unicode[glyph] == 0)
            face.unicode[glyph] = chars[i];
        // The layout's positions stand; a glyph drifting from where the widths put it is
        // moved back.
        const double shift = at.x() - pen;
        if (std::abs(shift) > 0.01) {
            out += '>';
            Number(out, -shift / perUnit);
            out += '<';
            pen = at.x();
        }
        Hex4(out, glyph);
        pen += face.subset.advance(glyph) * perUnit;
    }
    out += ">] TJ\n";
}

void PdfWriter::page(const PageItems& page) {
    content_.clear();
    currentFace_ = -1;
    currentSize_ = 0;
    fill_ = 0;
    stroking_ = false;
    strokeWidth_ = -1;
    content_ += "q 0.05 0 0 -0.05 0 ";
    Number(content_, pageSize_.height() / 20);
    content_ += " cm\n";
    for (const auto& f : page.fills) {
        if (f.color != fill_) {
            fill_ = f.color;
            Color(content_, fill_, "rg");
        }
        Numbers(content_, {f.rect.x(), f.rect.y(), f.rect.width(), f.rect.height()});
        content_ += "re f\n";
    }
    double width = -1;
    QRgb stroke = 0;
    int dash = -1;
    for (const auto& l : page.lines) {
        if (l.width != width) {
            width = l.width;
            Number(content_, width);
            content_ += " w\n";
        }
        if (l.color != stroke) {
            stroke = l.color;
            Color(content_, stroke, "RG");
        }
        if (dash != (l.dashed ? 1 : 0)) {
            dash = l.dashed ? 1 : 0;
            if (l.dashed) {
                // A dash pattern counts in pen widths, as Qt's does.
                const double unit = width > 0 ? width : 1;
                content_ += '[';
                Numbers(content_, {6 * unit, 4 * unit});
                content_ += "] 0 d\n";
            } else {
                content_ += "[] 0 d\n";
            }
        }
        Numbers(content_, {l.line.x1(), l.line.y1()});
        content_ += "m ";
        Numbers(content_, {l.line.x2(), l.line.y2()});
        content_ += "l S\n";
    }
    if (!page.texts.empty()) {
        content_ += "BT\n";
        for (const auto& t : page.texts)
            text(t);
        content_ += "ET\n";
    }
    content_ += "Q\n";

    const int contents = reserve();
    writeStream(contents, content_);
    const int pageObject = reserve();
    beginObject(pageObject);
    buffer_ += "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 ";
    Numbers(buffer_, {pageSize_.width() / 20, pageSize_.height() / 20});
    buffer_ += "] /Resources 4 0 R /Contents " + std::to_string(contents) + " 0 R >>\nendobj\n";
    pages_.push_back(pageObject);
}

void PdfWriter::writeFace(Face& face) {
    util::TrueTypeSubset& subset = face.subset;
    const std::string file = subset.build();
    const int descendant = reserve();
    const int descriptor = reserve();
    const int fontFile = reserve();
    const int toUnicode = reserve();

    beginObject(face.object);
    buffer_ += "<< /Type /Font /Subtype /Type0 /BaseFont /" + face.name +
               " /Encoding /Identity-H /DescendantFonts [" + std::to_string(descendant) +
               " 0 R] /ToUnicode " + std::to_string(toUnicode) + " 0 R >>\nendobj\n";

    beginObject(descendant);
    buffer_ += "<< /Type /Font /Subtype /CIDFontType2 /BaseFont /" + face.name +
               " /CIDSystemInfo << /Registry (Adobe) /Ordering (Identity) /Supplement 0 >>"
               " /FontDescriptor " +
               std::to_string(descriptor) + " 0 R /CIDToGIDMap /Identity /W [0 [";
    for (std::size_t g = 0; g < subset.size(); ++g) {
        Number(buffer_, subset.advance(static_cast<std::uint16_t>(g)));
        buffer_ += g % 16 == 15 ? '\n' : ' ';
    }
    buffer_ += "]] >>\nendobj\n";

    beginObject(descriptor);
    buffer_ += "<< /Type /FontDescriptor /FontName /" + face.name + " /Flags 4 /FontBBox [";
    for (const double v : subset.boundingBox()) {
        Number(buffer_, v);
        buffer_ += ' ';
    }
    buffer_ += "] /ItalicAngle 0 /Ascent ";
    Number(buffer_, subset.ascent());
    buffer_ += " /Descent ";
    Number(buffer_, subset.descent());
    buffer_ += " /CapHeight ";
    Number(buffer_, subset.ascent());
    buffer_ += " /StemV 80 /FontFile2 " + std::to_string(fontFile) + " 0 R >>\nendobj\n";

    writeStream(fontFile, file, " /Length1 " + std::to_string(file.size()));

    std::string cmap =
        "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
        "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
        "/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n"
        "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n";
    std::vector<std::pair<unsigned, char16_t>> pairs;
    for (std::size_t g = 0; g < face.unicode.size(); ++g) {
        if (face.unicode[g] != 0)
            pairs.emplace_back(static_cast<unsigned>(g), face.unicode[g]);
    }
    for (std::size_t at = 0; at < pairs.size(); at += 100) {
        const std::size_t end = std::min(pairs.size(), at + 100);
        cmap += std::to_string(end - at) + " beginbfchar\n";
        for (std::size_t i = at; i < end; ++i) {
            cmap += '<';
            Hex4(cmap, pairs[i].first);
            cmap += "> <";
            Hex4(cmap, pairs[i].second);
            cmap += ">\n";
        }
        cmap += "endbfchar\n";
    }
    cmap += "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n";
    writeStream(toUnicode, cmap);
}

void PdfWriter::finish() {
    for (const auto& face : faces_)
        writeFace(*face);

    beginObject(kResources);
    buffer_ += "<< /Font <<";
    for (const auto& face : faces_)
        buffer_ +=
            " /F" + std::to_string(face->object) + ' ' + std::to_string(face->object) + " 0 R";
    buffer_ += " >> >>\nendobj\n";

    beginObject(kPageTree);
    buffer_ += "<< /Type /Pages /Count " + std::to_string(pages_.size()) + " /Kids [";
    for (std::size_t i = 0; i < pages_.size(); ++i) {
        buffer_ += std::to_string(pages_[i]) + " 0 R";
        buffer_ += i % 8 == 7 ? '\n' : ' ';
    }
    buffer_ += "] >>\nendobj\n";

    beginObject(kCatalog);
    buffer_ += "<< /Type /Catalog /Pages 2 0 R >>\nendobj\n";

    beginObject(kInfo);
    const QString now = QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMddHHmmss"));
    buffer_ += "<< /Title " + TextString(title_) + " /Creator " + TextString(creator_) +
               " /Producer " + TextString(creator_) + " /CreationDate (D:" + now.toStdString() +
               "Z) >>\nendobj\n";

    const qint64 xref = written_ + static_cast<qint64>(buffer_.size());
    buffer_ += "xref\n0 " + std::to_string(offsets_.size()) + "\n0000000000 65535 f \n";
    std::array<char, 32> line{};
    for (std::size_t i = 1; i < offsets_.size(); ++i) {
        std::snprintf(line.data(), line.size(), "%010lld 00000 n \n",
                      static_cast<long long>(offsets_[i]));
        buffer_ += line.data();
    }
    buffer_ += "trailer\n<< /Size " + std::to_string(offsets_.size()) +
               " /Root 1 0 R /Info 3 0 R >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
    flush();
}

}  // namespace zanfor::report
