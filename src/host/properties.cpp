#include "host/properties.h"

#include <algorithm>
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

Properties::Properties(std::initializer_list<Property> items) : items_(items) { rebuildIndex(); }

Properties::Properties(std::vector<Property> items) : items_(std::move(items)) { rebuildIndex(); }

void Properties::rebuildIndex() {
    index_.clear();
    index_.reserve(items_.size());
    for (std::size_t i = 0; i < items_.size(); ++i) {
        index_.push_back({util::HashIgnoreCase(items_[i].name), static_cast<std::uint32_t>(i)});
    }
    std::sort(index_.begin(), index_.end());
}

// Slots of one hash are in position order, so the first equal name is the one a walk from the
// start would meet, as DAO's lookup did.
std::size_t Properties::indexOf(std::string_view name) const {
    return lookup(name, util::HashIgnoreCase(name));
}

std::size_t Properties::lookup(std::string_view name, std::uint32_t hash) const {
    auto it = std::lower_bound(index_.begin(), index_.end(), Slot{hash, 0});
    for (; it != index_.end() && it->hash == hash; ++it) {
        if (util::EqualsIgnoreCase(items_[it->index].name, name))
            return it->index;
    }
    return npos;
}

const Property* Properties::find(std::string_view name) const {
    const std::size_t i = indexOf(name);
    return i == npos ? nullptr : &items_[i];
}

const Value& Properties::get(std::string_view name) const {
    if (const auto* p = find(name))
        return p->value;
    notFound(name);
}

void Properties::set(std::string_view name, Value value) {
    const std::size_t i = indexOf(name);
    if (i == npos)
        notFound(name);
    items_[i].value = std::move(value);
}

void Properties::setAt(std::size_t index, Value value) {
    at(index);
    items_[index].value = std::move(value);
}

void Properties::put(std::string name, Value value) {
    const std::uint32_t hash = util::HashIgnoreCase(name);
    if (const std::size_t i = lookup(name, hash); i != npos) {
        items_[i].value = std::move(value);
        return;
    }
    const Slot slot{hash, static_cast<std::uint32_t>(items_.size())};
    index_.insert(std::upper_bound(index_.begin(), index_.end(), slot), slot);
    items_.push_back({std::move(name), std::move(value)});
}

}  // namespace zanfor::host
