#include "host/access.h"

namespace zanfor::host::access {

const GroupLevel& DesignObject::groupLevel(int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= groupLevels.size()) {
        throw Error(err::kNoGroupLevel,
                    "並べ替え/グループ化のレベル " + std::to_string(index) + " は存在しません。");
    }
    return groupLevels[static_cast<std::size_t>(index)];
}

}  // namespace zanfor::host::access
