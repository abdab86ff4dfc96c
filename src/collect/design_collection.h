#pragma once

// What the form and report design collectors share: the walk over the objects (every document
// of the container, or the one chosen in the picker), each opened in design view, written and
// closed again; the object's row with its settings, first four event procedures and the
// document's name, dates and description; and its control rows. A design that does not read
// costs that object alone: its row says so and the run ends reporting it.

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "collect/collector_run.h"
#include "collect/control_rows.h"
#include "host/access.h"
#include "workdb/work_database.h"

namespace zanfor::collect {

// How a field of the object's row is made from the object's property of the same meaning.
enum class InfoShape : std::uint8_t {
    Labelled,  // `label` followed by the text
    Text,
    Text100,  // the first 100 characters, trailing blanks removed
    Number,
    YesNo,
};

struct InfoField {
    std::string_view field{};
    std::string_view property{};
    InfoShape shape = InfoShape::Text;
    std::string_view label{};
};

struct DesignKind {
    host::access::ObjectType type = host::access::ObjectType::Form;
    std::string_view container{};  // "Forms"
    std::string_view subject{};    // "フォーム情報", the progress message's subject
    std::string_view nameField{};  // "FormName"
    std::span<const InfoField> fields{};
    // The event properties of the object's Properties collection, by index; `notAnEvent`
    // lies inside that range and is passed over.
    std::size_t firstEvent = 0;
    std::size_t lastEvent = 0;
    std::optional<std::size_t> notAnEvent{};
};

struct DesignTables {
    workdb::RowWriter& info;
    workdb::RowWriter& items;
};

// Called after the controls of each object that read.
using AfterControls =
    std::function<void(const host::access::DesignObject& design, std::int64_t objectNo)>;

// The selection: 1 every document of the container, 2 the object named `picked`; any other
// selection or listing mode collects nothing. `total` sizes the gauge of a walk over all.
struct DesignSelection {
    std::int16_t listing = 1;
    std::int16_t selection = 1;
    std::string picked{};
    long total = 0;
};

void CollectDesigns(RunContext& ctx, const DesignKind& kind, const DesignSelection& selection,
                    DesignTables tables, const AfterControls& after = {});

}  // namespace zanfor::collect
