#include "cli/graph_commands.h"

#include <charconv>
#include <iostream>
#include <optional>

#include "cli/console_ui.h"
#include "core/error_report.h"
#include "graph/graph_builder.h"
#include "graph/graph_output.h"
#include "graph/unused.h"
#include "host/access/file_application.h"
#include "host/error.h"

namespace zanfor::cli {

namespace {

constexpr int kOk = 0;
constexpr int kReportedError = 1;
constexpr int kUsage = 2;
// Deeper than any real chain of references, and small enough to keep the output finite.
constexpr int kMaxDepth = 50;

enum class Format { Text, Json, Dot };

int usage(std::ostream& err, const std::string& why) {
    err << "zanfor-cli: " << why << "\n";
    return kUsage;
}

int reported(std::ostream& err, const std::string& place, const std::exception& e) {
    PrintErrorReport(err, app::BuildErrorReport(place, e, app::WindowKind::Main));
    return kReportedError;
}

// The graph of the target at `path`; host errors of opening it propagate.
graph::DependencyGraph graphOf(const std::string& path) {
    host::access::FileApplication app;
    app.openCurrentDatabase(path);
    graph::DependencyGraph g = graph::BuildGraph(app.currentDb(), app);
    app.closeCurrentDatabase();
    return g;
}

std::optional<int> depthOf(const std::string& text) {
    int depth = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), depth);
    if (ec != std::errc() || end != text.data() + text.size() || depth < 1 || depth > kMaxDepth)
        return std::nullopt;
    return depth;
}

}  // namespace

int RunDeps(const std::vector<std::string>& args) { return RunDeps(args, std::cout, std::cerr); }
int RunUnused(const std::vector<std::string>& args) {
    return RunUnused(args, std::cout, std::cerr);
}

int RunDeps(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::vector<std::string> positional;
    Format format = Format::Text;
    int depth = 1;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--json" || args[i] == "--dot") {
            if (format != Format::Text)
                return usage(err, "--json と --dot は一緒に指定できません");
            format = args[i] == "--json" ? Format::Json : Format::Dot;
        } else if (args[i] == "--depth") {
            const auto d = i + 1 < args.size() ? depthOf(args[++i]) : std::nullopt;
            if (!d)
                return usage(err, "--depth には 1 から 50 の数を指定してください");
            depth = *d;
        } else if (args[i].starts_with("--") || positional.size() == 2) {
            return usage(err, "deps の引数が正しくありません: " + args[i]);
        } else {
            positional.push_back(args[i]);
        }
    }
    if (positional.empty() || (positional.size() == 1 && format == Format::Text))
        return usage(err, "deps には対象と名前を指定してください");
    try {
        const graph::DependencyGraph g = graphOf(positional[0]);
        if (positional.size() == 1) {
            format == Format::Json ? graph::WriteGraphJson(g, out) : graph::WriteGraphDot(g, out);
            return kOk;
        }
        const auto nodes = g.named(positional[1]);
        if (nodes.empty())
            throw host::Error(
                host::err::kNoSuchObject,
                "'" + positional[1] + "' というオブジェクトまたはプロシージャは見つかりません。");
        if (format == Format::Json)
            graph::WriteDepsJson(g, nodes, depth, out);
        else if (format == Format::Dot)
            graph::WriteDepsDot(g, nodes, depth, out);
        else
            graph::WriteDepsText(g, nodes, depth, out);
        return kOk;
    } catch (const std::exception& e) {
        return reported(err, "場所:deps", e);
    }
}

int RunUnused(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::string target;
    bool json = false;
    for (const auto& arg : args) {
        if (arg == "--json")
            json = true;
        else if (arg.starts_with("--") || !target.empty())
            return usage(err, "unused の引数が正しくありません: " + arg);
        else
            target = arg;
    }
    if (target.empty())
        return usage(err, "unused には対象を指定してください");
    try {
        const graph::DependencyGraph g = graphOf(target);
        const auto entries = graph::FindUnused(g);
        json ? graph::WriteUnusedJson(g, entries, out) : graph::WriteUnusedText(g, entries, out);
        return kOk;
    } catch (const std::exception& e) {
        return reported(err, "場所:unused", e);
    }
}

}  // namespace zanfor::cli
