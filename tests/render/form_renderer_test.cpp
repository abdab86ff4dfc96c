#include "render/form_renderer.h"

#include <gtest/gtest.h>

#include "host/error.h"
#include "host/memory/memory_target.h"
#include "render/access_look.h"

namespace {

using namespace zanfor;
using host::Properties;
using host::Value;
using host::access::Control;
using host::access::DesignObject;
using render::FormView;
using render::RenderForm;

Control Make(int type, const std::string& name, int left, int top, int width, int height,
             std::vector<host::Property> more = {}, int section = 0) {
    Control c;
    c.properties = Properties{{"Name", Value(name)},      {"ControlType", Value(type)},
                              {"Left", Value(left)},      {"Top", Value(top)},
                              {"Width", Value(width)},    {"Height", Value(height)},
                              {"Section", Value(section)}};
    for (auto& p : more)
        c.properties.put(p.name, p.value);
    return c;
}

// A form 3 inches wide (288 px) with a header of 567 twips and a detail of 1440.
DesignObject Form(std::vector<Control> controls, std::vector<host::Property> props = {}) {
    DesignObject f;
    f.name = "F";
    f.properties = Properties{{"Width", Value(4320)}};
    for (auto& p : props)
        f.properties.put(p.name, p.value);
    f.sections = {Properties{{"Name", Value("FormHeader")}, {"Height", Value(567)}},
                  Properties{{"Name", Value("Detail")}, {"Height", Value(1440)}}};
    f.sectionNumbers = {1, 0};
    f.controls = std::move(controls);
    return f;
}

const render::PlacedControl* Placed(const render::FormPicture& p, const std::string& name) {
    for (const auto& c : p.controls) {
        if (c.name == name)
            return &c;
    }
    return nullptr;
}

TEST(FormRenderer, controlsLandAtTheirTwipPositionsBelowTheSectionsAboveThem) {
    // 1134 twips = 75.6 px and 567 = 37.8 px at 96 dpi: both round up, each edge on its own.
    const auto picture = RenderForm(Form({Make(109, "txt", 1134, 567, 1701, 283)}), {});
    const auto* txt = Placed(picture, "txt");
    ASSERT_NE(txt, nullptr);
    constexpr int kSelector = 18;  // the record selector left of the sections
    constexpr int kHeader = 38;    // 567 twips
    EXPECT_EQ(txt->rect, QRect(kSelector + 76, kHeader + 38, 189 - 76, 57 - 38));
    // The client area: selector plus 4320 twips wide; header, detail and navigation bar high.
    EXPECT_EQ(picture.image.size(), QSize(kSelector + 288, kHeader + 96 + 18));
    EXPECT_EQ(picture.client, picture.image.rect());
    // A sunken edge lies outside the box at its top and left (measured on Access's screens),
    // so the box's own corner is already white.
    EXPECT_EQ(picture.image.pixelColor(txt->rect.topLeft() - QPoint(2, 2)),
              QColor(0x80, 0x80, 0x80));
    EXPECT_EQ(picture.image.pixelColor(txt->rect.topLeft()), QColor(Qt::white));
    // ... and ends with the box at its right and bottom: the highlight, then the section.
    EXPECT_EQ(picture.image.pixelColor(txt->rect.bottomRight()), QColor(Qt::white));
    EXPECT_EQ(picture.image.pixelColor(txt->rect.bottomRight() + QPoint(1, 1)),
              QColor(0xD4, 0xD0, 0xC8));
}

TEST(FormRenderer, formChromeFollowsTheFormsSettings) {
    const std::vector<host::Property> bare{{"RecordSelectors", Value(false)},
                                           {"NavigationButtons", Value(false)}};
    const auto plain = RenderForm(Form({}, bare), {});
    EXPECT_EQ(plain.image.size(), QSize(288, 38 + 96));

    const auto framed = RenderForm(Form({}, bare), {.wholeWindow = true});
    EXPECT_GT(framed.client.top(), framed.client.left());  // the caption bar sits above
    EXPECT_EQ(framed.client.size(), plain.image.size());
    EXPECT_EQ(framed.image.width(), plain.image.width() + 2 * framed.client.left());

    // Design view: a bar above every section and one closing the last, no selector or bar.
    const auto design = RenderForm(Form({}), {.view = FormView::Design});
    EXPECT_EQ(design.image.size(), QSize(288, 38 + 96 + 3 * 19));
}

TEST(FormRenderer, sectionsGrowToHoldTheirControlsAndHiddenOnesAreLeftOut) {
    auto form = Form({Make(109, "low", 0, 1800, 6000, 240),
                      Make(109, "hidden", 0, 0, 500, 240, {{"Visible", Value(false)}})},
                     {{"RecordSelectors", Value(false)}, {"NavigationButtons", Value(false)}});
    form.sections[0].put("Visible", Value(false));
    const auto picture = RenderForm(form, {});
    EXPECT_EQ(picture.image.size(), QSize(400, 136));  // 6000 twips wide, 2040 high
    EXPECT_EQ(Placed(picture, "hidden"), nullptr);
    EXPECT_NE(Placed(RenderForm(form, {.view = FormView::Design}), "hidden"), nullptr);
}

TEST(FormRenderer, onlyTheFirstPageOfATabControlShowsItsControls) {
    auto form = Form({Make(123, "tab", 0, 0, 3000, 1400),
                      Make(124, "p1", 60, 300, 2880, 1000, {{"PageIndex", Value(0)}}),
                      Make(124, "p2", 60, 300, 2880, 1000, {{"PageIndex", Value(1)}}),
                      Make(109, "onFirst", 200, 400, 1000, 240),
                      Make(109, "onSecond", 200, 400, 1000, 240)});
    form.controls[1].parent = form.controls[2].parent = "tab";
    form.controls[3].parent = "p1";
    form.controls[4].parent = "p2";
    const auto picture = RenderForm(form, {});
    EXPECT_NE(Placed(picture, "onFirst"), nullptr);
    EXPECT_EQ(Placed(picture, "onSecond"), nullptr);
}

TEST(FormRenderer, checkBoxShowsTheFirstRecordOfItsTable) {
    host::memory::MemoryTargetBuilder builder("/t.mdb");
    builder.table("T").field("Done", 1, 1).row({Value(true)});
    host::memory::MemoryEngine engine;
    engine.add(builder.build());
    auto db = engine.openDatabase("/t.mdb");
    auto form = Form({Make(106, "chk", 0, 0, 300, 300, {{"ControlSource", Value("Done")}})},
                     {{"RecordSource", Value("T")}});
    const auto blank = RenderForm(form, {});
    const auto bound = RenderForm(form, {}, {nullptr, db.get()});
    const QPoint tick = Placed(bound, "chk")->rect.center();
    EXPECT_EQ(blank.image.pixelColor(tick), QColor(Qt::white));
    EXPECT_EQ(bound.image.pixelColor(tick), QColor(Qt::black));
}

TEST(FormRenderer, aFormWithNothingToShowIsRefusedAsAccessRefusedToOpenIt) {
    DesignObject empty;
    empty.name = "E";
    try {
        RenderForm(empty, {});
        FAIL() << "an empty form drew";
    } catch (const host::Error& e) {
        EXPECT_EQ(e.number(), host::err::kActionCancelled);
    }
}

// Values no design Access wrote: the picture stays bounded, or the form is refused as above.
TEST(FormRenderer, damagedSizesGiveABoundedPictureOrARefusal) {
    const std::vector<std::vector<host::Property>> damaged{
        {{"Width", Value(std::int64_t{1} << 40)}},
        {{"Width", Value(-5000)}},
        {{"DefaultView", Value(1)}, {"Width", Value(2147483647)}},
    };
    for (const auto& props : damaged) {
        auto form = Form({Make(109, "huge", -99999999, 2000000000, 2147483647, 2147483647),
                          Make(104, "negative", 100, 100, -3000, -3000)},
                         props);
        form.sections[1].put("Height", Value(-7));
        try {
            const auto picture = RenderForm(form, {.wholeWindow = true});
            EXPECT_LE(picture.image.width(), 4096 + 16);
            EXPECT_LE(picture.image.height(), 4096 + 32);
        } catch (const host::Error& e) {
            EXPECT_EQ(e.number(), host::err::kActionCancelled);
        }
    }
}

TEST(AccessLook, colourPropertiesAndFontNamesMapToWhatThisMachineDraws) {
    EXPECT_EQ(render::AccessColor(255), QColor(255, 0, 0));  // stored as BGR
    EXPECT_EQ(render::AccessColor(16711680), QColor(0, 0, 255));
    EXPECT_EQ(render::AccessColor(-2147483633), QColor(0xD4, 0xD0, 0xC8));  // button face
    EXPECT_EQ(render::AccessColor(-2147483643), QColor(Qt::white));         // window
    EXPECT_EQ(render::SubstituteFamily("ＭＳ Ｐゴシック"), "IPAPGothic");
    EXPECT_EQ(render::SubstituteFamily("ms mincho"), "IPAMincho");
    EXPECT_EQ(render::SubstituteFamily("Tahoma"), "Liberation Sans");
    EXPECT_EQ(render::SubstituteFamily("Times New Roman"), "Liberation Serif");
    EXPECT_EQ(render::AccessFont("Tahoma", 8).pixelSize(), 11);  // 8 pt at 96 dpi
}

}  // namespace
