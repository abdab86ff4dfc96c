#include "cli/report_engine.h"

#include <dlfcn.h>

#include <mutex>
#include <string>
#include <system_error>

#include "host/error.h"

namespace zanfor::cli {

std::filesystem::path FindReportModule(const std::filesystem::path& program, std::string& tried) {
    const auto folder = program.parent_path();
    std::error_code ec;
    for (const auto& candidate : {folder / kReportModuleName,
                                  folder.parent_path() / "lib" / "zanfor" / kReportModuleName}) {
        tried += (tried.empty() ? "" : ", ") + candidate.string();
        if (std::filesystem::is_regular_file(candidate, ec))
            return candidate;
    }
    return {};
}

namespace {

const ReportEngineApi* Load(std::string& why) {
    std::string tried;
    std::error_code ec;
    const auto program = std::filesystem::read_symlink("/proc/self/exe", ec);
    const auto module = ec ? std::filesystem::path() : FindReportModule(program, tried);
    if (module.empty()) {
        why = "レポート機能なしで構築されています (" + tried + " がありません)";
        return nullptr;
    }
    // Never unloaded: its Qt application lives until the program ends.
    void* handle = ::dlopen(module.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* error = ::dlerror();
        why = "レポート機能を読み込めません: " + std::string(error ? error : module.string());
        return nullptr;
    }
    const auto entry = reinterpret_cast<ReportEngineEntry>(::dlsym(handle, kReportEngineEntry));
    if (!entry) {
        why = "レポート機能 " + module.string() + " の入口がありません";
        return nullptr;
    }
    return entry();
}

}  // namespace

const ReportEngineApi& ReportEngine() {
    static std::string why;
    static const ReportEngineApi* api = nullptr;
    static std::once_flag loaded;
    std::call_once(loaded, [] { api = Load(why); });
    if (!api) {
        throw host::Error(
            host::err::kNoReportEngine,
            "この版の zanfor-cli はレポートとフォームの画像を出力できません (" + why + ")。");
    }
    return *api;
}

}  // namespace zanfor::cli
