#pragma once

// cmdFmImage: the picture of the form chosen in cboFmImage, taken through the CaptureDesk and
// shown in the viewer once the capture time has passed.

#include <string_view>

#include "commands/commands.h"
#include "host/access.h"

namespace zanfor::host::dao {
class Database;
}

namespace zanfor::app {

inline constexpr std::string_view kCapturePlace = "場所:画面イメージ";
inline constexpr std::string_view kNeedsAnotherForm =
    "他フォームを参照しているため取得出来ません。";
inline constexpr std::string_view kTickDesignView = "デザインビューにチェック後実行してください。";
// The longest wait: the original timer could count no further than 65,535 milliseconds.
inline constexpr int kMaxCaptureSeconds = 65;

// txtCapTime as whole seconds: a number rounds as CInt rounds (half to even); text that is no
// number, empty or negative waits no time; a longer wait than kMaxCaptureSeconds is cut to it.
int CaptureDelaySeconds(std::string_view text);

// Access refuses to open in form view a form whose record source asks for a value of another
// form (Forms!name!control), directly or through the saved query it names: the form would
// prompt for it. Error 2501, the cancelled opening, stands for that refusal.
bool NeedsAnotherForm(const host::access::DesignObject& form, host::dao::Database& database);

// Without a CaptureDesk (the command line has its own verb for pictures) nothing happens.
CommandEnd RunFormCapture(CommandContext& context);

}  // namespace zanfor::app
