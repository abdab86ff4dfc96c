#include "vba/vba_fixture.h"

#include "host/access/file_application.h"
#include "host/jet/jet_database.h"

namespace zanfor::test {

VbaFixture::VbaFixture(CollectorFixture fixture) : collector(std::move(fixture)) {}

VbaFixture VbaFixture::ForTarget(std::shared_ptr<const host::memory::MemoryTarget> target) {
    VbaFixture f(CollectorFixture(std::make_unique<host::memory::MemoryDatabase>(target)));
    f.engine = std::make_unique<host::memory::MemoryEngine>();
    f.engine->add(target);
    f.access = std::make_unique<host::memory::MemoryApplication>(*f.engine);
    f.access->openCurrentDatabase(target->path);
    f.access->setVisible(true);
    return f;
}

VbaFixture VbaFixture::ForFile(const std::filesystem::path& file) {
    VbaFixture f(CollectorFixture(host::jet::JetEngine().openDatabase(file.string())));
    f.access = std::make_unique<host::access::FileApplication>();
    f.access->openCurrentDatabase(file.string());
    f.access->setVisible(true);
    return f;
}

collect::RunContext VbaFixture::context() {
    collect::RunContext ctx = collector.context();
    ctx.access = access.get();
    return ctx;
}

std::vector<std::string> VbaFixture::events(std::string_view prefix) const {
    std::vector<std::string> out;
    for (const auto& e : collector.ui.events)
        if (e.starts_with(prefix))
            out.push_back(e.substr(prefix.size()));
    return out;
}

std::string Code(std::initializer_list<std::string_view> lines) {
    std::string text;
    for (std::string_view line : lines)
        text.append(line).append("\r\n");
    return text;
}

std::string Repeat(std::string_view text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i)
        out += text;
    return out;
}

}  // namespace zanfor::test
