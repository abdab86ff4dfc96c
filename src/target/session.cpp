#include "target/session.h"

namespace zanfor::target {

void Session::release() {
    if (access) {
        try {
            access->closeCurrentDatabase();
        } catch (const host::Error&) {
        }
    }
    access.reset();
    target.reset();
    work.reset();
}

void GiveBackStartupSettings(host::dao::Database& target, const app::SavedStartupSettings& saved) {
    const std::pair<const char*, host::Value> values[] = {
        {"StartupForm", saved.startupForm},
        {"StartupShowDBWindow", saved.startupShowDbWindow},
        {"AllowFullMenus", saved.allowFullMenus},
    };
    for (const auto& [name, value] : values) {
        try {
            target.properties().set(name, value);
        } catch (const host::Error&) {
        }
    }
}

}  // namespace zanfor::target
