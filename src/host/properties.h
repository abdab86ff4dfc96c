#pragma once

// An ordered Properties collection as DAO and Access enumerated it. Order matters: the program
// walks some collections from the last index down, and reads event properties by index.

#include <compare>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "host/value.h"

namespace zanfor::host {

struct Property {
    std::string name;
    Value value;
};

class Properties {
public:
    Properties() = default;
    Properties(std::initializer_list<Property> items);
    // Of names repeated in `items`, find sees the first.
    explicit Properties(std::vector<Property> items);

    std::size_t count() const { return items_.size(); }
    // Host error 3265 outside the collection, as DAO's Properties(i) raised.
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
    // Room for `count` entries, so that appending does not move the ones there.
    void reserve(std::size_t count) {
        items_.reserve(count);
        index_.reserve(count);
    }

    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

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
    void rebuildIndex();
    std::size_t lookup(std::string_view name, std::uint32_t hash) const;

    std::vector<Property> items_;
    std::vector<Slot> index_;
};

}  // namespace zanfor::host
