#include "host/properties.h"

#include <utility>

#include "host/error.h"
#include "util/vb_string.h"

namespace zanfor::host {

namespace {
[[noreturn]] void notFound(std::string_view name) {
    throw Error(err::kPropertyNotFound,
                "プロパティ '" + std::string(name) + "' が見つかりません。");
}
}  // namespace

const Property& Properties::at(std::size_t index) const {
    if (index >= items_.size()) {
        throw Error(err::kItemNotFound, "コレクションにアイテムが見つかりません。");
    }
    return items_[index];
}

const Property* Properties::find(std::string_view name) const {
    for (const auto& p : items_) {
        if (util::EqualsIgnoreCase(p.name, name))
            return &p;
    }
    return nullptr;
}

Property* Properties::findMutable(std::string_view name) {
    return const_cast<Property*>(std::as_const(*this).find(name));
}

const Value& Properties::get(std::string_view name) const {
    if (const auto* p = find(name))
        return p->value;
    notFound(name);
}

void Properties::set(std::string_view name, Value value) {
    auto* p = findMutable(name);
    if (!p)
        notFound(name);
    p->value = std::move(value);
}

void Properties::put(std::string name, Value value) {
    if (auto* p = findMutable(name)) {
        p->value = std::move(value);
    } else {
        items_.push_back({std::move(name), std::move(value)});
    }
}

}  // namespace zanfor::host
