#pragma once

// Laid-out pages written straight to a PDF file: each text as one run of the glyphs the layout
// placed, faces embedded cut down to the glyphs used, streams compressed for speed. Qt's
// writer takes several times as long for the same pages (it states every glyph on its own and
// compresses hard), which for listings of thousands of pages is most of a run. Texts that need
// shaping are shaped by Qt and written the same way; only a face without TrueType outlines is
// left to Qt's writer.

#include <QSizeF>
#include <QString>
#include <memory>
#include <string>
#include <vector>

#include "report/page_layout.h"

class QIODevice;
class QRawFont;

namespace zanfor::report {

class PdfWriter {
public:
    // Thrown by page() for a text in a face without TrueType outlines; nothing usable has
    // been written then, and the caller writes the document with Qt.
    struct Unsupported {};

    PdfWriter(QIODevice& out, FontBook& fonts, QSizeF pageTwips, const QString& title,
              const QString& creator);
    ~PdfWriter();
    PdfWriter(const PdfWriter&) = delete;
    PdfWriter& operator=(const PdfWriter&) = delete;

    void page(const PageItems& page);
    // Writes the faces, the page tree and the cross-reference table.
    void finish();

private:
    struct Face;
    Face& face(const QRawFont& raw);
    Face& faceOf(int font);  // a face of the font book, looked up once
    void text(const TextItem& item);
    void glyphRun(Face& face, double size, bool bold, const TextItem& item,
                  const QList<quint32>& glyphs, const QList<QPointF>& positions,
                  const char16_t* chars);
    int reserve();
    void beginObject(int number);
    void writeStream(int number, std::string_view data, std::string_view extra = {});
    void writeFace(Face& face);
    void flush();

    QIODevice& out_;
    FontBook& fonts_;
    QSizeF pageSize_;
    std::string buffer_;
    qint64 written_ = 0;
    std::vector<qint64> offsets_;  // by object number
    std::vector<int> pages_;
    std::vector<std::unique_ptr<Face>> faces_;
    std::vector<Face*> faceOf_;  // by the font book's index
    std::string content_;
    std::string compressed_;
    QList<quint32> glyphs_;
    QList<QPointF> positions_;
    // The text state of the page being written.
    int currentFace_ = -1;
    double currentSize_ = 0;
    QRgb fill_ = 0;
    bool stroking_ = false;
    double strokeWidth_ = -1;
    QString title_;
    QString creator_;
};

}  // namespace zanfor::report
