#pragma once

// What the site's pages show, read from the work database in one pass over each result table
// and kept by object, so that a page is written from memory with no query of its own.

#include <cstddef>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "site/site_writer.h"

namespace zanfor::site {

using Cells = std::vector<std::string>;  // the texts of one table row, not yet escaped

struct InfoItem {
    std::string label;
    std::string value;
};

struct TableData {
    std::vector<InfoItem> info;
    std::vector<Cells> fields;
    std::vector<Cells> indexes;
};

struct QueryData {
    std::vector<InfoItem> info;
    std::string sql;
    std::vector<Cells> columns;
};

struct Property {
    std::string group;  // the property sheet's tab
    std::string name;
    std::string value;
};

struct Control {
    long number = 0;
    std::string name;
    std::string type;
    std::string visible;
    std::string place;
    std::vector<Property> properties;
};

struct DesignData {
    std::vector<InfoItem> info;
    std::vector<std::pair<std::string, std::string>> events;  // (label, setting)
    std::vector<Control> controls;
    std::vector<Cells> groupLevels;
};

struct MacroPart {
    std::string name;  // the macro's name within its group; empty for the group's first rows
    std::vector<Cells> steps;
};

struct CodeLine {
    long line = 0;
    std::string procedure;
    std::string text;
};

struct SiteWriter::Data {
    const workdb::WorkDatabase* work = nullptr;
    const graph::DependencyGraph* graph = nullptr;
    std::vector<host::dao::Relation> relations;

    std::vector<InfoItem> database;
    std::string fileLine;
    std::vector<Cells> files;

    struct Object {
        PageKind kind = PageKind::Table;
        std::string name;
        std::string type;
        std::string description;
    };
    std::vector<Object> objects;                         // in the inventory's order
    std::vector<ObjectPage> pages;                       // in the order of `objects`
    std::unordered_map<std::string, std::size_t> byKey;  // Key(kind, name) → index of both

    std::unordered_map<std::string, TableData> tables;  // by Key
    std::unordered_map<std::string, QueryData> queries;
    std::unordered_map<std::string, DesignData> designs;  // forms and reports
    std::unordered_map<std::string, std::vector<MacroPart>> macros;
    // The code of a module, form or report and its procedures' rows, by the Key of its page.
    std::unordered_map<std::string, std::vector<CodeLine>> code;
    std::unordered_map<std::string, std::vector<Cells>> procedures;

    // Per graph node: its page with the anchor of a procedure ("" for a missing object or one
    // with no page), and the page alone.
    std::vector<std::string> nodeHref;
    std::vector<std::string> nodeFile;
    // The node of each page, or npos, and the procedures in its code.
    std::vector<std::size_t> pageNode;
    std::vector<std::vector<std::size_t>> pageProcedures;
};

// The map key of an object: its kind and its name in upper case, as Access compares names.
std::string Key(PageKind kind, std::string_view name);

// Fills everything but the graph's links (see LinkGraph).
void LoadWorkDatabase(SiteWriter::Data& data);
// Gives every graph node its page, adding pages for objects the inventory did not list.
void LinkGraph(SiteWriter::Data& data);

// The stylesheet and the search script, the same for every site.
std::string_view SiteStylesheet();
std::string_view SiteScript();

}  // namespace zanfor::site
