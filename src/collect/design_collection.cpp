#include "collect/design_collection.h"

#include <optional>

#include "collect/object_inventory.h"
#include "collect/vocabulary.h"
#include "host/error.h"
#include "util/vb_string.h"

namespace zanfor::collect {

namespace {

using host::Value;
using host::access::DesignObject;
using host::access::ObjectType;
using util::LeftRTrim;

constexpr std::size_t kNameLength = 150;
constexpr std::size_t kCaptionLength = 100;
constexpr std::size_t kEventValueLength = 60;
constexpr int kEventSlots = 4;

Value InfoValue(const DesignObject& d, const InfoField& f) {
    const bool unknown = d.isUnknown(f.property);
    const Value v = unknown ? Value() : d.properties.get(f.property);
    const std::string text = unknown ? std::string(kUnknownValue) : v.toText();
    switch (f.shape) {
        case InfoShape::Labelled:
            return std::string(f.label) + text;
        case InfoShape::Text100:
            return LeftRTrim(text, kCaptionLength);
        case InfoShape::Number:
            return v;
        case InfoShape::YesNo:
            return unknown ? Value() : Value(v.toBool());
        default:
            return text;
    }
}

class Walk {
public:
    Walk(RunContext& ctx, const DesignKind& kind, const DesignSelection& selection,
         DesignTables tables, const AfterControls& after)
        : ctx_(ctx),
          kind_(kind),
          selection_(selection),
          tables_(tables),
          after_(after),
          controls_(tables.items, kind.type, static_cast<Listing>(selection.listing)) {}

    void run() {
        if (selection_.listing != static_cast<std::int16_t>(Listing::Simple) &&
            selection_.listing != static_cast<std::int16_t>(Listing::Detailed))
            return;
        if (selection_.selection == 2) {
            one(selection_.picked, selection_.picked, false);
        } else if (selection_.selection == 1) {
            for (const auto& document : ctx_.access->currentDb().documents(kind_.container)) {
                one(document.name, LeftRTrim(document.name, kNameLength), true);
                ShowProgress(ctx_, objectNo_, selection_.total);
            }
        }
    }

private:
    void one(const std::string& openName, const std::string& name, bool showName) {
        std::optional<OpenDesign> open;
        try {
            open.emplace(*ctx_.access, kind_.type, openName);
        } catch (const host::Error& e) {
            unreadable(name, e);
            return;
        }
        if (showName)
            ctx_.ui.showMessage(std::string(kind_.subject) + "　取得中　(" + name + ")");
        const DesignObject& design = open->design();
        infoRow(design, name);
        controls_.write(design, objectNo_);
        if (after_)
            after_(design, objectNo_);
        open->close();
    }

    void infoRow(const DesignObject& d, const std::string& name) {
        auto& info = tables_.info;
        info.addNew();
        info.set("objectNo", ++objectNo_);
        for (const auto& f : kind_.fields)
            info.set(f.field, InfoValue(d, f));
        info.set("Midasi", selection_.listing);
        eventSlots(d);
        document(name);
        info.update();
    }

    // The first four event properties that hold something, in index order. A property the
    // design does not tell may hold nothing: those it does tell come first, so that no known
    // procedure is crowded out by a maybe, and the unknown ones take the slots left.
    void eventSlots(const DesignObject& d) {
        int slot = 0;
        for (const bool told : {true, false}) {
            const std::size_t count = d.properties.count();
            for (std::size_t i = kind_.firstEvent;
                 i <= kind_.lastEvent && i < count && slot < kEventSlots; ++i) {
                const auto& p = d.properties.at(i);
                if ((kind_.notAnEvent && i == *kind_.notAnEvent) || d.isUnknown(p.name) == told)
                    continue;
                const std::string value = told ? p.value.toText() : std::string(kUnknownValue);
                if (value.empty())
                    continue;
                const std::string n = std::to_string(++slot);
                tables_.info.set("Ibent" + n, EventPropertyLabel(p.name))
                    .set("IbentVL" + n, LeftRTrim(value, kEventValueLength));
            }
        }
    }

    // The name, dates and description of the container's document of that name, if any.
    void document(const std::string& name) {
        for (const auto& doc : ctx_.access->currentDb().documents(kind_.container)) {
            if (doc.name != name)
                continue;
            tables_.info.set(kind_.nameField, LeftRTrim(name, kNameLength))
                .set("DateCreated", workdb::DateOrNull(doc.dateCreated))
                .set("LastUpdated", workdb::DateOrNull(doc.lastUpdated))
                .set("Description", DescriptionOf(doc.properties));
            return;
        }
    }

    // The object keeps its number and its row, which says why nothing more of it is listed.
    void unreadable(const std::string& name, const host::Error& why) {
        NoteUnreadable(ctx_, name, why);
        auto& info = tables_.info;
        info.addNew();
        info.set("objectNo", ++objectNo_);
        // Nothing of the settings is known; a yes/no or number left unset would read as 0.
        for (const auto& f : kind_.fields)
            info.set(f.field, Value());
        info.set("RecordSource", UnreadableNote(why)).set("Midasi", selection_.listing);
        document(name);
        info.update();
    }

    RunContext& ctx_;
    const DesignKind& kind_;
    const DesignSelection& selection_;
    DesignTables tables_;
    const AfterControls& after_;
    ControlRowWriter controls_;
    std::int64_t objectNo_ = 0;
};

}  // namespace

void CollectDesigns(RunContext& ctx, const DesignKind& kind, const DesignSelection& selection,
                    DesignTables tables, const AfterControls& after) {
    if (!ctx.access)
        throw host::Error(host::err::kAccessClosed, "データベースが開かれていません。");
    Walk(ctx, kind, selection, tables, after).run();
}

}  // namespace zanfor::collect
