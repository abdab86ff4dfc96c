#include "site/graph_svg.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>
#include <set>
#include <utility>

#include "graph/graph_output.h"
#include "util/file_descriptor.h"
#include "util/html_escape.h"
#include "util/vb_string.h"

extern char** environ;

namespace zanfor::site {

namespace {

constexpr const char* kFont = "Noto Sans CJK JP";
constexpr std::size_t kMaxNodes = 40;
constexpr std::size_t kMaxEdgeLabels = 3;
constexpr std::size_t kMaxLabelledEdges = 12;

// Names reach Graphviz inside HTML-like IDs and labels (<...>), where entities are the escapes:
// a quoted DOT string cannot hold a name that ends in a backslash. Labels are still read for
// \N, \G and the like, which a doubled backslash turns back into plain text.
std::string IdText(std::string_view text) {
    std::string clean(text);
    for (char& c : clean) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            c = ' ';  // the label parser rejects control characters
    }
    return util::HtmlEscape(clean);
}

std::string HtmlId(std::string_view text) { return "<" + IdText(text) + ">"; }

std::string LabelText(std::string_view text) {
    std::string label;
    for (const char c : IdText(text)) {
        if (c == '\\')
            label += '\\';
        label += c;
    }
    return label;
}

// The link's tooltip, in a quoted string: Graphviz writes it out escaping all but what looks
// like an entity already, so an ampersand goes in as one.
std::string Tooltip(std::string_view text) {
    std::string quoted = "\"";
    for (const char c : IdText(text)) {
        if (c == '"' || c == '\\')
            quoted += '\\';
        quoted += c;
    }
    if (quoted.back() == '\\')
        quoted += ' ';  // a backslash before the closing quote would escape it
    return quoted + "\"";
}

// A page address inside a quoted DOT string, which Graphviz reads for \N-style commands and
// writes out without decoding: the characters that would end or escape it are percent-encoded,
// which a browser decodes back to the same file name.
std::string UrlAttribute(std::string_view page) {
    std::string quoted = "\"";
    static constexpr char kHex[] = "0123456789ABCDEF";
    for (const char c : page) {
        const auto u = static_cast<unsigned char>(c);
        if (u <= 0x20 || u == 0x7f || c == '"' || c == '\\' || c == '<' || c == '>' || c == '&' ||
            c == '\'') {
            quoted += '%';
            quoted += kHex[u >> 4];
            quoted += kHex[u & 0xf];
        } else {
            quoted += c;
        }
    }
    return quoted + "\"";
}

std::string_view FillOf(graph::NodeKind kind) {
    switch (kind) {
        case graph::NodeKind::Table:
            return "#dbeafe";
        case graph::NodeKind::Query:
            return "#dcfce7";
        case graph::NodeKind::Form:
            return "#fef3c7";
        case graph::NodeKind::Report:
            return "#fce7f3";
        case graph::NodeKind::Macro:
            return "#ede9fe";
        case graph::NodeKind::Module:
            return "#e5e7eb";
        case graph::NodeKind::Procedure:
            return "#f3f4f6";
    }
    return "#ffffff";
}

void Header(std::string& dot, std::string_view title, std::string_view nodeStyle) {
    dot += "digraph " + HtmlId(title) + " {\n";
    dot += "  graph [rankdir=LR, bgcolor=\"transparent\", fontname=\"";
    dot += kFont;
    dot += "\"];\n  node [";
    dot += nodeStyle;
    dot += ", fillcolor=\"#ffffff\", fontname=\"";
    dot += kFont;
    dot += "\", fontsize=10];\n  edge [fontname=\"";
    dot += kFont;
    dot += "\", fontsize=8, color=\"#555555\", fontcolor=\"#555555\"];\n";
}

bool IsSystemTable(std::string_view name) { return util::UCase(util::Left(name, 4)) == "MSYS"; }

}  // namespace

std::string NeighbourhoodDot(const graph::DependencyGraph& g, std::size_t node, int depth,
                             const PageOf& pageOf) {
    const auto& nodes = g.nodes();
    // A module is drawn as one box with its procedures, and a form or report with the code
    // behind it: their calls are the object's uses, their events no arrows to itself.
    std::map<std::size_t, std::size_t> folded;
    const auto& centre = nodes[node];
    const std::string module = centre.kind == graph::NodeKind::Form     ? "Form_" + centre.name
                               : centre.kind == graph::NodeKind::Report ? "Report_" + centre.name
                               : centre.kind == graph::NodeKind::Module ? centre.name
                                                                        : std::string();
    if (!module.empty()) {
        for (const std::size_t p : g.proceduresOf(module))
            folded[p] = node;
    }
    const auto shownAs = [&](std::size_t n) {
        const auto it = folded.find(n);
        return it == folded.end() ? n : it->second;
    };

    // Nearest first, both ways at once, so that a cap cuts the farthest.
    std::vector<graph::Reach> reach;
    std::vector<bool> forward;
    // A module's walk starts from its procedures already; a form's or report's from its own.
    std::vector<std::size_t> starts{node};
    if (centre.kind != graph::NodeKind::Module) {
        for (const auto& entry : folded)
            starts.push_back(entry.first);
    }
    for (const std::size_t start : starts) {
        for (const bool fwd : {true, false}) {
            for (const auto& r : graph::Walk(g, start, depth, fwd)) {
                reach.push_back(r);
                forward.push_back(fwd);
            }
        }
    }
    std::vector<std::size_t> order(reach.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return reach[a].depth < reach[b].depth; });

    std::vector<std::size_t> shown{node};
    std::set<std::size_t> isShown{node};
    std::set<std::size_t> left;
    std::vector<std::pair<std::size_t, std::size_t>> pairs;
    std::map<std::pair<std::size_t, std::size_t>, std::vector<std::string>> labels;
    for (const std::size_t i : order) {
        const graph::Edge& e = g.edges()[reach[i].edge];
        const std::size_t farEnd = shownAs(forward[i] ? e.to : e.from);
        if (!isShown.contains(farEnd)) {
            if (shown.size() >= kMaxNodes) {
                left.insert(farEnd);
                continue;
            }
            shown.push_back(farEnd);
            isShown.insert(farEnd);
        }
        const std::size_t from = shownAs(e.from);
        const std::size_t to = shownAs(e.to);
        if (from == to || !isShown.contains(from) || !isShown.contains(to))
            continue;
        auto [it, added] = labels.try_emplace({from, to});
        if (added)
            pairs.emplace_back(from, to);
        const std::string label(graph::EdgeLabel(e.kind));
        if (std::find(it->second.begin(), it->second.end(), label) == it->second.end())
            it->second.push_back(label);
    }
    if (pairs.empty())
        return {};

    std::string dot;
    Header(dot, graph::NodeTitle(nodes[node]), "shape=box, style=\"rounded,filled\"");
    for (const std::size_t n : shown) {
        const graph::Node& item = nodes[n];
        const std::string title = graph::NodeTitle(item);
        dot += "  " + HtmlId(title) + " [label=<" + std::string(graph::KindLabel(item.kind)) +
               "<br/>" + LabelText(item.name) + ">";
        const std::string page = item.missing || !pageOf ? std::string() : pageOf(n);
        if (!page.empty())
            dot += ", URL=" + UrlAttribute(page) + ", target=\"_top\", tooltip=" + Tooltip(title);
        if (item.missing)
            dot += ", style=\"rounded,dashed\", fontcolor=\"#777777\"";
        else
            dot += ", fillcolor=\"" + std::string(FillOf(item.kind)) + "\"";
        if (n == node)
            dot += ", penwidth=2.5, color=\"#b91c1c\"";
        dot += "];\n";
    }
    if (!left.empty())
        dot += "  <…他 " + std::to_string(left.size()) + " 件> [shape=plaintext, style=\"\"];\n";
    // Labels are most of the layout's work (each is placed like a box of its own), and on a
    // crowd of arrows they say little the page's tables do not: a big picture goes without.
    const bool labelled = pairs.size() <= kMaxLabelledEdges;
    for (const auto& key : pairs) {
        const std::string arrow = "  " + HtmlId(graph::NodeTitle(nodes[key.first])) + " -> " +
                                  HtmlId(graph::NodeTitle(nodes[key.second]));
        if (!labelled) {
            dot += arrow + ";\n";
            continue;
        }
        const auto& names = labels[key];
        std::string label;
        for (std::size_t i = 0; i < names.size() && i < kMaxEdgeLabels; ++i)
            label += (i ? ", " : "") + LabelText(names[i]);
        if (names.size() > kMaxEdgeLabels)
            label += " …";
        dot += arrow + " [label=<" + label + ">];\n";
    }
    dot += "}\n";
    return dot;
}

std::string RelationshipsDot(
    const std::vector<host::dao::Relation>& relations,
    const std::function<std::string(const std::string& table)>& pageOfTable) {
    // Each table with the fields its relationships join, in the order first met, under the
    // spelling first met (Access compares names without regard to case).
    struct Table {
        std::string name;
        std::vector<std::string> fields;
    };
    std::vector<Table> tables;
    std::map<std::string, std::size_t> tableIndex;
    const auto end = [&](const std::string& name, const std::string* field) {
        auto [it, added] = tableIndex.try_emplace(util::UCase(name), tables.size());
        if (added)
            tables.push_back({name, {}});
        Table& table = tables[it->second];
        std::string id = HtmlId(table.name);
        if (field == nullptr)
            return id;
        std::size_t i = 0;
        while (i < table.fields.size() && !util::EqualsIgnoreCase(table.fields[i], *field))
            ++i;
        if (i == table.fields.size())
            table.fields.push_back(*field);
        return id + ":f" + std::to_string(i);
    };
    std::string edges;
    for (const auto& r : relations) {
        // Access's relationships window leaves out its own system tables' relationships.
        if (IsSystemTable(r.table) || IsSystemTable(r.foreignTable))
            continue;
        const bool enforced = (r.attributes & host::dao::dbRelationDontEnforce) == 0;
        const bool unique = (r.attributes & host::dao::dbRelationUnique) != 0;
        const std::string style =
            enforced ? std::string("taillabel=\"1\", headlabel=\"") + (unique ? "1" : "∞") + "\""
                     : std::string("style=dashed");
        if (r.fields.empty())
            edges += "  " + end(r.table, nullptr) + " -> " + end(r.foreignTable, nullptr) + " [" +
                     style + "];\n";
        for (const auto& [field, foreignField] : r.fields)
            edges += "  " + end(r.table, &field) + " -> " + end(r.foreignTable, &foreignField) +
                     " [" + style + "];\n";
    }
    if (tables.empty())
        return {};
    std::string dot;
    Header(dot, "リレーションシップ", "shape=plaintext");
    dot += "  edge [dir=none, labeldistance=1.5];\n";
    for (const auto& table : tables) {
        dot += "  " + HtmlId(table.name) +
               " [label=<<table border=\"0\" cellborder=\"1\" "
               "cellspacing=\"0\" cellpadding=\"3\" bgcolor=\"#ffffff\">"
               "<tr><td bgcolor=\"#dbeafe\"><b>" +
               LabelText(table.name) + "</b></td></tr>";
        for (std::size_t i = 0; i < table.fields.size(); ++i)
            dot += "<tr><td port=\"f" + std::to_string(i) + "\" align=\"left\">" +
                   LabelText(table.fields[i]) + "</td></tr>";
        dot += "</table>>";
        const std::string page = pageOfTable ? pageOfTable(table.name) : std::string();
        if (!page.empty())
            dot += ", URL=" + UrlAttribute(page) +
                   ", target=\"_top\", tooltip=" + Tooltip("テーブル " + table.name);
        dot += "];\n";
    }
    dot += edges + "}\n";
    return dot;
}

namespace {

// One run of `dot` over several graphs: the input written while both outputs are read, so
// that neither side waits on a full pipe.
struct DotRun {
    std::string input;
    std::string output;
    std::string errors;
    std::string spawnError;  // empty when the process ran
    int status = 0;
};

bool Spawn(DotRun& run, const sigset_t& mask, pid_t& pid, util::FileDescriptor& in,
           util::FileDescriptor& out, util::FileDescriptor& err) {
    int fds[3][2];
    for (auto& p : fds) {
        if (pipe2(p, O_CLOEXEC) != 0) {
            run.spawnError = std::strerror(errno);
            return false;
        }
    }
    util::FileDescriptor childIn(fds[0][0]), childOut(fds[1][1]), childErr(fds[2][1]);
    in = util::FileDescriptor(fds[0][1]);
    out = util::FileDescriptor(fds[1][0]);
    err = util::FileDescriptor(fds[2][0]);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, childIn.get(), 0);
    posix_spawn_file_actions_adddup2(&actions, childOut.get(), 1);
    posix_spawn_file_actions_adddup2(&actions, childErr.get(), 2);
    // Lighter network-simplex passes: the pictures are small, and a site has thousands.
    std::string arg0 = "dot", arg1 = "-Tsvg", arg2 = "-Gnslimit=2", arg3 = "-Gnslimit1=2";
    char* argv[] = {arg0.data(), arg1.data(), arg2.data(), arg3.data(), nullptr};
    // dot starts with the signal mask this thread had before SIGPIPE was held.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setsigmask(&attributes, &mask);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK);
    const int rc = posix_spawnp(&pid, "dot", &actions, &attributes, argv, environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) {
        run.spawnError = std::strerror(rc);
        return false;
    }
    fcntl(in.get(), F_SETFL, O_NONBLOCK);
    return true;
}

// Runs the processes side by side until each has read its input and closed its outputs.
void RunAll(std::vector<DotRun>& runs) {
    // A dot that exits early must not take this process with it through SIGPIPE: the signal is
    // held while writing and a pending one taken back afterwards.
    sigset_t pipeSet, old;
    sigemptyset(&pipeSet);
    sigaddset(&pipeSet, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipeSet, &old);
    sigset_t pendingBefore;
    sigpending(&pendingBefore);
    const bool wasPending = sigismember(&pendingBefore, SIGPIPE) == 1;

    struct Live {
        DotRun* run = nullptr;
        pid_t pid = -1;
        util::FileDescriptor in, out, err;
        std::size_t written = 0;
    };
    std::vector<Live> live;
    for (auto& run : runs) {
        Live l;
        l.run = &run;
        if (Spawn(run, old, l.pid, l.in, l.out, l.err))
            live.push_back(std::move(l));
    }
    for (;;) {
        std::vector<pollfd> fds;
        std::vector<std::pair<std::size_t, int>> owner;  // (live index, 0 in / 1 out / 2 err)
        for (std::size_t i = 0; i < live.size(); ++i) {
            if (live[i].in.valid()) {
                fds.push_back({live[i].in.get(), POLLOUT, 0});
                owner.emplace_back(i, 0);
            }
            for (const int which : {1, 2}) {
                const auto& fd = which == 1 ? live[i].out : live[i].err;
                if (fd.valid()) {
                    fds.push_back({fd.get(), POLLIN, 0});
                    owner.emplace_back(i, which);
                }
            }
        }
        if (fds.empty())
            break;
        if (poll(fds.data(), fds.size(), -1) < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        for (std::size_t k = 0; k < fds.size(); ++k) {
            if (fds[k].revents == 0)
                continue;
            Live& l = live[owner[k].first];
            if (owner[k].second == 0) {
                const std::string& input = l.run->input;
                const ssize_t n =
                    write(l.in.get(), input.data() + l.written, input.size() - l.written);
                if (n > 0)
                    l.written += static_cast<std::size_t>(n);
                if ((n < 0 && errno != EAGAIN && errno != EINTR) || l.written == input.size())
                    l.in = util::FileDescriptor();
                continue;
            }
            auto& fd = owner[k].second == 1 ? l.out : l.err;
            std::string& sink = owner[k].second == 1 ? l.run->output : l.run->errors;
            char buffer[65536];
            const ssize_t n = read(fd.get(), buffer, sizeof buffer);
            if (n > 0)
                sink.append(buffer, static_cast<std::size_t>(n));
            else if (n == 0 || (errno != EAGAIN && errno != EINTR))
                fd = util::FileDescriptor();
        }
    }
    for (auto& l : live) {
        while (waitpid(l.pid, &l.run->status, 0) < 0 && errno == EINTR) {
        }
    }

    if (!wasPending) {
        const timespec zero{0, 0};
        while (sigtimedwait(&pipeSet, nullptr, &zero) > 0) {
        }
    }
    pthread_sigmask(SIG_SETMASK, &old, nullptr);
}

// The <svg> elements of dot's output, in order, each without the comments dot writes between
// its elements (they carry names, and an HTML page is better off without them).
std::vector<std::string> SplitSvg(const std::string& output) {
    std::vector<std::string> found;
    constexpr std::string_view kEnd = "</svg>";
    std::size_t at = 0;
    for (;;) {
        const std::size_t start = output.find("<svg", at);
        if (start == std::string::npos)
            break;
        const std::size_t end = output.find(kEnd, start);
        if (end == std::string::npos)
            break;  // cut short: not a picture
        std::string svg;
        std::size_t pos = start;
        const std::size_t stop = end + kEnd.size();
        while (pos < stop) {
            const std::size_t comment = output.find("<!--", pos);
            if (comment == std::string::npos || comment >= stop) {
                svg.append(output, pos, stop - pos);
                break;
            }
            svg.append(output, pos, comment - pos);
            const std::size_t close = output.find("-->", comment);
            pos = close == std::string::npos ? stop : close + 3;
            if (pos < stop && output[pos] == '\n')
                ++pos;
        }
        found.push_back(std::move(svg));
        at = stop;
    }
    return found;
}

std::string FirstLine(const std::string& text) {
    const std::string line = util::Trim(text.substr(0, text.find('\n')));
    return line.empty() ? "出力がありません" : line;
}

}  // namespace

std::optional<std::vector<std::string>> LayOutSvg(const std::vector<std::string>& dots,
                                                  std::string& why) {
    why.clear();
    std::vector<std::string> svgs(dots.size());
    std::vector<std::size_t> todo;
    for (std::size_t i = 0; i < dots.size(); ++i) {
        if (!dots[i].empty())
            todo.push_back(i);
    }
    if (todo.empty())
        return svgs;

    // Two processes over the two halves, by length (a big neighbourhood costs more than a
    // small one): this machine's two cores, and few start-ups.
    const std::size_t parts = todo.size() > 1 ? 2 : 1;
    std::vector<std::vector<std::size_t>> batches(parts);
    std::size_t total = 0, sofar = 0;
    for (const std::size_t i : todo)
        total += dots[i].size();
    for (std::size_t k = 0; k < todo.size(); ++k) {
        const bool second = parts == 2 && (k + 1 == todo.size() || sofar * 2 >= total);
        batches[second ? 1 : 0].push_back(todo[k]);
        sofar += dots[todo[k]].size();
    }
    std::vector<DotRun> runs(parts);
    for (std::size_t b = 0; b < parts; ++b) {
        for (const std::size_t i : batches[b])
            runs[b].input += dots[i] + "\n";
    }
    RunAll(runs);
    if (!runs[0].spawnError.empty()) {
        why = "Graphviz の dot を実行できません (" + runs[0].spawnError + ")。";
        return std::nullopt;
    }

    // A graph dot cannot take stops its run (a syntax error) or drops out of it, and the
    // pictures after it no longer say whose they are: that batch is drawn again one by one.
    std::vector<std::size_t> retry;
    for (std::size_t b = 0; b < parts; ++b) {
        auto found = SplitSvg(runs[b].output);
        if (runs[b].spawnError.empty() && found.size() == batches[b].size()) {
            for (std::size_t k = 0; k < found.size(); ++k)
                svgs[batches[b][k]] = std::move(found[k]);
        } else {
            retry.insert(retry.end(), batches[b].begin(), batches[b].end());
        }
    }
    if (retry.empty())
        return svgs;
    std::vector<std::string> failed;
    for (std::size_t start = 0; start < retry.size(); start += 2) {
        std::vector<DotRun> single(std::min<std::size_t>(2, retry.size() - start));
        for (std::size_t k = 0; k < single.size(); ++k)
            single[k].input = dots[retry[start + k]];
        RunAll(single);
        for (std::size_t k = 0; k < single.size(); ++k) {
            auto found = SplitSvg(single[k].output);
            if (single[k].spawnError.empty() && found.size() == 1)
                svgs[retry[start + k]] = std::move(found[0]);
            else
                failed.push_back(std::to_string(retry[start + k] + 1) + " 番目: " +
                                 (single[k].spawnError.empty() ? FirstLine(single[k].errors)
                                                               : single[k].spawnError));
        }
    }
    if (!failed.empty()) {
        why = "Graphviz が描けなかった図があります (" + std::to_string(failed.size()) + " 件)";
        for (const auto& f : failed)
            why += "\n" + f;
    }
    return svgs;
}

}  // namespace zanfor::site
