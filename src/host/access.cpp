#include "host/access.h"

#include <algorithm>

#include "util/vb_string.h"

namespace zanfor::host::access {

bool IsListed(const std::vector<std::string>& names, std::string_view name) {
    return std::any_of(names.begin(), names.end(),
                       [&](const std::string& n) { return util::EqualsIgnoreCase(n, name); });
}

const GroupLevel& DesignObject::groupLevel(int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= groupLevels.size()) {
        throw Error(err::kNoGroupLevel,
                    "並べ替え/グループ化のレベル " + std::to_string(index) + " は存在しません。");
    }
    return groupLevels[static_cast<std::size_t>(index)];
}

std::shared_ptr<const Module> Application::documentModule(ObjectType type,
                                                          const std::string& name) {
    auto& object =
        type == ObjectType::Report ? openReport(name, View::Design) : openForm(name, View::Design);
    auto module = object.module;
    close(type, object.name);
    return module;
}

Module Application::convertMacro(const std::string&) {
    throw Error(2046, "コマンドまたはアクション 'マクロの変換' は、現在使用できません。");
}

}  // namespace zanfor::host::access
