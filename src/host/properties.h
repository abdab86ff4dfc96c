#pragma once

// An ordered Properties collection as DAO and Access enumerated it. Order matters: the program
// walks some collections from the last index down, and reads event properties by index.

#include <cstddef>
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
    Properties(std::initializer_list<Property> items) : items_(items) {}

    std::size_t count() const { return items_.size(); }
    // Host error 3265 outside the collection, as DAO's Properties(i) raised.
    const Property& at(std::size_t index) const;

    // Names are matched without regard to case, as DAO did; nullptr when absent.
    const Property* find(std::string_view name) const;
    bool contains(std::string_view name) const { return find(name) != nullptr; }
    // Host error 3270 when the collection has no such property.
    const Value& get(std::string_view name) const;
    // Changes an existing property; host error 3270 when it is absent. The change lives in
    // this collection only: nothing is ever written back to the target file.
    void set(std::string_view name, Value value);
    // Appends, or replaces the value of a property of that name keeping its place.
    void put(std::string name, Value value);

    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

private:
    Property* findMutable(std::string_view name);
    std::vector<Property> items_;
};

}  // namespace zanfor::host
