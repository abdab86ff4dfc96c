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

[[noreturn]] void outOfRange() {
    throw Error(err::kItemNotFound, "コレクションにアイテムが見つかりません。");
}
}  // namespace

Properties::Properties(std::initializer_list<Property> items)
    : Properties(std::vector<Property>(items)) {}

Properties::Properties(std::vector<Property> items) {
    auto shared = std::make_shared<Shared>();
    shared->items = std::move(items);
    shared->index.reserve(shared->items.size());
    for (std::size_t i = 0; i < shared->items.size(); ++i) {
        shared->index.push_back(
            {util::HashIgnoreCase(shared->items[i].name), static_cast<std::uint32_t>(i)});
    }
    std::sort(shared->index.begin(), shared->index.end());
    shared_ = std::move(shared);
}

const Properties::Change* Properties::changeAt(std::size_t index) const {
    const auto it = std::lower_bound(changed_.begin(), changed_.end(), index,
                                     [](const Change& c, std::size_t i) { return c.index < i; });
    return it != changed_.end() && it->index == index ? &*it : nullptr;
}

const Property& Properties::at(std::size_t index) const {
    const std::size_t shared = sharedCount();
    if (index < shared) {
        const Change* change = changeAt(index);
        return change ? change->property : shared_->items[index];
    }
    if (index - shared >= added_.size())
        outOfRange();
    return added_[index - shared];
}

// Slots of one hash are in position order, so the first equal name is the one a walk from the
// start would meet, as DAO's lookup did; the shared entries come before the added ones.
std::size_t Properties::indexOf(std::string_view name) const {
    return lookup(name, util::HashIgnoreCase(name));
}

std::size_t Properties::lookup(std::string_view name, std::uint32_t hash) const {
    if (shared_) {
        const auto& index = shared_->index;
        for (auto it = std::lower_bound(index.begin(), index.end(), Slot{hash, 0});
             it != index.end() && it->hash == hash; ++it) {
            if (util::EqualsIgnoreCase(shared_->items[it->index].name, name))
                return it->index;
        }
    }
    for (auto it = std::lower_bound(addedIndex_.begin(), addedIndex_.end(), Slot{hash, 0});
         it != addedIndex_.end() && it->hash == hash; ++it) {
        if (util::EqualsIgnoreCase(added_[it->index].name, name))
            return sharedCount() + it->index;
    }
    return npos;
}

const Property* Properties::find(std::string_view name) const {
    const std::size_t i = indexOf(name);
    return i == npos ? nullptr : &at(i);
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
    setAt(i, std::move(value));
}

void Properties::setAt(std::size_t index, Value value) {
    const std::size_t shared = sharedCount();
    if (index >= shared) {
        if (index - shared >= added_.size())
            outOfRange();
        added_[index - shared].value = std::move(value);
        return;
    }
    const auto it = std::lower_bound(changed_.begin(), changed_.end(), index,
                                     [](const Change& c, std::size_t i) { return c.index < i; });
    if (it != changed_.end() && it->index == index) {
        it->property.value = std::move(value);
        return;
    }
    changed_.insert(it, Change{static_cast<std::uint32_t>(index),
                               Property{shared_->items[index].name, std::move(value)}});
}

void Properties::put(std::string name, Value value) {
    const std::uint32_t hash = util::HashIgnoreCase(name);
    if (const std::size_t i = lookup(name, hash); i != npos) {
        setAt(i, std::move(value));
        return;
    }
    const Slot slot{hash, static_cast<std::uint32_t>(added_.size())};
    addedIndex_.insert(std::upper_bound(addedIndex_.begin(), addedIndex_.end(), slot), slot);
    added_.push_back({std::move(name), std::move(value)});
}

}  // namespace zanfor::host
