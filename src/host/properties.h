#pragma once

// An ordered Properties collection as DAO and Access enumerated it. Order matters: the program
// walks some collections from the last index down, and reads event properties by index.

#include <compare>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "host/value.h"

namespace zanfor::host {

struct Property {
    std::string name;
    Value value;
};

// A design holds one collection per control, each its type's hundred-odd defaults with a dozen
// settings of its own. So a collection shares the entries it was made with (a copy costs
// nothing) and keeps only what changed since, and what was added, apart.
class Properties {
public:
    Properties() = default;
    Properties(std::initializer_list<Property> items);
    // Of names repeated in `items`, find sees the first.
    explicit Properties(std::vector<Property> items);

    std::size_t count() const {
        return shared_ ? shared_->items.size() + added_.size() : added_.size();
    }
    // Host error 3265 outside the collection, as DAO's Properties(i) raised. The entry stays
    // valid until the collection next changes.
    const Property& at(std::size_t index) const;

    // Names are matched without regard to case, as DAO did; nullptr when absent.
    const Property* find(std::string_view name) const;
    // The position of that property, npos when absent.
    std::size_t indexOf(std::string_view name) const;
    bool contains(std::string_view name) const { return find(name) != nullptr; }
    // Host error 3270 when the collection has no such property.
    const Value& get(std::string_view name) const;
    // Changes an existing property; host error 3270 when it is absent. The change lives in
    // this collection only: nothing is ever written back to the target file.
    void set(std::string_view name, Value value);
    // Appends, or replaces the value of a property of that name keeping its place.
    void put(std::string name, Value value);
    // Changes the value at a position; host error 3265 outside the collection.
    void setAt(std::size_t index, Value value);
    // Room for `count` changed or added entries.
    void reserve(std::size_t count) { changed_.reserve(count); }

    class Iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = Property;
        using difference_type = std::ptrdiff_t;
        using pointer = const Property*;
        using reference = const Property&;

        Iterator() = default;
        Iterator(const Properties* owner, std::size_t index) : owner_(owner), index_(index) {}
        reference operator*() const { return owner_->at(index_); }
        pointer operator->() const { return &owner_->at(index_); }
        Iterator& operator++() {
            ++index_;
            return *this;
        }
        Iterator operator++(int) {
            Iterator before = *this;
            ++index_;
            return before;
        }
        friend bool operator==(const Iterator& a, const Iterator& b) {
            return a.index_ == b.index_;
        }

    private:
        const Properties* owner_ = nullptr;
        std::size_t index_ = 0;
    };

    Iterator begin() const { return {this, 0}; }
    Iterator end() const { return {this, count()}; }

    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

private:
    // Reading a design is mostly lookups by name, and a database holds thousands of these
    // collections of a hundred or more entries each: a sorted array of (case-blind hash,
    // position) pairs finds a name in a few steps at 8 bytes an entry.
    struct Slot {
        std::uint32_t hash;
        std::uint32_t index;
        auto operator<=>(const Slot&) const = default;
    };
    struct Shared {
        std::vector<Property> items;
        std::vector<Slot> index;
    };
    // A shared entry given a value of this collection's own.
    struct Change {
        std::uint32_t index;
        Property property;
    };

    std::size_t sharedCount() const { return shared_ ? shared_->items.size() : 0; }
    std::size_t lookup(std::string_view name, std::uint32_t hash) const;
    const Change* changeAt(std::size_t index) const;

    std::shared_ptr<const Shared> shared_;
    std::vector<Change> changed_;  // in the order of their positions
    std::vector<Property> added_;  // after the shared entries
    std::vector<Slot> addedIndex_;
};

}  // namespace zanfor::host
