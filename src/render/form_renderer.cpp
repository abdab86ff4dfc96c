#include "render/form_renderer.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <map>
#include <optional>
#include <set>

#include "host/control_types.h"
#include "host/dao.h"
#include "host/error.h"
#include "render/access_look.h"
#include "render/picture_data.h"
#include "util/vb_string.h"

namespace zanfor::render {

using host::Properties;
using host::Value;
using host::access::Control;
using host::access::DesignObject;

int TwipsToPixels(int twips) {
    const int sign = twips < 0 ? -1 : 1;
    return sign * ((sign * twips * kScreenDpi + 720) / 1440);
}

namespace {

// Access 2000's chrome at 96 dpi.
constexpr int kRecordSelectorWidth = 18;
constexpr int kNavigationHeight = 18;
constexpr int kSectionBarHeight = 19;
constexpr int kDropButtonWidth = 16;
constexpr int kCheckSize = 13;
constexpr int kCaptionHeight = 18;
// Records a continuous form or a datasheet shows of its table: enough to read what it is.
constexpr int kRecordsShown = 5;
// The navigation bar counts a table's records up to this many; beyond it shows no count.
constexpr long kRecordsCounted = 100000;
// Subforms inside subforms: Access allowed seven levels; a picture needs no more than this.
constexpr int kSubformDepth = 3;
// Access kept a form within 22 inches (2112 pixels) a side and a section as high; a damaged
// design claiming more is drawn up to this, so that its picture stays within 64 MB.
constexpr int kLargestSide = 4096;

// Access's section numbers.
constexpr int kDetail = 0;
constexpr int kFormHeader = 1;
constexpr int kFormFooter = 2;

enum Type {
    kLabel = 100,
    kRectangle = 101,
    kLine = 102,
    kImage = 103,
    kCommandButton = 104,
    kOptionButton = 105,
    kCheckBox = 106,
    kOptionGroup = 107,
    kBoundObjectFrame = 108,
    kTextBox = 109,
    kListBox = 110,
    kComboBox = 111,
    kSubform = 112,
    kObjectFrame = 114,
    kPageBreak = 118,
    kCustomControl = 119,
    kToggleButton = 122,
    kTabControl = 123,
    kPage = 124,
};

const Value& Get(const Properties& p, std::string_view name) {
    static const Value null;
    const auto* found = p.find(name);
    return found ? found->value : null;
}
std::int64_t Int(const Properties& p, std::string_view name, std::int64_t otherwise = 0) {
    const Value& v = Get(p, name);
    return v.isNull() ? otherwise : v.toInteger();
}
bool Flag(const Properties& p, std::string_view name, bool otherwise) {
    const Value& v = Get(p, name);
    return v.isNull() ? otherwise : v.toBool();
}
std::string Text(const Properties& p, std::string_view name) {
    const Value& v = Get(p, name);
    return v.isNull() ? std::string() : v.toText();
}
QString Q(const std::string& s) { return QString::fromStdString(s); }
int Px(std::int64_t twips) {
    return TwipsToPixels(
        static_cast<int>(std::clamp<std::int64_t>(twips, -kLargestSide * 15, kLargestSide * 15)));
}

// A control's rectangle in its section, with its edges rounded each on its own so that
// neighbouring controls meet as they did on screen.
QRect RectIn(const Properties& p, QPoint origin) {
    const std::int64_t left = Int(p, "Left");
    const std::int64_t top = Int(p, "Top");
    const int x = Px(left);
    const int y = Px(top);
    return {origin.x() + x, origin.y() + y, std::max(0, Px(left + Int(p, "Width")) - x),
            std::max(0, Px(top + Int(p, "Height")) - y)};
}

QFont FontOf(const Properties& p) {
    return AccessFont(Text(p, "FontName").empty() ? "Tahoma" : Text(p, "FontName"),
                      static_cast<double>(Int(p, "FontSize", 8)),
                      static_cast<int>(Int(p, "FontWeight", 400)), Flag(p, "FontItalic", false),
                      Flag(p, "FontUnderline", false));
}

QColor ColorOf(const Properties& p, std::string_view name, std::int64_t otherwise) {
    const Value& v = Get(p, name);
    return AccessColor(v.isNull() ? otherwise : v.toInteger());
}

Border BorderOf(const Properties& p, int effectIfMissing = 0) {
    Border b;
    b.effect = static_cast<Effect>(
        std::clamp<std::int64_t>(Int(p, "SpecialEffect", effectIfMissing), 0, 5));
    const std::int64_t style = Int(p, "BorderStyle", 0);
    b.visible = style != 0;
    b.dashStyle = static_cast<int>(style);
    b.color = ColorOf(p, "BorderColor", 0);
    const std::int64_t width = Int(p, "BorderWidth", 0);
    b.width = width <= 1 ? 1 : static_cast<int>(std::lround(width * 96.0 / 72.0));
    return b;
}

// TextAlign: 0 general (numbers right, text left), 1 left, 2 centre, 3 right, 4 distribute.
Qt::Alignment AlignOf(const Properties& p, bool number) {
    switch (Int(p, "TextAlign", 0)) {
        case 2:
            return Qt::AlignHCenter;
        case 3:
            return Qt::AlignRight;
        case 0:
            return number ? Qt::AlignRight : Qt::AlignLeft;
        default:
            return Qt::AlignLeft;
    }
}

// A DefaultValue Access would show in a new record: a quoted string, a number or a yes/no.
// Digits with the signs, separators and blanks a number shows with.
bool LooksNumeric(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return (c >= '0' && c <= '9') || c == '.' || c == ',' || c == '-' || c == ' ';
    });
}

std::string LiteralOf(const std::string& expression) {
    std::string e = util::Trim(expression);
    if (!e.empty() && e.front() == '=')
        e = util::Trim(e.substr(1));
    if (e.size() >= 2 && (e.front() == '"' || e.front() == '\'') && e.back() == e.front())
        return e.substr(1, e.size() - 2);
    if (LooksNumeric(e))
        return e;
    return {};
}

bool IsTrue(const std::string& text) {
    const std::string u = util::UCase(util::Trim(text));
    return u == "-1" || u == "TRUE" || u == "YES" || u == "ON" || u == "1";
}

// ["a";"b";c] of a value list, quotes removed.
std::vector<std::string> ValueList(const std::string& rowSource) {
    std::vector<std::string> items;
    std::string item;
    char quote = 0;
    for (const char c : rowSource) {
        if (quote) {
            if (c == quote)
                quote = 0;
            else
                item += c;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == ';') {
            items.push_back(util::Trim(item));
            item.clear();
        } else {
            item += c;
        }
    }
    if (!util::Trim(item).empty() || !items.empty())
        items.push_back(util::Trim(item));
    return items;
}

class Renderer {
public:
    Renderer(const RenderOptions& options, const RenderSources& sources, int depth,
             std::set<std::string> drawing)
        : options_(options), sources_(sources), depth_(depth), drawing_(std::move(drawing)) {}

    FormPicture render(const DesignObject& form) {
        form_ = &form;
        design_ = options_.view == FormView::Design;
        indexControls();
        readFirstRecords();
        layOut();

        const QSize clientSize(std::min(clientWidth_, kLargestSide),
                               std::min(clientHeight_, kLargestSide));
        if (form.sections.empty() || formWidth_ <= 0 || clientSize.width() <= 0 ||
            clientSize.height() <= 0)
            throw host::Error(host::err::kActionCancelled,
                              "フォーム '" + form.name + "' には表示する領域がありません。");
        const bool framed = options_.wholeWindow && Int(form.properties, "BorderStyle", 2) != 0;
        const int frame = framed ? FrameWidth() : 0;
        const int caption = framed ? kCaptionHeight + 1 : 0;
        FormPicture picture;
        picture.client = QRect(QPoint(frame, frame + caption), clientSize);
        picture.image = QImage(clientSize.width() + 2 * frame,
                               clientSize.height() + 2 * frame + caption, QImage::Format_RGB32);
        picture.image.fill(AccessColor(sys::kAppWorkspace));
        QPainter painter(&picture.image);
        painter.setRenderHint(QPainter::TextAntialiasing);
        if (framed)
            drawWindow(painter, picture.image.rect(), frame);
        painter.setClipRect(picture.client);
        painter.translate(picture.client.topLeft());
        drawClient(painter);
        painter.end();
        for (auto& placed : placed_)
            placed.rect.translate(picture.client.topLeft());
        picture.controls = std::move(placed_);
        return picture;
    }

private:
    struct Band {
        std::size_t section = 0;
        int number = 0;
        int top = 0;
        int height = 0;
        int record = 0;  // which record a repeated detail shows
    };

    int FrameWidth() const {
        switch (Int(form_->properties, "BorderStyle", 2)) {
            case 1:
            case 3:
                return 3;
            default:
                return 4;
        }
    }

    void indexControls() {
        for (std::size_t i = 0; i < form_->controls.size(); ++i)
            byName_[util::UCase(form_->controls[i].name())] = i;
        for (const auto& c : form_->controls) {
            if (c.controlType() == kTabControl) {
                const auto pages = pagesOf(c);
                shownPage_[util::UCase(c.name())] = pages.empty() ? nullptr : pages.front();
            }
        }
    }

    // A tab control's pages in the order of their tabs: by PageIndex, and in the order of the
    // design where that is not stored (Access 2000 kept the order and stored no index).
    std::vector<const Control*> pagesOf(const Control& tab) const {
        std::vector<const Control*> pages;
        for (const auto& c : form_->controls) {
            if (c.controlType() == kPage && util::UCase(c.parent) == util::UCase(tab.name()))
                pages.push_back(&c);
        }
        std::stable_sort(pages.begin(), pages.end(), [](const Control* a, const Control* b) {
            return Int(a->properties, "PageIndex") < Int(b->properties, "PageIndex");
        });
        return pages;
    }

    const Control* named(const std::string& name) const {
        const auto it = byName_.find(util::UCase(name));
        return it == byName_.end() ? nullptr : &form_->controls[it->second];
    }

    // The first records of a table record source, when the reader can read that table.
    void readFirstRecords() {
        const std::string source = util::Trim(Text(form_->properties, "RecordSource"));
        if (source.empty() || sources_.data == nullptr || design_)
            return;
        try {
            const auto& tables = sources_.data->tableDefs();
            const bool isTable = std::any_of(tables.begin(), tables.end(), [&](const auto& t) {
                return util::UCase(t.name) == util::UCase(source);
            });
            if (!isTable)
                return;
            auto rs = sources_.data->openRecordset(source);
            long count = 0;
            for (; !rs->eof() && count < kRecordsCounted; ++count, rs->moveNext()) {
                if (count >= kRecordsShown)
                    continue;
                std::map<std::string, std::string> row;
                for (const auto& field : rs->fieldNames()) {
                    const Value v = rs->field(field);
                    row[util::UCase(field)] = v.isNull() ? std::string() : v.toText();
                }
                records_.push_back(std::move(row));
            }
            if (rs->eof())
                recordCount_ = count;
        } catch (const host::Error&) {
            records_.clear();  // a table that does not read shows as an unbound form does
            recordCount_.reset();
        }
    }

    int defaultView() const {
        return design_ ? 0 : static_cast<int>(Int(form_->properties, "DefaultView", 0));
    }

    void layOut() {
        const auto& props = form_->properties;
        // Access grew a form and its sections to hold every control; a design that says
        // less (no stored width) is drawn as Access would have shown it.
        std::int64_t width = Int(props, "Width");
        std::map<int, std::int64_t> bottoms;
        for (const auto& c : form_->controls) {
            const auto& cp = c.properties;
            if (c.controlType() == kPage)
                continue;
            width = std::max(width, Int(cp, "Left") + Int(cp, "Width"));
            auto& bottom = bottoms[static_cast<int>(Int(cp, "Section", kDetail))];
            bottom = std::max(bottom, Int(cp, "Top") + Int(cp, "Height"));
        }
        formWidth_ = Px(width);
        selector_ = !design_ && Flag(props, "RecordSelectors", true) ? kRecordSelectorWidth : 0;
        navigation_ = !design_ && Flag(props, "NavigationButtons", true) ? kNavigationHeight : 0;
        dividers_ = !design_ && Flag(props, "DividingLines", true);
        int y = 0;
        auto add = [&](std::size_t index, int record) {
            const int number =
                index < form_->sectionNumbers.size() ? form_->sectionNumbers[index] : kDetail;
            const int height = Px(std::max(Int(form_->sections[index], "Height"), bottoms[number]));
            if (design_)
                y += kSectionBarHeight;
            bands_.push_back({index, number, y, height, record});
            y += height;
        };
        auto sectionOf = [&](int number) -> std::optional<std::size_t> {
            for (std::size_t i = 0; i < form_->sections.size(); ++i) {
                const int n = i < form_->sectionNumbers.size() ? form_->sectionNumbers[i] : kDetail;
                if (n == number)
                    return i;
            }
            return std::nullopt;
        };
        auto shown = [&](std::size_t index) {
            const auto& s = form_->sections[index];
            return Flag(s, "Visible", true) && Int(s, "DisplayWhen", 0) != 1;
        };
        if (design_) {
            for (std::size_t i = 0; i < form_->sections.size(); ++i)
                add(i, 0);
            y += kSectionBarHeight;  // the bar that closes the last section
        } else if (defaultView() == 2) {
            datasheet_ = datasheetColumns();
            // The heading row, the records and the new-record row.
            y = datasheetRowHeight() * (static_cast<int>(records_.size()) + 2);
        } else {
            if (const auto h = sectionOf(kFormHeader); h && shown(*h))
                add(*h, 0);
            if (const auto d = sectionOf(kDetail); d && shown(*d)) {
                const int repeats =
                    defaultView() == 1
                        ? std::max<int>(
                              1, static_cast<int>(records_.size()) +
                                     (Flag(form_->properties, "AllowAdditions", true) ? 1 : 0))
                        : 1;
                for (int r = 0; r < std::min(repeats, kRecordsShown + 1); ++r)
                    add(*d, r);
            }
            if (const auto f = sectionOf(kFormFooter); f && shown(*f))
                add(*f, 0);
        }
        int datasheetWidth = 0;
        for (const auto& column : datasheet_)
            datasheetWidth += column.second;
        clientWidth_ = selector_ + std::max(formWidth_, datasheetWidth);
        clientHeight_ = y + navigation_;
    }

    // --- drawing ---------------------------------------------------------------------

    void drawClient(QPainter& p) {
        p.fillRect(QRect(0, 0, clientWidth_, clientHeight_), AccessColor(sys::kButtonFace));
        if (defaultView() == 2) {
            drawDatasheet(p);
        } else {
            for (const auto& band : bands_)
                drawBandBackground(p, band);
            drawFormPicture(p);
            for (const auto& band : bands_)
                drawBand(p, band);
        }
        if (navigation_ > 0)
            drawNavigation(p, QRect(0, clientHeight_ - navigation_, clientWidth_, navigation_));
    }

    void drawBandBackground(QPainter& p, const Band& band) {
        const QRect area(selector_, band.top, formWidth_, band.height);
        if (design_)
            drawSectionBar(p, band);
        p.fillRect(area, ColorOf(form_->sections[band.section], "BackColor", sys::kButtonFace));
        if (design_)
            drawGrid(p, area);
    }

    // The form's own picture lies over the sections' colours and under every control.
    void drawFormPicture(QPainter& p) {
        const auto& props = form_->properties;
        const QImage image = DecodePictureData(form_->pictureData);
        if (image.isNull() || bands_.empty())
            return;
        const QRect area(selector_, 0, formWidth_, bands_.back().top + bands_.back().height);
        const int mode = static_cast<int>(Int(props, "PictureSizeMode", 0));
        const int alignment = static_cast<int>(Int(props, "PictureAlignment", 2));
        if (!Flag(props, "PictureTiling", false) || mode != 0) {
            drawPicture(p, image, area, mode, alignment == 5 ? 2 : alignment);
            return;
        }
        p.save();
        p.setClipRect(area, Qt::IntersectClip);
        for (int y = area.top(); y < area.bottom(); y += image.height()) {
            for (int x = area.left(); x < area.right(); x += image.width())
                p.drawImage(QPoint(x, y), image);
        }
        p.restore();
    }

    void drawBand(QPainter& p, const Band& band) {
        const QRect area(selector_, band.top, formWidth_, band.height);
        if (selector_ > 0) {
            const QRect sel(0, band.top, selector_, band.height);
            p.fillRect(sel, AccessColor(sys::kButtonFace));
            DrawBorder(p, sel, Border{.effect = Effect::Raised});
            if (band.number == kDetail && band.record == 0)
                drawCurrentRecordMark(p, sel);
        }
        record_ = band.number == kDetail ? band.record : 0;
        p.save();
        p.setClipRect(area, Qt::IntersectClip);
        for (const auto& control : form_->controls) {
            if (Int(control.properties, "Section", kDetail) == band.number)
                drawControl(p, control, area.topLeft(), band.number == kDetail && band.record > 0);
        }
        p.restore();
        if (dividers_ && band.number != kDetail && band.height > 0) {
            const int y = band.number == kFormHeader ? band.top + band.height - 1 : band.top;
            p.fillRect(QRect(0, y, clientWidth_, 1), AccessColor(sys::kDarkShadow));
        }
    }

    void drawCurrentRecordMark(QPainter& p, const QRect& sel) {
        QPainterPath arrow;
        const QPointF c(sel.center().x() + 0.5, sel.top() + 8.5);
        arrow.moveTo(c.x() - 2, c.y() - 4);
        arrow.lineTo(c.x() + 2, c.y());
        arrow.lineTo(c.x() - 2, c.y() + 4);
        arrow.closeSubpath();
        p.fillPath(arrow, Qt::black);
    }

    void drawSectionBar(QPainter& p, const Band& band) {
        const QRect bar(0, band.top - kSectionBarHeight, clientWidth_, kSectionBarHeight);
        DrawButtonFace(p, bar);
        p.setPen(AccessColor(sys::kButtonText));
        p.setFont(AccessFont("Tahoma", 8));
        p.drawText(bar.adjusted(20, 0, -4, 0), Qt::AlignVCenter | Qt::AlignLeft,
                   Q(Text(form_->sections[band.section], "Name")));
    }

    // Lines every centimetre and, when they are no finer than Access drew them, the grid dots.
    void drawGrid(QPainter& p, const QRect& area) {
        const auto& props = form_->properties;
        const int gridX = static_cast<int>(Int(props, "GridX", 10));
        const int gridY = static_cast<int>(Int(props, "GridY", 10));
        constexpr int kCentimetre = 567;
        const QColor line = AccessColor(sys::kButtonShadow);
        for (int t = kCentimetre; Px(t) < area.width(); t += kCentimetre)
            p.fillRect(QRect(area.left() + Px(t), area.top(), 1, area.height()), line);
        for (int t = kCentimetre; Px(t) < area.height(); t += kCentimetre)
            p.fillRect(QRect(area.left(), area.top() + Px(t), area.width(), 1), line);
        // Access left the dots out when more than 24 fit in an inch (9.4 in a centimetre).
        if (gridX <= 0 || gridY <= 0 || gridX > 9 || gridY > 9)
            return;
        for (int i = 1; Px(i * kCentimetre / gridX) < area.width(); ++i) {
            for (int j = 1; Px(j * kCentimetre / gridY) < area.height(); ++j)
                p.fillRect(QRect(area.left() + Px(i * kCentimetre / gridX),
                                 area.top() + Px(j * kCentimetre / gridY), 1, 1),
                           Qt::black);
        }
    }

    // The page of a tab control a control lies on, through its holders; nullptr for none.
    const Control* pageOf(const Control& control) const {
        const Control* c = &control;
        for (int guard = 0; guard < 16 && c != nullptr && !c->parent.empty(); ++guard) {
            const Control* holder = named(c->parent);
            if (holder != nullptr && holder->controlType() == kPage)
                return holder;
            c = holder;
        }
        return nullptr;
    }

    // Access hid a label with the control it is attached to.
    bool labelOfHidden(const Control& control) const {
        if (control.controlType() != kLabel || control.parent.empty())
            return false;
        const Control* owner = named(control.parent);
        return owner != nullptr && owner->controlType() != kOptionGroup &&
               owner->controlType() != kPage && !Flag(owner->properties, "Visible", true);
    }

    bool onHiddenPage(const Control& control) const {
        const Control* page = pageOf(control);
        if (page == nullptr)
            return false;
        const auto shown = shownPage_.find(util::UCase(page->parent));
        return shown != shownPage_.end() && shown->second != page;
    }

    std::string valueOf(const Control& control) const {
        const auto& p = control.properties;
        const std::string source = util::Trim(Text(p, "ControlSource"));
        if (design_)
            return source.empty() ? "非連結" : source;
        if (!source.empty() && source.front() != '=') {
            if (record_ < static_cast<int>(records_.size())) {
                const auto& row = records_[static_cast<std::size_t>(record_)];
                std::string field = source;
                if (field.size() >= 2 && field.front() == '[' && field.back() == ']')
                    field = field.substr(1, field.size() - 2);
                const auto it = row.find(util::UCase(field));
                if (it != row.end())
                    return it->second;
            }
            return {};
        }
        if (!source.empty())
            return LiteralOf(source);
        return LiteralOf(Text(p, "DefaultValue"));
    }

    void drawControl(QPainter& p, const Control& control, QPoint origin, bool repeated) {
        const auto& props = control.properties;
        const int type = control.controlType();
        if (!design_ &&
            (!Flag(props, "Visible", true) || onHiddenPage(control) || labelOfHidden(control)))
            return;
        if (design_ && onHiddenPage(control))
            return;
        if (!design_ && type == kPageBreak)
            return;
        const QRect r = RectIn(props, origin);
        if (!repeated)
            placed_.push_back({control.name(), type, r});
        p.save();
        switch (type) {
            case kLabel:
                drawLabel(p, props, r);
                break;
            case kRectangle:
                drawBox(p, props, r, 0);
                break;
            case kLine:
                drawLine(p, props, r);
                break;
            case kImage:
            case kObjectFrame:
            case kBoundObjectFrame:
                drawPictureControl(p, control, r);
                break;
            case kCommandButton:
            case kToggleButton:
                drawButton(p, control, r);
                break;
            case kOptionButton:
            case kCheckBox:
                drawCheck(p, control, r);
                break;
            case kOptionGroup:
                drawBox(p, props, r, 3);
                break;
            case kTextBox:
                drawTextBox(p, control, r);
                break;
            case kComboBox:
                drawComboBox(p, control, r);
                break;
            case kListBox:
                drawListBox(p, control, r);
                break;
            case kSubform:
                drawSubform(p, control, r);
                break;
            case kTabControl:
                drawTabControl(p, control, r);
                break;
            case kPageBreak:
                p.setPen(QPen(Qt::black, 1, Qt::DotLine));
                p.drawLine(r.left(), r.top(), r.left() + 8, r.top());
                break;
            case kCustomControl:
                drawPlaceholder(p, r, Q(control.name()));
                break;
            default:
                break;  // pages are drawn by their tab control
        }
        p.restore();
    }

    void fillBack(QPainter& p, const Properties& props, const QRect& r, std::int64_t color,
                  int backStyleIfMissing) {
        if (Int(props, "BackStyle", backStyleIfMissing) != 0)
            p.fillRect(r, ColorOf(props, "BackColor", color));
    }

    // A control's back and edge; returns the area inside the edge. Access drew a raised or
    // sunken edge outside the control's rectangle at its top and left, inside it at its right
    // and bottom, so the boxes of a form line up by their right edges on screen.
    QRect frame(QPainter& p, const Properties& props, const QRect& r, std::int64_t color,
                int backStyleIfMissing, int effectIfMissing) {
        const Border border = BorderOf(props, effectIfMissing);
        const bool outside = border.effect == Effect::Sunken || border.effect == Effect::Raised;
        const QRect edge = outside ? r.adjusted(-2, -2, 0, 0) : r;
        fillBack(p, props, edge, color, backStyleIfMissing);
        return DrawBorder(p, edge, border);
    }

    void drawText(QPainter& p, const Properties& props, const QRect& r, const std::string& text,
                  Qt::Alignment vertical, bool mnemonic, std::int64_t foreColor) {
        if (text.empty() || r.width() <= 0 || r.height() <= 0)
            return;
        const QFont font = FontOf(props);
        p.setFont(font);
        p.setPen(ColorOf(props, "ForeColor", foreColor));
        // A box one line high clips its text at the right; a taller one wraps it at words.
        const bool wraps = r.height() >= 2 * QFontMetrics(font).height();
        const int flags = static_cast<int>(AlignOf(props, LooksNumeric(text)) | vertical) |
                          (wraps ? Qt::TextWordWrap : Qt::TextSingleLine) |
                          (mnemonic ? Qt::TextShowMnemonic : 0);
        p.drawText(r, flags, Q(text));
    }

    void drawLabel(QPainter& p, const Properties& props, const QRect& r) {
        const QRect inside = frame(p, props, r, sys::kButtonFace, 0, 0);
        drawText(
            p, props,
            inside.adjusted(1 + Px(Int(props, "LeftMargin")), Px(Int(props, "TopMargin")),
                            -1 - Px(Int(props, "RightMargin")), -Px(Int(props, "BottomMargin"))),
            Text(props, "Caption"), Qt::AlignTop, true, sys::kButtonText);
    }

    void drawBox(QPainter& p, const Properties& props, const QRect& r, int effectIfMissing) {
        frame(p, props, r, sys::kButtonFace, 0, effectIfMissing);
    }

    void drawLine(QPainter& p, const Properties& props, const QRect& r) {
        const Border b = BorderOf(props);
        if (b.effect == Effect::Etched || b.effect == Effect::Chiseled) {
            const QColor shadow = AccessColor(sys::kButtonShadow);
            const QColor light = AccessColor(sys::kButtonHighlight);
            if (r.height() <= 1) {
                p.fillRect(QRect(r.left(), r.top(), std::max(1, r.width()), 1), shadow);
                p.fillRect(QRect(r.left(), r.top() + 1, std::max(1, r.width()), 1), light);
                return;
            }
            if (r.width() <= 1) {
                p.fillRect(QRect(r.left(), r.top(), 1, r.height()), shadow);
                p.fillRect(QRect(r.left() + 1, r.top(), 1, r.height()), light);
                return;
            }
        }
        if (Int(props, "BorderStyle", 1) == 0)
            return;
        p.setPen(
            QPen(b.color, b.width, b.dashStyle <= 1 ? Qt::SolidLine : Qt::DashLine, Qt::FlatCap));
        if (Flag(props, "LineSlant", false))
            p.drawLine(r.left(), r.bottom() + 1, r.right() + 1, r.top());
        else
            p.drawLine(r.left(), r.top(), r.left() + r.width(), r.top() + r.height());
    }

    void drawPlaceholder(QPainter& p, const QRect& r, const QString& text) {
        p.fillRect(r, AccessColor(sys::kWindow));
        const QRect inside = DrawBorder(p, r, Border{.effect = Effect::Sunken});
        p.setPen(QPen(AccessColor(sys::kButtonShadow), 1, Qt::DotLine));
        p.drawLine(inside.topLeft(), inside.bottomRight());
        p.drawLine(inside.bottomLeft(), inside.topRight());
        p.setPen(AccessColor(sys::kWindowText));
        p.setFont(AccessFont("Tahoma", 8));
        p.drawText(inside, Qt::AlignCenter | Qt::TextWordWrap, text);
    }

    // A picture placed as its size mode says: 0 clip, 1 stretch, 3 zoom (aspect kept), and as
    // PictureAlignment says: 0 top left, 1 top right, 2 centre, 3 bottom left, 4 bottom right.
    static void drawPicture(QPainter& p, const QImage& image, const QRect& box, int sizeMode,
                            int alignment) {
        QSize size = image.size();
        if (sizeMode == 1)
            size = box.size();
        else if (sizeMode == 3)
            size = image.size().scaled(box.size(), Qt::KeepAspectRatio);
        int x = box.left() + (box.width() - size.width()) / 2;
        int y = box.top() + (box.height() - size.height()) / 2;
        if (alignment == 0 || alignment == 1)
            y = box.top();
        if (alignment == 3 || alignment == 4)
            y = box.bottom() + 1 - size.height();
        if (alignment == 0 || alignment == 3)
            x = box.left();
        if (alignment == 1 || alignment == 4)
            x = box.right() + 1 - size.width();
        p.save();
        p.setClipRect(box, Qt::IntersectClip);
        p.drawImage(QRect(QPoint(x, y), size), image);
        p.restore();
    }

    void drawPictureControl(QPainter& p, const Control& control, const QRect& r) {
        const auto& props = control.properties;
        const QImage image = DecodePictureData(control.pictureData);
        if (image.isNull() && control.controlType() != kImage) {
            const QRect inside = frame(p, props, r, sys::kWindow, 1, 2);
            if (design_)
                drawText(p, props, inside, valueOf(control), Qt::AlignTop, false, sys::kWindowText);
            return;
        }
        if (image.isNull()) {
            drawPlaceholder(p, r, Q(Text(props, "Picture")));
            return;
        }
        const QRect inside = frame(p, props, r, sys::kButtonFace, 0, 0);
        drawPicture(p, image, inside, static_cast<int>(Int(props, "SizeMode", 0)),
                    static_cast<int>(Int(props, "PictureAlignment", 2)));
    }

    bool valueIsTrue(const Control& control) const {
        const auto& props = control.properties;
        if (!control.parent.empty()) {
            const Control* holder = named(control.parent);
            if (holder != nullptr && holder->controlType() == kOptionGroup) {
                const std::string groupValue = valueOf(*holder);
                return !groupValue.empty() && !design_ &&
                       groupValue == std::to_string(Int(props, "OptionValue", -1));
            }
        }
        return !design_ && IsTrue(valueOf(control));
    }

    void drawButton(QPainter& p, const Control& control, const QRect& r) {
        const auto& props = control.properties;
        const bool down = control.controlType() == kToggleButton && valueIsTrue(control);
        const QRect inside = DrawButtonFace(p, r, down);
        const QImage image = DecodePictureData(control.pictureData);
        if (!image.isNull()) {
            drawPicture(p, image, inside, 0, 2);
            return;
        }
        // A button centres its caption whatever its text alignment says.
        p.setFont(FontOf(props));
        p.setPen(ColorOf(props, "ForeColor", sys::kButtonText));
        p.drawText(inside.adjusted(1, 0, -1, 0),
                   Qt::AlignCenter | Qt::TextWordWrap | Qt::TextShowMnemonic,
                   Q(Text(props, "Caption")));
    }

    void drawCheck(QPainter& p, const Control& control, const QRect& r) {
        const bool checked = valueIsTrue(control);
        const QRect box(r.left() + std::max(0, (r.width() - kCheckSize) / 2),
                        r.top() + std::max(0, (r.height() - kCheckSize) / 2), kCheckSize,
                        kCheckSize);
        if (control.controlType() == kCheckBox) {
            p.fillRect(box, AccessColor(sys::kWindow));
            DrawBorder(p, box, Border{.effect = Effect::Sunken});
            if (checked) {
                QPainterPath tick;
                tick.moveTo(box.left() + 3, box.top() + 6);
                tick.lineTo(box.left() + 5, box.top() + 8);
                tick.lineTo(box.left() + 9, box.top() + 4);
                p.setRenderHint(QPainter::Antialiasing, false);
                p.setPen(QPen(Qt::black, 2));
                p.drawPath(tick);
            }
            return;
        }
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF circle = QRectF(box).adjusted(0.5, 0.5, -0.5, -0.5);
        p.setPen(AccessColor(sys::kButtonShadow));
        p.setBrush(AccessColor(sys::kWindow));
        p.drawEllipse(circle);
        if (checked) {
            p.setPen(Qt::NoPen);
            p.setBrush(Qt::black);
            p.drawEllipse(QRectF(box).adjusted(4, 4, -4, -4));
        }
    }

    void drawTextBox(QPainter& p, const Control& control, const QRect& r) {
        const auto& props = control.properties;
        const QRect inside = frame(p, props, r, sys::kWindow, 1, 2);
        drawText(
            p, props,
            inside.adjusted(1 + Px(Int(props, "LeftMargin")), Px(Int(props, "TopMargin")),
                            -1 - Px(Int(props, "RightMargin")), -Px(Int(props, "BottomMargin"))),
            valueOf(control), Qt::AlignTop, false, sys::kWindowText);
    }

    // A combo box over a value list shows the first column of nonzero width of the row its
    // bound column matches, as Access did; other row sources show the value itself.
    std::string comboText(const Control& control) const {
        const auto& props = control.properties;
        const std::string value = valueOf(control);
        if (design_ || value.empty() || util::UCase(Text(props, "RowSourceType")) != "VALUE LIST")
            return value;
        const auto items = ValueList(Text(props, "RowSource"));
        const auto columns =
            static_cast<std::size_t>(std::max<std::int64_t>(1, Int(props, "ColumnCount", 1)));
        const auto bound =
            static_cast<std::size_t>(std::max<std::int64_t>(1, Int(props, "BoundColumn", 1))) - 1;
        std::size_t shown = 0;
        const auto widths = ValueList(Text(props, "ColumnWidths"));
        while (shown < widths.size() && shown + 1 < columns && util::Trim(widths[shown]) == "0")
            ++shown;
        for (std::size_t row = 0; (row + 1) * columns <= items.size(); ++row) {
            if (bound < columns && items[row * columns + bound] == value)
                return items[row * columns + shown];
        }
        return value;
    }

    void drawComboBox(QPainter& p, const Control& control, const QRect& r) {
        const auto& props = control.properties;
        const QRect inside = frame(p, props, r, sys::kWindow, 1, 2);
        const QRect button(inside.right() + 1 - std::min(kDropButtonWidth, inside.width()),
                           inside.top(), std::min(kDropButtonWidth, inside.width()),
                           inside.height());
        drawText(p, props, inside.adjusted(1, 0, -button.width() - 1, 0), comboText(control),
                 Qt::AlignTop, false, sys::kWindowText);
        DrawButtonFace(p, button);
        QPainterPath arrow;
        const QPointF c(button.center().x() + 0.5, button.center().y() + 1.0);
        arrow.moveTo(c.x() - 3.5, c.y() - 2);
        arrow.lineTo(c.x() + 3.5, c.y() - 2);
        arrow.lineTo(c.x(), c.y() + 1.5);
        arrow.closeSubpath();
        p.fillPath(arrow, Qt::black);
    }

    void drawListBox(QPainter& p, const Control& control, const QRect& r) {
        const auto& props = control.properties;
        const QRect inside = frame(p, props, r, sys::kWindow, 1, 2);
        if (design_) {
            drawText(p, props, inside.adjusted(1, 0, -1, 0), valueOf(control), Qt::AlignTop, false,
                     sys::kWindowText);
            return;
        }
        if (util::UCase(Text(props, "RowSourceType")) != "VALUE LIST")
            return;
        const auto items = ValueList(Text(props, "RowSource"));
        const int columns = std::max<int>(1, static_cast<int>(Int(props, "ColumnCount", 1)));
        const QFont font = FontOf(props);
        const int line = QFontMetrics(font).height();
        const int columnWidth = std::max(1, inside.width() / columns);
        p.setFont(font);
        p.setPen(ColorOf(props, "ForeColor", sys::kWindowText));
        p.setClipRect(inside, Qt::IntersectClip);
        for (std::size_t i = 0; i < items.size(); ++i) {
            const int row = static_cast<int>(i) / columns;
            const int column = static_cast<int>(i) % columns;
            const QRect cell(inside.left() + 2 + column * columnWidth, inside.top() + row * line,
                             columnWidth - 2, line);
            if (cell.top() > inside.bottom())
                break;
            p.drawText(cell, Qt::AlignLeft | Qt::AlignVCenter, Q(items[i]));
        }
    }

    void drawSubform(QPainter& p, const Control& control, const QRect& r) {
        const auto& props = control.properties;
        p.fillRect(r, AccessColor(sys::kAppWorkspace));
        const QRect inside = DrawBorder(p, r, BorderOf(props, 2));
        std::string source = util::Trim(Text(props, "SourceObject"));
        if (util::UCase(source).rfind("FORM.", 0) == 0)
            source = source.substr(5);
        const bool report = util::UCase(source).rfind("REPORT.", 0) == 0;
        if (source.empty() || report || sources_.access == nullptr || depth_ >= kSubformDepth ||
            drawing_.count(util::UCase(source)) != 0) {
            if (design_ || source.empty())
                drawText(p, props, inside, design_ ? source : std::string(), Qt::AlignTop, false,
                         sys::kWindowText);
            return;
        }
        try {
            const DesignObject& sub = sources_.access->openForm(source, host::access::View::Design);
            auto drawing = drawing_;
            drawing.insert(util::UCase(source));
            RenderOptions options = options_;
            options.wholeWindow = false;
            const FormPicture picture =
                Renderer(options, sources_, depth_ + 1, std::move(drawing)).render(sub);
            sources_.access->close(host::access::ObjectType::Form, source);
            p.save();
            p.setClipRect(inside, Qt::IntersectClip);
            p.drawImage(inside.topLeft(), picture.image);
            p.restore();
        } catch (const host::Error&) {
            drawPlaceholder(p, inside, Q(source));
        }
    }

    void drawTabControl(QPainter& p, const Control& control, const QRect& r) {
        const auto& props = control.properties;
        const auto pages = pagesOf(control);
        if (Int(props, "BackStyle", 0) != 0)
            p.fillRect(r, ColorOf(props, "BackColor", sys::kButtonFace));
        const QFont font = FontOf(props);
        const QFontMetrics metrics(font);
        const int style = static_cast<int>(Int(props, "Style", 0));  // 0 tabs, 1 buttons, 2 none
        const int fixedHeight = Px(Int(props, "TabFixedHeight"));
        const int tabHeight =
            style == 2 ? 0 : (fixedHeight > 0 ? fixedHeight : metrics.height() + 6);
        DrawBorder(p, r.adjusted(0, tabHeight, 0, 0), Border{.effect = Effect::Raised});
        if (style == 2 || pages.empty())
            return;
        p.setFont(font);
        p.setPen(ColorOf(props, "ForeColor", sys::kButtonText));
        const int fixedWidth = Px(Int(props, "TabFixedWidth"));
        std::vector<QString> captions;
        std::vector<int> lefts;
        int x = r.left() + 2;
        for (const auto* page : pages) {
            const std::string caption = Text(page->properties, "Caption");
            captions.push_back(Q(caption.empty() ? page->name() : caption));
            lefts.push_back(x);
            x += fixedWidth > 0 ? fixedWidth : metrics.horizontalAdvance(captions.back()) + 12;
        }
        lefts.push_back(x);
        // The selected (first) tab last: it stands out over its neighbours' edges.
        for (std::size_t k = 1; k <= pages.size(); ++k) {
            const std::size_t i = k % pages.size();
            const bool selected = i == 0;
            QRect tab(lefts[i], r.top() + (selected ? 0 : 2), lefts[i + 1] - lefts[i],
                      tabHeight - (selected ? 0 : 2) + 1);
            if (selected)
                tab.adjust(-2, 0, 2, 0);
            p.fillRect(tab, AccessColor(sys::kButtonFace));
            p.fillRect(QRect(tab.left(), tab.top() + 1, 1, tab.height() - 1),
                       AccessColor(sys::kButtonHighlight));
            p.fillRect(QRect(tab.left() + 1, tab.top(), tab.width() - 2, 1),
                       AccessColor(sys::kButtonHighlight));
            p.fillRect(QRect(tab.right(), tab.top() + 1, 1, tab.height() - 1),
                       AccessColor(sys::kDarkShadow));
            p.fillRect(QRect(tab.right() - 1, tab.top() + 1, 1, tab.height() - 1),
                       AccessColor(sys::kButtonShadow));
            p.drawText(tab, Qt::AlignCenter | Qt::TextShowMnemonic, captions[i]);
        }
    }

    void drawDatasheet(QPainter& p) {
        const auto& columns = datasheet_;
        const QFont font = datasheetFont();
        const int row = datasheetRowHeight();
        p.setFont(font);
        int x = selector_;
        p.fillRect(QRect(0, 0, clientWidth_, row), AccessColor(sys::kButtonFace));
        const int rows = static_cast<int>(records_.size()) + 1;
        p.fillRect(QRect(selector_, row, clientWidth_ - selector_, rows * row),
                   AccessColor(sys::kWindow));
        for (const auto& [control, width] : columns) {
            const QRect head(x, 0, width, row);
            DrawButtonFace(p, head);
            p.setPen(AccessColor(sys::kButtonText));
            p.drawText(head.adjusted(2, 0, -2, 0), Qt::AlignCenter, Q(headingOf(*control)));
            for (int r = 0; r < rows; ++r) {
                const QRect cell(x, row * (r + 1), width, row);
                p.setPen(AccessColor(sys::kButtonShadow));
                p.drawRect(cell.adjusted(0, 0, -1, -1));
                record_ = r;
                if (r < static_cast<int>(records_.size())) {
                    p.setPen(AccessColor(sys::kWindowText));
                    p.drawText(cell.adjusted(3, 0, -3, 0), Qt::AlignVCenter | Qt::AlignLeft,
                               Q(valueOf(*control)));
                }
            }
            placed_.push_back({control->name(), control->controlType(), head});
            x += width;
        }
        for (int r = 0; r <= rows && selector_ > 0; ++r) {
            const QRect sel(0, row * r, selector_, row);
            DrawButtonFace(p, sel);
            if (r == rows) {
                p.setPen(AccessColor(sys::kButtonText));
                p.drawText(sel, Qt::AlignCenter, QStringLiteral("*"));
            }
        }
        record_ = 0;
    }

    QFont datasheetFont() const {
        const auto& props = form_->properties;
        return AccessFont(Text(props, "DatasheetFontName").empty()
                              ? "ＭＳ Ｐゴシック"
                              : Text(props, "DatasheetFontName"),
                          static_cast<double>(Int(props, "DatasheetFontHeight", 10)),
                          static_cast<int>(Int(props, "DatasheetFontWeight", 400)));
    }

    int datasheetRowHeight() const { return QFontMetrics(datasheetFont()).height() + 4; }

    std::string headingOf(const Control& control) const {
        for (const auto& c : form_->controls) {
            if (c.controlType() == kLabel && util::UCase(c.parent) == util::UCase(control.name()))
                return Text(c.properties, "Caption");
        }
        return control.name();
    }

    std::vector<std::pair<const Control*, int>> datasheetColumns() const {
        std::vector<std::pair<const Control*, int>> columns;
        const QFontMetrics metrics(datasheetFont());
        for (const auto& c : form_->controls) {
            const int type = c.controlType();
            if (type != kTextBox && type != kComboBox && type != kCheckBox && type != kListBox)
                continue;
            if (!Flag(c.properties, "Visible", true))
                continue;
            const int stored = Px(Int(c.properties, "ColumnWidth", -1));
            const int width =
                stored > 0 ? stored : std::max(64, metrics.horizontalAdvance(Q(headingOf(c))) + 12);
            columns.emplace_back(&c, std::min(width, 400));
        }
        return columns;
    }

    // "レコード: |◀ ◀ [  1] ▶ ▶| ▶* / N" as Access 2000 Japanese drew it.
    void drawNavigation(QPainter& p, const QRect& bar) {
        p.fillRect(bar, AccessColor(sys::kButtonFace));
        p.fillRect(QRect(bar.left(), bar.top(), bar.width(), 1), AccessColor(sys::kButtonShadow));
        const QFont font = AccessFont("Tahoma", 8);
        const QFontMetrics metrics(font);
        p.setFont(font);
        p.setPen(AccessColor(sys::kButtonText));
        const QString label = QStringLiteral("レコード: ");
        int x = bar.left() + 4;
        const QRect inner = bar.adjusted(0, 1, 0, 0);
        p.drawText(QRect(x, inner.top(), metrics.horizontalAdvance(label), inner.height()),
                   Qt::AlignVCenter, label);
        x += metrics.horizontalAdvance(label);
        const int button = inner.height();
        auto glyphButton = [&](const QString& glyph) {
            const QRect b(x, inner.top(), button, inner.height());
            DrawButtonFace(p, b);
            p.drawText(b, Qt::AlignCenter, glyph);
            x += button;
        };
        glyphButton(QStringLiteral("|◀"));
        glyphButton(QStringLiteral("◀"));
        const QRect number(x, inner.top(), 40, inner.height());
        p.fillRect(number, AccessColor(sys::kWindow));
        DrawBorder(p, number, Border{.effect = Effect::Sunken});
        p.drawText(number.adjusted(2, 0, -4, 0), Qt::AlignVCenter | Qt::AlignRight,
                   QStringLiteral("1"));
        x += number.width();
        glyphButton(QStringLiteral("▶"));
        glyphButton(QStringLiteral("▶|"));
        glyphButton(QStringLiteral("▶*"));
        const QString count = recordCount_ ? QStringLiteral(" / %1").arg(*recordCount_) : QString();
        p.drawText(QRect(x, inner.top(), bar.right() - x, inner.height()), Qt::AlignVCenter, count);
    }

    void drawWindow(QPainter& p, const QRect& outer, int frame) {
        const auto& props = form_->properties;
        p.fillRect(outer, AccessColor(sys::kButtonFace));
        DrawBorder(p, outer, Border{.effect = Effect::Raised});
        const QRect bar(outer.left() + frame, outer.top() + frame, outer.width() - 2 * frame,
                        kCaptionHeight);
        QLinearGradient gradient(bar.topLeft(), bar.topRight());
        gradient.setColorAt(0, AccessColor(sys::kActiveCaption));
        gradient.setColorAt(1, AccessColor(sys::kGradientCaption));
        p.fillRect(bar, gradient);
        std::string caption = Text(props, "Caption");
        if (caption.empty())
            caption = form_->name;
        if (design_)
            caption = form_->name + " : フォーム";
        QFont font = AccessFont("Tahoma", 8, 700);
        p.setFont(font);
        p.setPen(AccessColor(sys::kCaptionText));
        int buttonsLeft = bar.right() + 1;
        if (Flag(props, "ControlBox", true)) {
            const int minMax = static_cast<int>(Int(props, "MinMaxButtons", 3));
            const QSize size(16, 14);
            auto button = [&](const QString& glyph, int gap) {
                buttonsLeft -= size.width() + gap;
                const QRect b(QPoint(buttonsLeft, bar.top() + 2), size);
                DrawButtonFace(p, b);
                p.setPen(AccessColor(sys::kButtonText));
                p.setFont(AccessFont("Tahoma", 7, 700));
                p.drawText(b, Qt::AlignCenter, glyph);
            };
            button(QStringLiteral("×"), 2);
            if (minMax != 0) {
                button(QStringLiteral("□"), 2);
                button(QStringLiteral("_"), 0);
            }
        }
        p.setFont(font);
        p.setPen(AccessColor(sys::kCaptionText));
        p.drawText(QRect(bar.left() + 4, bar.top(), buttonsLeft - bar.left() - 6, bar.height()),
                   Qt::AlignVCenter | Qt::AlignLeft, Q(caption));
    }

    RenderOptions options_;
    RenderSources sources_;
    int depth_ = 0;
    std::set<std::string> drawing_;
    const DesignObject* form_ = nullptr;
    bool design_ = false;
    std::map<std::string, std::size_t> byName_;
    std::map<std::string, const Control*> shownPage_;  // by tab control
    std::vector<std::map<std::string, std::string>> records_;
    std::optional<long> recordCount_;
    std::vector<Band> bands_;
    std::vector<PlacedControl> placed_;
    int formWidth_ = 0;
    int selector_ = 0;
    int navigation_ = 0;
    bool dividers_ = false;
    std::vector<std::pair<const Control*, int>> datasheet_;  // columns and their widths
    int clientWidth_ = 0;
    int clientHeight_ = 0;
    int record_ = 0;
};

}  // namespace

FormPicture RenderForm(const DesignObject& form, const RenderOptions& options,
                       const RenderSources& sources) {
    return Renderer(options, sources, 0, {util::UCase(form.name)}).render(form);
}

}  // namespace zanfor::render
