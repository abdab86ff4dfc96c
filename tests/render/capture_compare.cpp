// Puts each form of Strings.mdb as the renderer draws it (form view) beside the screenshot
// Access made of it, for a look by eye: one PNG per screenshot, the picture on the left and the
// front window's client area cut from the screenshot on the right. The controls measured in
// strings_screens.tsv are outlined on both halves: red where the screenshot shows them, blue
// where the renderer placed them.
//
//   capture_compare OUTDIR STRINGS_DIR [MEASUREMENTS.tsv]
//
// STRINGS_DIR holds Strings.mdb and Screens/StringsNN.jpg.

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <filesystem>
#include <iostream>
#include <map>

#include "host/access/file_application.h"
#include "host/error.h"
#include "render/form_renderer.h"
#include "render/screen_measurements.h"

namespace {

// Where the front window's client area lies in each screenshot: inside the window's 4-px frame
// and below the accent line under its caption bar. 08 and 09 cut the window off at the bottom.
struct Shot {
    const char* file;
    const char* form;
    QRect client;
};
constexpr Shot kShots[] = {
    {"Strings00", "~RunMe", {15, 40, 529, 392}},
    {"Strings01", "HyphenateWords", {53, 146, 463, 321}},
    {"Strings02", "HyphenateWords2", {51, 175, 463, 290}},
    {"Strings03", "DeclineWords", {53, 211, 454, 333}},
    {"Strings04", "DeclineNumbers", {49, 69, 676, 370}},
    {"Strings05", "CompareWords", {56, 69, 460, 359}},
    {"Strings06", "AlphaText", {55, 64, 514, 332}},
    {"Strings07", "DelimitedText", {47, 69, 469, 339}},
    {"Strings08", "PlaceHolders", {44, 65, 467, 361}},
    {"Strings09", "Brackets", {52, 65, 465, 386}},
};

// screenshot -> (control, measured rectangle in the client area)
using Measurements = std::multimap<std::string, std::pair<std::string, QRect>>;

Measurements ReadMeasurements(const char* path) {
    Measurements rows;
    for (auto& m : zanfor::test::ReadScreenMeasurements(path))
        rows.emplace(m.screenshot, std::make_pair(m.control, m.rect));
    return rows;
}

void Outline(QPainter& p, const QRect& r, const QColor& color) {
    p.setPen(color);
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(0, 0, -1, -1));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: capture_compare OUTDIR STRINGS_DIR [MEASUREMENTS.tsv]\n";
        return 2;
    }
    QGuiApplication qt(argc, argv);
    const std::filesystem::path out = argv[1];
    const std::filesystem::path dir = argv[2];
    if (!std::filesystem::exists(dir / "Strings.mdb")) {
        std::cerr << (dir / "Strings.mdb").string() << " is absent; nothing to compare\n";
        return 0;
    }
    const Measurements measured = argc > 3 ? ReadMeasurements(argv[3]) : Measurements();
    std::filesystem::create_directories(out);
    zanfor::host::access::FileApplication app;
    app.openCurrentDatabase((dir / "Strings.mdb").string());
    int failures = 0;
    for (const Shot& shot : kShots) {
        const QImage screen(
            QString::fromStdString((dir / "Screens" / shot.file).string() + ".jpg"));
        if (screen.isNull()) {
            std::cerr << shot.file << ".jpg does not read\n";
            ++failures;
            continue;
        }
        const QImage client = screen.copy(shot.client.intersected(screen.rect()));
        zanfor::render::FormPicture picture;
        try {
            picture = zanfor::render::RenderForm(
                app.openForm(shot.form, zanfor::host::access::View::Design), {},
                {&app, &app.currentDb()});
            app.close(zanfor::host::access::ObjectType::Form, shot.form);
        } catch (const zanfor::host::Error& e) {
            std::cerr << shot.form << ": " << e.number() << " " << e.description() << "\n";
            ++failures;
            continue;
        }
        constexpr int kGap = 12;
        constexpr int kTitle = 22;
        const int left = picture.image.width();
        QImage sheet(left + kGap + client.width(),
                     kTitle + std::max(picture.image.height(), client.height()),
                     QImage::Format_RGB32);
        sheet.fill(Qt::white);
        QPainter p(&sheet);
        p.setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
        p.setPen(Qt::black);
        p.drawText(QRect(4, 0, sheet.width() - 8, kTitle), Qt::AlignVCenter,
                   QStringLiteral("%1 — %2: rendered (left), screenshot client area (right)")
                       .arg(QString::fromUtf8(shot.file), QString::fromUtf8(shot.form)));
        p.drawImage(0, kTitle, picture.image);
        p.drawImage(left + kGap, kTitle, client);
        const auto [from, to] = measured.equal_range(shot.file);
        for (auto it = from; it != to; ++it) {
            const auto& [name, rect] = it->second;
            Outline(p, rect.translated(left + kGap, kTitle), Qt::red);
            for (const auto& placed : picture.controls)
                if (placed.name == name)
                    Outline(p, placed.rect.translated(0, kTitle), Qt::blue);
        }
        p.end();
        const std::filesystem::path file = out / (std::string(shot.file) + ".png");
        if (!sheet.save(QString::fromStdString(file.string()))) {
            std::cerr << "cannot write " << file.string() << "\n";
            ++failures;
            continue;
        }
        std::cout << file.string() << "\n";
    }
    return failures == 0 ? 0 : 1;
}
