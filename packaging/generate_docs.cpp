// Writes the files a package carries about the programs from the tables the programs use
// themselves, so that they cannot drift: the manual pages (from the --help table), the bash
// completion (commands and options from the same table, run names from the command table,
// report names from the report definitions) and the template workbook.
//
//   zanfor-generate-docs man-cli FILE VERSION REPORT_SOURCE
//   zanfor-generate-docs man-desktop FILE VERSION
//   zanfor-generate-docs completion FILE REPORT_SOURCE
//   zanfor-generate-docs template FILE

#include <algorithm>
#include <fstream>
#include <functional>
#include <iostream>
#include <iterator>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "cli/usage.h"
#include "commands/commands.h"
#include "commands/main_panel.h"
#include "output/output_panel.h"
#include "output/template_workbook.h"
#include "util/vb_string.h"

namespace {

using zanfor::cli::CommandOf;
using zanfor::cli::OptionHelps;
using zanfor::cli::UsageEntries;
using Words = std::vector<std::string>;

std::string Lower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) {
        return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    });
    return out;
}

std::string Joined(const Words& words, std::string_view separator = " ") {
    std::string out;
    for (const auto& word : words)
        out += (out.empty() ? "" : std::string(separator)) + word;
    return out;
}

// A name of a panel control without its three-letter prefix: "optTSelect" is "tselect".
std::string ControlName(std::string_view control) { return Lower(control.substr(3)); }

// What `run --only` takes: the rows it can run, the form picture excepted (that is `capture`).
Words RunNames() {
    Words names;
    for (const auto table : {zanfor::app::CommandTable(), zanfor::app::SupportCommandTable()}) {
        for (const auto& row : table) {
            if (!row.cliName.empty() && row.run && row.id != zanfor::app::CommandId::FmImage &&
                std::find(names.begin(), names.end(), row.cliName) == names.end())
                names.emplace_back(row.cliName);
        }
    }
    return names;
}

Words PanelOptionNames() {
    Words names;
    for (const auto& group : zanfor::app::OptionGroups())
        names.push_back(ControlName(group.name));
    for (const auto& box : zanfor::app::CheckBoxes())
        names.push_back(ControlName(box.name));
    return names;
}

Words PickKinds() {
    Words kinds;
    for (std::size_t p = 0; p < zanfor::app::kPickerCount; ++p)
        kinds.push_back(ControlName(zanfor::app::PickerName(static_cast<zanfor::app::Picker>(p))));
    return kinds;
}

Words ExportKinds() {
    Words kinds;
    for (const auto& output : zanfor::output::Outputs())
        kinds.emplace_back(output.cliName);
    return kinds;
}

Words ReportNames(const std::string& definitionSource) {
    std::ifstream in(definitionSource);
    const std::string text{std::istreambuf_iterator<char>(in), {}};
    const std::regex name(R"re(\.name = "(R_[A-Za-z0-9_]+)")re");
    Words names;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), name);
         it != std::sregex_iterator(); ++it)
        names.push_back((*it)[1]);
    if (names.empty())
        throw std::runtime_error("no report names in " + definitionSource);
    return names;
}

Words Commands() {
    Words commands;
    for (const auto& entry : UsageEntries()) {
        const std::string command(CommandOf(entry));
        if (std::find(commands.begin(), commands.end(), command) == commands.end())
            commands.push_back(command);
    }
    return commands;
}

// The options the synopses of `command` name, in their order.
Words OptionsOf(std::string_view command) {
    static const std::regex option("--[a-z0-9-]+");
    Words options;
    for (const auto& entry : UsageEntries()) {
        if (CommandOf(entry) != command)
            continue;
        for (const auto line : entry.synopsis) {
            const std::string text(line);
            for (auto it = std::sregex_iterator(text.begin(), text.end(), option);
                 it != std::sregex_iterator(); ++it) {
                if (it->str() != command &&
                    std::find(options.begin(), options.end(), it->str()) == options.end())
                    options.push_back(it->str());
            }
        }
    }
    return options;
}

// Every option a synopsis names must be explained, or the manual would leave it out.
void CheckOptionsExplained() {
    for (const auto& command : Commands()) {
        for (const auto& option : OptionsOf(command)) {
            const auto helps = OptionHelps();
            if (std::none_of(helps.begin(), helps.end(),
                             [&](const auto& help) { return help.name == option; }))
                throw std::runtime_error(option + " of " + command + " has no description");
        }
    }
}

// Text for roff: backslashes and hyphens escaped, a line never starting with a control
// character, and a break point after each non-ASCII character: Japanese has no spaces to break
// a line at, and may break between any two characters.
std::string Roff(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '\\')
            out += "\\e";
        else if (c == '-')
            out += "\\-";
        else
            out += text[i];
        const bool lastByteOfWide =
            c >= 0x80 && (i + 1 == text.size() || (text[i + 1] & 0xC0) != 0x80);
        if (lastByteOfWide)
            out += "\\:";
    }
    if (!out.empty() && (out.front() == '.' || out.front() == '\''))
        out.insert(0, "\\&");
    return out;
}

std::string Synopsis(const zanfor::cli::UsageEntry& entry) {
    std::string text;
    for (const auto line : entry.synopsis)
        text += (text.empty() ? "" : " ") + std::string(line);
    return text;
}

// The lines of a description as one text: Japanese lines run on, others are parted by a blank.
std::string Description(const zanfor::cli::UsageEntry& entry) {
    std::string text;
    for (const auto line : entry.description) {
        const bool wideJoin = !text.empty() && static_cast<unsigned char>(text.back()) >= 0x80 &&
                              static_cast<unsigned char>(line.front()) >= 0x80;
        text += (text.empty() || wideJoin ? "" : " ") + std::string(line);
    }
    return text;
}

void Header(std::ostream& out, std::string_view name, std::string_view version,
            std::string_view summary) {
    out << ".TH " << Roff(zanfor::util::UCase(name)) << " 1 \"\" \"Zanfor " << version
        << "\" \"Zanfor\"\n"
        << ".nh\n.ad l\n"
        << ".SH NAME\n"
        << Roff(name) << " \\- " << Roff(summary) << "\n";
}

void Item(std::ostream& out, std::string_view term, std::string_view text) {
    out << ".TP\n" << term << "\n" << Roff(text) << "\n";
}

// The sections both pages share: the program folder and what changes it. `more` adds to FILES.
void Shared(std::ostream& out, const std::function<void()>& more = {}) {
    out << ".SH FILES\n"
        << ".PP\n"
        << Roff(
               "プログラムフォルダー ($ZANFOR_HOME、書き込める場合は実行ファイルのフォルダー "
               "(インストールされた bin フォルダーを除く)、それ以外は $XDG_DATA_HOME/zanfor) に"
               "次のファイルを置きます。")
        << "\n";
    Item(out, "\\fIZanfor.ini\\fR", "ウィンドウの位置、最近使ったファイル、既定のフォルダー");
    Item(out, "\\fIZanfor.dat\\fR", "帳票の表紙の文字 (タイトル、会社名、部門、作成者)");
    Item(out, "\\fIZanfor2.db\\fR", "作業用データベース (SQLite)");
    Item(out, "\\fITemplate.xlsx\\fR", "Excel 出力のひな形ブック");
    Item(out, "\\fIZanfor2.html\\fR", "ヘルプのページ");
    Item(out, "\\fI/usr/share/zanfor\\fR",
         "読み取り専用の資源 (インストール先の share/zanfor)。初めて起動したときに、"
         "プログラムフォルダーに無いものを写します");
    if (more)
        more();
    out << ".SH ENVIRONMENT\n";
    Item(out, "\\fBZANFOR_HOME\\fR", "プログラムフォルダー。設定されていればこれを使います");
    Item(out, "\\fBXDG_DATA_HOME\\fR",
         "ZANFOR_HOME が無く、実行ファイルのフォルダーを使えないとき、その zanfor "
         "フォルダーを使います (既定は ~/.local/share)");
    Item(out, "\\fBQT_QPA_PLATFORM\\fR",
         "Qt の画面の種類。画面の無い環境では offscreen にすると帳票と画像を書き出せます");
}

void WriteCliPage(std::ostream& out, std::string_view version, const Words& reports) {
    Header(out, "zanfor-cli", version, "Access データベースの解説書を画面なしで作成します");
    // As --help breaks them, so that they fit the page.
    out << ".SH SYNOPSIS\n.nf\n";
    for (const auto& entry : UsageEntries()) {
        out << "\\fBzanfor\\-cli\\fR " << Roff(entry.synopsis.front()) << "\n";
        for (const auto line : entry.synopsis.subspan(1))
            out << "\\h'11n'" << Roff(line) << "\n";
    }
    out << ".fi\n.SH DESCRIPTION\n.PP\n"
        << Roff(
               "zanfor-cli は Microsoft Access のデータベース (2000-2003 の .mdb、2007 以降の "
               ".accdb) とオブジェクトの"
               "エクスポートフォルダーを自分で読み、テーブル、クエリ、フォーム、レポート、マクロ、"
               "VBA のコードと相互参照を作業用データベースに集め、日本語の帳票 (PDF、HTML)、"
               "CSV、Excel ブック、解析ファイル (.adb)、説明サイト (HTML) "
               "に書き出します。対象のファイルは変更しません。"
               "TARGET は .mdb ファイル、.accdb ファイルかエクスポートフォルダーです。")
        << "\n.SH COMMANDS\n";
    for (const auto& entry : UsageEntries())
        Item(out, "\\fB" + Roff(Synopsis(entry)) + "\\fR", Description(entry));
    out << ".PP\n" << Roff("report の NAME: " + Joined(reports)) << "\n";
    out << ".SH OPTIONS\n";
    const struct {
        std::string_view option, label;
        Words words;
    } lists[] = {{"--only", "NAME", RunNames()},
                 {"--option", "NAME", PanelOptionNames()},
                 {"--pick", "KIND", PickKinds()}};
    for (const auto& help : OptionHelps()) {
        std::string text(help.description);
        for (const auto& list : lists) {
            if (list.option == help.name)
                text += "。" + std::string(list.label) + ": " + Joined(list.words);
        }
        Item(out,
             "\\fB" + Roff(help.name) + "\\fR" +
                 (help.argument.empty() ? "" : " \\fI" + Roff(help.argument) + "\\fR"),
             text);
    }
    out << ".PP\n" << Roff("export の KIND: " + Joined(ExportKinds())) << "\n";
    out << ".SH EXIT STATUS\n";
    Item(out, "0", "成功");
    Item(out, "1", "エラーを報告しました (標準エラー出力に、番号と説明)");
    Item(out, "2", "使い方の誤り (使い方を標準エラー出力に表示します)");
    Shared(out, [&] {
        Item(out, "\\fI/usr/lib/zanfor/zanfor\\-cli\\-reports.so\\fR",
             "帳票とフォームの画像を書き出す部分 (インストール先の lib/zanfor)。"
             "必要になったときに読み込みます");
    });
    out << ".SH SEE ALSO\n.BR zanfor (1),\n.BR dot (1)\n";
}

void WriteDesktopPage(std::ostream& out, std::string_view version) {
    Header(out, "zanfor", version, "Access データベースの解説書を作成するデスクトップ プログラム");
    out << ".SH SYNOPSIS\n\\fBzanfor\\fR [\\fIFILE\\fR]\n"
        << ".SH DESCRIPTION\n.PP\n"
        << Roff(
               "zanfor は Microsoft Access のデータベース (2000-2003 の .mdb、2007 以降の .accdb) "
               "とオブジェクトの"
               "エクスポートフォルダーを開き、メイン画面のボタンで解説書の帳票を作成し、"
               "プレビュー、印刷、PDF に書き出します。一括処理、解析ファイル (.adb) の保存と"
               "読込、各種出力、開発者支援、依存関係の画面と、説明サイトの作成があります。")
        << "\n.SH OPTIONS\n";
    Item(out, "\\fIFILE\\fR",
         "起動時に開くファイル。.mdb、.accdb とフォルダーは解析の対象として開き、"
         "それ以外 (.adb) は解析ファイルとして読み込みます");
    out << ".PP\n" << Roff("Qt の標準のオプション (-platform など) も使えます。") << "\n";
    out << ".SH EXIT STATUS\n";
    Item(out, "0", "終了しました");
    Item(out, "1", "起動できませんでした");
    Shared(out);
    out << ".SH SEE ALSO\n.BR zanfor\\-cli (1)\n";
}

// Completes a comma-separated list word by word.
constexpr std::string_view kCompletionHead =
    R"(# bash completion for zanfor-cli                      -*- shell-script -*-
# Generated from the program's own tables at build time; edit those, not this file.

_zanfor_cli_words()
{
    local prefix=""
    [[ $cur == *,* ]] && prefix=${cur%,*},
    COMPREPLY=($(compgen -P "$prefix" -W "$1" -- "${cur##*,}"))
    compopt -o nospace
}

_zanfor_cli()
{
    local cur prev words cword
    _init_completion || return
)";

void WriteCompletion(std::ostream& out, const Words& reports) {
    out << kCompletionHead;
    const auto commands = Commands();
    out << "    if ((cword == 1)); then\n"
        << "        COMPREPLY=($(compgen -W '" << Joined(commands) << "' -- \"$cur\"))\n"
        << "        return\n    fi\n"
        << "    case $prev in\n"
        << "        --only) _zanfor_cli_words '" << Joined(RunNames()) << "'; return ;;\n";
    Words optionNames;
    for (const auto& name : PanelOptionNames())
        optionNames.push_back(name + "=");
    Words pickNames;
    for (const auto& name : PickKinds())
        pickNames.push_back(name + "=");
    out << "        --option) COMPREPLY=($(compgen -W '" << Joined(optionNames)
        << "' -- \"$cur\")); compopt -o nospace; return ;;\n"
        << "        --pick) COMPREPLY=($(compgen -W '" << Joined(pickNames)
        << "' -- \"$cur\")); compopt -o nospace; return ;;\n";
    // An argument named in upper case is a file, a folder or a free name; one in lower case
    // lists its values.
    Words files;
    Words free;
    for (const auto& help : OptionHelps()) {
        const std::string argument(help.argument);
        if (argument.empty() || argument.front() == '[' || help.name == "--only" ||
            help.name == "--option" || help.name == "--pick")
            continue;
        if (argument.find_first_of("abcdefghijklmnopqrstuvwxyz") == 0) {
            out << "        " << help.name << ") COMPREPLY=($(compgen -W '"
                << std::regex_replace(argument, std::regex("\\|"), " ")
                << "' -- \"$cur\")); return ;;\n";
        } else if (std::regex_search(argument, std::regex("FILE|DIR|PATH"))) {
            files.emplace_back(help.name);
        } else {
            free.emplace_back(help.name);
        }
    }
    out << "        " << Joined(files, "|") << ") _filedir; return ;;\n"
        << "        " << Joined(free, "|") << ") return ;;\n"
        << "    esac\n"
        << "    local options\n"
        << "    case ${words[1]} in\n";
    for (const auto& command : commands)
        out << "        " << command << ") options='" << Joined(OptionsOf(command)) << "' ;;\n";
    out << "    esac\n"
        << "    if [[ $cur == -* ]]; then\n"
        << "        COMPREPLY=($(compgen -W \"$options\" -- \"$cur\"))\n"
        << "        return\n    fi\n"
        << "    if ((cword == 2)); then\n"
        << "        case ${words[1]} in\n"
        << "            report) COMPREPLY=($(compgen -W '" << Joined(reports)
        << "' -- \"$cur\")); return ;;\n"
        << "            export) COMPREPLY=($(compgen -W '" << Joined(ExportKinds())
        << "' -- \"$cur\")); return ;;\n"
        << "        esac\n    fi\n"
        << "    _filedir\n"
        << "} &&\n    complete -F _zanfor_cli zanfor-cli\n";
}

int Write(const std::string& file, const std::string& text) {
    std::ofstream out(file, std::ios::binary);
    out << text;
    out.close();
    if (!out) {
        std::cerr << "zanfor-generate-docs: cannot write " << file << "\n";
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    try {
        CheckOptionsExplained();
        std::ostringstream text;
        if (args.size() == 4 && args[0] == "man-cli") {
            WriteCliPage(text, args[2], ReportNames(args[3]));
        } else if (args.size() == 3 && args[0] == "man-desktop") {
            WriteDesktopPage(text, args[2]);
        } else if (args.size() == 3 && args[0] == "completion") {
            WriteCompletion(text, ReportNames(args[2]));
        } else if (args.size() == 2 && args[0] == "template") {
            zanfor::output::WriteTemplateWorkbook(args[1]);
            return 0;
        } else {
            std::cerr << "zanfor-generate-docs: see the head of packaging/generate_docs.cpp\n";
            return 2;
        }
        return Write(args[1], text.str());
    } catch (const std::exception& e) {
        std::cerr << "zanfor-generate-docs: " << e.what() << "\n";
        return 1;
    }
}
