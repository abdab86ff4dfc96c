#include "commands/form_capture.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <exception>
#include <string>
#include <utility>

#include "collect/collector_run.h"
#include "commands/main_panel.h"
#include "core/error_report.h"
#include "host/dao.h"
#include "host/error.h"
#include "util/vb_string.h"

namespace zanfor::app {

namespace {

using host::access::ObjectType;
using host::access::View;

// The digits, sign and point a Japanese input method types full-width, and its wide space, in
// the text without the spaces around it.
std::string NarrowNumber(std::string_view text) {
    constexpr std::pair<char32_t, char> kWide[] = {
        {U'．', '.'}, {U'－', '-'}, {U'＋', '+'}, {U'\u3000', ' '}};
    std::string out;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const char32_t c = util::NextUtf8(text, pos);
        const auto* wide = std::find_if(std::begin(kWide), std::end(kWide),
                                        [c](const auto& pair) { return pair.first == c; });
        if (c >= U'０' && c <= U'９')
            out += static_cast<char>('0' + (c - U'０'));
        else if (wide != std::end(kWide))
            out += wide->second;
        else
            util::AppendUtf8(c, out);
    }
    const auto first = out.find_first_not_of(" \t");
    return first == std::string::npos ? std::string()
                                      : out.substr(first, out.find_last_not_of(" \t") - first + 1);
}

bool IsNameChar(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u >= 0x80 || std::isalnum(u) || c == '_';
}

// "Forms!" or "[Forms]!" where it starts a reference, not inside a longer name ("MyForms!").
bool RefersToForms(std::string_view text) {
    const auto lower = util::LCase(text);
    for (const std::string_view start : {"forms!", "[forms]!"}) {
        for (auto at = lower.find(start); at != std::string::npos; at = lower.find(start, at + 1)) {
            if (at == 0 || !IsNameChar(lower[at - 1]))
                return true;
        }
    }
    return false;
}

void CloseQuietly(host::access::Application& access, const std::string& name) {
    try {
        access.close(ObjectType::Form, name);
    } catch (...) {
        // The error being reported is the one the user needs to see.
    }
}

// Whatever went wrong, the main window comes back: the capture hid it, and only Timer2 would
// have shown it again.
CommandEnd ReportFailure(CommandContext& c, const std::string& form, bool formOpen,
                         const std::exception& failure) {
    if (formOpen)
        CloseQuietly(c.access, form);
    c.capture->showMainWindow(true);
    const auto* hostError = dynamic_cast<const host::Error*>(&failure);
    const bool cancelled = hostError && hostError->number() == host::err::kActionCancelled;
    const auto report = cancelled
                            ? BuildSpecialErrorReport(
                                  kCapturePlace, host::err::kActionCancelled,
                                  {std::string(kNeedsAnotherForm), std::string(kTickDesignView)})
                            : BuildErrorReport(kCapturePlace, failure, WindowKind::Main);
    c.ui.messageBox(report.text(), report.title, MsgButtons::Ok, MsgIcon::Critical);
    // The next capture opens the form in design view, where no other form is asked for.
    if (cancelled)
        ClickCheck(c.state, CheckBox::CapKbn, true);
    return report.shutdown ? CommandEnd::ExitRequested : CommandEnd::Done;
}

}  // namespace

int CaptureDelaySeconds(std::string_view text) {
    std::string number = NarrowNumber(text);
    if (!number.empty() && number.front() == '+')
        number.erase(0, 1);
    double seconds = 0;
    const char* end = number.data() + number.size();
    const auto [ptr, ec] = std::from_chars(number.data(), end, seconds);
    if (number.empty() || ec != std::errc() || ptr != end || !std::isfinite(seconds))
        return 0;
    const double whole = std::nearbyint(seconds);  // to nearest, ties to even
    if (whole <= 0)
        return 0;
    return whole >= kMaxCaptureSeconds ? kMaxCaptureSeconds : static_cast<int>(whole);
}

bool NeedsAnotherForm(const host::access::DesignObject& form, host::dao::Database& database) {
    const auto* property = form.properties.find("RecordSource");
    if (!property)
        return false;
    const auto source = property->value.toText();
    if (RefersToForms(source))
        return true;
    for (const auto& query : database.queryDefs()) {
        if (!util::EqualsIgnoreCase(query.name, util::Trim(source)))
            continue;
        try {
            return RefersToForms(query.sql());
        } catch (const host::Error&) {
            return false;  // a query whose SQL cannot be read asks for nothing we can see
        }
    }
    return false;
}

CommandEnd RunFormCapture(CommandContext& c) {
    if (!c.capture)
        return CommandEnd::Done;
    auto& desk = *c.capture;
    const std::string name = c.state.pickers.fmImageText;
    const bool design = c.state.options.capKbn == 1;
    bool formOpen = false;
    try {
        collect::RunContext run{c.state, c.work, c.target, c.ui, &c.access};
        collect::AttachAccess(run);
        desk.showMainWindow(false);
        const auto& form = c.access.openForm(name, design ? View::Design : View::Normal);
        formOpen = true;
        if (!design && NeedsAnotherForm(form, c.access.currentDb())) {
            throw host::Error(host::err::kActionCancelled,
                              "OpenForm アクションの実行はキャンセルされました。");
        }
        desk.emptyClipboard();
        // A form that cannot be drawn leaves the clipboard empty: the viewer then shows nothing.
        desk.captureWindow(form, design, false);
        formOpen = false;
        c.access.close(ObjectType::Form, name);
        desk.startViewerTimer(CaptureDelaySeconds(c.state.header.capTime) * 1000);
        return CommandEnd::Done;
    } catch (const std::exception& e) {
        return ReportFailure(c, name, formOpen, e);
    } catch (...) {
        return ReportFailure(c, name, formOpen,
                             host::Error(host::err::kInvalidProcedureCall, "不明なエラー"));
    }
}

}  // namespace zanfor::app
