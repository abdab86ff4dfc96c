// The form renderer against what Access drew: control rectangles measured on screenshots of
// Strings.mdb's forms (tests/render/data/strings_screens.tsv), and, over every form of the real
// test databases, pictures whose controls stay inside their sections and whose captions have
// glyphs in an installed font.

#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QRawFont>
#include <algorithm>
#include <cstdlib>
#include <map>

#include "host/access/file_application.h"
#include "host/error.h"
#include "render/access_look.h"
#include "render/form_renderer.h"
#include "render/screen_measurements.h"
#include "test_support.h"

namespace zanfor::render {
namespace {

using host::access::DesignObject;
using host::access::FileApplication;
using host::access::View;

std::int64_t Int(const host::Properties& p, std::string_view name, std::int64_t otherwise = 0) {
    const auto* found = p.find(name);
    return found && !found->value.isNull() ? found->value.toInteger() : otherwise;
}
std::string Text(const host::Properties& p, std::string_view name) {
    const auto* found = p.find(name);
    return found && !found->value.isNull() ? found->value.toText() : std::string();
}

// form -> its measured controls.
std::map<std::string, std::vector<test::ScreenMeasurement>> ReadMeasurements() {
    std::map<std::string, std::vector<test::ScreenMeasurement>> byForm;
    for (auto& m :
         test::ReadScreenMeasurements(ZANFOR_SOURCE_DIR "/tests/render/data/strings_screens.tsv"))
        byForm[m.form].push_back(std::move(m));
    return byForm;
}

const PlacedControl* Find(const FormPicture& picture, const std::string& name) {
    for (const auto& c : picture.controls)
        if (c.name == name)
            return &c;
    return nullptr;
}

TEST(ScreenshotGeometry, MeasuredControlsArePlacedWithinFourPixels) {
    ZANFOR_REQUIRE_TESTDATA(data);
    const auto measured = ReadMeasurements();
    ASSERT_GE(measured.size(), 3U);
    FileApplication app;
    app.openCurrentDatabase((data / "pairs" / "strings" / "Strings.mdb").string());
    for (const auto& [form, controls] : measured) {
        const FormPicture picture =
            RenderForm(app.openForm(form, View::Design), {}, {&app, &app.currentDb()});
        for (const auto& m : controls) {
            SCOPED_TRACE(m.screenshot + " " + form + "." + m.control);
            const PlacedControl* placed = Find(picture, m.control);
            ASSERT_NE(placed, nullptr);
            const QRect& r = placed->rect;
            EXPECT_LE(std::abs(r.x() - m.rect.x()), 4) << "x " << r.x() << " vs " << m.rect.x();
            EXPECT_LE(std::abs(r.y() - m.rect.y()), 4) << "y " << r.y() << " vs " << m.rect.y();
            EXPECT_LE(std::abs(r.width() - m.rect.width()), 4)
                << "w " << r.width() << " vs " << m.rect.width();
            EXPECT_LE(std::abs(r.height() - m.rect.height()), 4)
                << "h " << r.height() << " vs " << m.rect.height();
        }
        app.close(host::access::ObjectType::Form, form);
    }
}

// Form view's layout from the design: the shown sections stacked (section number -> top,
// height) and the form's width, each grown as Access grew them to hold their controls.
struct Layout {
    std::map<int, std::pair<int, int>> bands;
    int width = 0;
};

Layout LayOut(const DesignObject& form) {
    std::int64_t width = Int(form.properties, "Width");
    std::map<int, std::int64_t> bottoms;
    for (const auto& c : form.controls) {
        if (c.controlType() == 124)  // a tab page lies inside its tab control
            continue;
        width = std::max(width, Int(c.properties, "Left") + Int(c.properties, "Width"));
        auto& bottom = bottoms[static_cast<int>(Int(c.properties, "Section"))];
        bottom = std::max(bottom, Int(c.properties, "Top") + Int(c.properties, "Height"));
    }
    Layout layout{{}, TwipsToPixels(static_cast<int>(width))};
    int top = 0;
    for (const int number : {1, 0, 2}) {
        for (std::size_t i = 0; i < form.sections.size() && i < form.sectionNumbers.size(); ++i) {
            const auto& s = form.sections[i];
            if (form.sectionNumbers[i] != number || Int(s, "Visible", 1) == 0 ||
                Int(s, "DisplayWhen") == 1)
                continue;
            const int height =
                TwipsToPixels(static_cast<int>(std::max(Int(s, "Height"), bottoms[number])));
            layout.bands[number] = {top, height};
            top += height;
        }
    }
    return layout;
}

// Whether some installed family draws `c`: the renderer's stand-in first, as Qt falls back.
bool HasGlyph(const QString& family, char32_t c) {
    static std::map<QString, QRawFont> fonts;
    auto rawFont = [&](const QString& f) -> const QRawFont& {
        auto it = fonts.find(f);
        if (it == fonts.end())
            it = fonts.emplace(f, QRawFont::fromFont(QFont(f))).first;
        return it->second;
    };
    if (rawFont(family).supportsCharacter(c))
        return true;
    static const QStringList installed = QFontDatabase::families();
    return std::any_of(installed.begin(), installed.end(),
                       [&](const QString& f) { return rawFont(f).supportsCharacter(c); });
}

void ExpectGlyphs(const std::string& where, const host::Properties& p) {
    const QString caption = QString::fromStdString(Text(p, "Caption"));
    const std::string font = Text(p, "FontName");
    const QString family = SubstituteFamily(font.empty() ? "Tahoma" : font);
    for (const char32_t c : caption.toUcs4()) {
        if (c > 0x20) {
            EXPECT_TRUE(HasGlyph(family, c))
                << where << ": no installed font draws U+" << std::hex << static_cast<int>(c);
        }
    }
}

TEST(FormPictures, EveryFormRendersWithControlsInsideTheirSectionsAndCaptionsDrawable) {
    ZANFOR_REQUIRE_TESTDATA(data);
    for (const auto& file : {data / "mdb" / "northwind-ja.mdb", data / "mdb" / "comptoir-fr.mdb",
                             data / "pairs" / "strings" / "Strings.mdb"}) {
        FileApplication app;
        app.openCurrentDatabase(file.string());
        int forms = 0;
        for (const auto& doc : app.currentDb().documents("Forms")) {
            SCOPED_TRACE(file.filename().string() + " " + doc.name);
            const DesignObject& form = app.openForm(doc.name, View::Design);
            FormPicture picture;
            try {
                picture = RenderForm(form, {}, {&app, &app.currentDb()});
            } catch (const host::Error& e) {
                ADD_FAILURE() << "does not render: " << e.number() << " " << e.description();
                continue;
            }
            ++forms;
            const QRect image = picture.image.rect();
            const auto [bands, formWidth] = LayOut(form);
            // The record selector column is what the client holds beside the form's width.
            const int left = picture.client.width() - formWidth;
            const bool datasheet = Int(form.properties, "DefaultView") == 2;
            ExpectGlyphs("form caption", form.properties);
            for (const auto& c : picture.controls) {
                const QRect& r = c.rect;
                EXPECT_TRUE(r.left() >= 0 && r.top() >= 0 && r.x() + r.width() <= image.width() &&
                            r.y() + r.height() <= image.height())
                    << c.name << " lies outside the picture";
                const auto control =
                    std::find_if(form.controls.begin(), form.controls.end(),
                                 [&](const auto& k) { return k.name() == c.name; });
                ASSERT_NE(control, form.controls.end());
                ExpectGlyphs(c.name, control->properties);
                const auto band = bands.find(static_cast<int>(Int(control->properties, "Section")));
                if (datasheet || band == bands.end())
                    continue;
                const auto [top, height] = band->second;
                EXPECT_TRUE(r.x() >= left && r.x() + r.width() <= left + formWidth &&
                            r.y() >= top && r.y() + r.height() <= top + height)
                    << c.name << " at (" << r.x() << "," << r.y() << " " << r.width() << "x"
                    << r.height() << ") outside its section band x " << left << "+" << formWidth
                    << ", y " << top << "+" << height;
            }
            app.close(host::access::ObjectType::Form, doc.name);
        }
        EXPECT_GT(forms, 0);
    }
}

}  // namespace
}  // namespace zanfor::render
