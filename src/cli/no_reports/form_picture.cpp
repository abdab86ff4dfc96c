#include "cli/form_picture.h"

#include "host/error.h"

namespace zanfor::cli {

void WriteFormPicture(const host::access::DesignObject&, host::access::Application&,
                      host::dao::Database&, const std::filesystem::path&, bool, bool) {
    throw host::Error(30041,
                      "この版の zanfor-cli はフォームの画像を出力できません "
                      "(レポート機能なしで構築されています)。");
}

}  // namespace zanfor::cli
