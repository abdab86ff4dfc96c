#include "collect/design_fixture.h"

#include "host/access/property_schema.h"

namespace zanfor::test {

host::access::Control SchemaControl(std::string_view kind, const std::string& name,
                                    const Stored& stored, Placed placed) {
    Stored all{{"Name", host::Value(name)}};
    all.insert(all.end(), stored.begin(), stored.end());
    host::access::Control c;
    c.properties =
        host::access::BuildProperties(kind, {placed.inReport, placed.inOptionGroup}, all);
    c.unknown = std::move(placed.unknown);
    return c;
}

host::memory::DesignBuilder SchemaForm(host::memory::MemoryTargetBuilder& builder,
                                       const std::string& name, const Stored& stored) {
    return builder.form(name).properties(host::access::BuildProperties("Form", {}, stored));
}

host::memory::DesignBuilder SchemaReport(host::memory::MemoryTargetBuilder& builder,
                                         const std::string& name, const Stored& stored) {
    return builder.report(name).properties(
        host::access::BuildProperties("Report", {.inReport = true}, stored));
}

}  // namespace zanfor::test
