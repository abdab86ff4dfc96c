#pragma once

// The values every window and command shares for the life of the program: what is open, the
// option settings of the main window, what each collector last collected, the object counts of
// the target, the report-header texts and the state of the preview buttons. Commands get this
// object passed in; nothing here is global.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zanfor::app {

enum class OpenMode : std::int16_t { Nothing = 0, Target = 1, AnalysisFile = 2 };

// One remembered setting per option group and check box of the main window: an option group
// holds the index of its chosen button + 1, a check box its check value.
struct OptionSettings {
    std::int16_t object = 7;    // optObject: 7 "全て"
    std::int16_t table = 2;     // optTable
    std::int16_t tselect = 1;   // optTSelect
    std::int16_t link = 2;      // chkLink: 2 checked (linked tables left out), 1 unchecked
    std::int16_t query = 3;     // optQuery
    std::int16_t qselect = 1;   // optQSelect
    std::int16_t form = 1;      // optForm
    std::int16_t fselect = 1;   // optFSelect
    std::int16_t report = 1;    // optReport
    std::int16_t rselect = 1;   // optRSelect
    std::int16_t proc = 2;      // optProc
    std::int16_t proc50 = 0;    // chkProc50
    std::int16_t module = 3;    // optModule
    std::int16_t mod50 = 0;     // chkMod50
    std::int16_t mprint = 2;    // optMPrint
    std::int16_t modstep = 4;   // optModStep
    std::int16_t macro = 2;     // optMacro
    std::int16_t mcselect = 1;  // optMcSelect
    std::int16_t control = 1;   // optControl
    std::int16_t file = 1;      // optFile
    std::int16_t capKbn = 0;    // chkCapKbn
};

// The collectors that remember their last completed run, in the order analysis files keep
// them (fObj, fTbl, fQry, fFrm, fRep, fPrc, fSoc, fPsp, fMcr, fCtl, fFil).
enum class Collector {
    Objects,
    Tables,
    Queries,
    Forms,
    Reports,
    Procedures,
    ModuleListing,
    StepCounts,
    Macros,
    ControlCounts,
    Files,
};
inline constexpr std::size_t kCollectorCount = 11;

// 0: nothing collected since the target was opened; 9: the target has no object of that
// kind; otherwise the option setting of the last completed run.
inline constexpr std::int16_t kNotCollected = 0;
inline constexpr std::int16_t kNoObjects = 9;

struct LastRunOptions {
    std::array<std::int16_t, kCollectorCount> values{};
    std::int16_t& operator[](Collector c) { return values[static_cast<std::size_t>(c)]; }
    std::int16_t operator[](Collector c) const { return values[static_cast<std::size_t>(c)]; }
    void reset() { values.fill(kNotCollected); }
};

struct ObjectCounts {
    long tables = 0;
    long linkedTables = 0;
    long queries = 0;
    long forms = 0;
    long reports = 0;
    long macros = 0;
    long modules = 0;  // documents of the "Modules" container
};

// The preview buttons, each enabled after a completed run of its collector.
enum class PreviewButton {
    OPre,
    TPre,
    QPre,
    FPre,
    RPre,
    PPre,
    MPre,
    MsPre,
    MCPre,
    CPre,
    FlPre,
    CmPre
};
inline constexpr std::size_t kPreviewButtonCount = 12;

// The report-header text boxes of the main window.
struct ReportHeader {
    std::string title;    // txtTitle
    std::string system;   // txtSystem
    std::string company;  // txtCompany
    std::string bumon;    // txtBumon
    std::string auther;   // txtAuther
    std::string date;     // txtDate
    std::string capTime;  // txtCapTime
};

// Startup properties of the target as found when it was opened; given back when it is left.
struct SavedStartupSettings {
    std::string startupForm;
    bool startupShowDbWindow = true;
    bool allowFullMenus = true;
};

// Startup properties read for the object inventory; never changed in the target.
struct TargetStartupValues {
    std::string appTitle;
    std::string startupMenuBar;
    bool startupShowStatusBar = false;
    bool allowShortcutMenus = false;
    bool allowBuiltinToolbars = false;
};

// The object pickers: their lists and the text each shows now.
struct Pickers {
    std::vector<std::string> tables, queries, forms, reports, macros;
    std::string tableText, queryText, formText, reportText, macroText, fmImageText;
};

// Names remembered at the end of a selected-object run, for the skip test of the next run.
struct RememberedNames {
    std::string table, query, form, report, macro;
    std::int16_t formMode = 0;    // listing mode of the last form run
    std::int16_t reportMode = 0;  // listing mode of the last report run
};

// What every report prints as its file-name line (the print-title settings).
struct PrintTitleSettings {
    std::int16_t fileName = 1;
    std::int16_t fullPath = 1;
    std::int16_t freeText = 0;
    std::string modeText;
};

// One entry of the procedure table: a procedure of a standard module and that module.
struct ProcedureEntry {
    std::string procedure;
    std::string module;
};

// The developer support window's shared values. They live as long as the program: opening
// another target keeps them, so the user runs the initial processing again for the new one.
struct SupportState {
    bool initialized = false;  // the initial processing has finished once
    // Built by the initial processing: the procedures of the standard modules, modules in the
    // order of the "Modules" container, procedures in the order of their first line.
    std::vector<ProcedureEntry> procedures;
    std::int16_t formMode = 2;    // 1 every form, 2 the one chosen in cboForm
    std::int16_t reportMode = 2;  // the same for reports and cboReport
    // What cboTable, cboForm and cboReport show: the table searched and the chosen objects.
    std::string tableText, formText, reportText;
    bool variableLists = false;  // cmdHensuH, cmdHensuT, cmdHensuU: enabled by a catalogue run
};

inline constexpr std::size_t kBatchStepCount = 12;

// What the collection frame and the batch tell each other while one batch step runs.
struct BatchStepRun {
    std::string place;    // the step's place label, "場所:テーブル情報(一括)"
    bool failed = false;  // set by the frame when it reported an error
    std::string report;   // the report the step would have previewed, for the command line
};

// The batch window's choice, shared with the command line's pattern runs. A step's flag is 0
// (not chosen), 1 (chosen) or 9 (the target has no objects of the step's kind: skipped); its
// option is the value the main window's option group of its collector takes (step 1's is the
// object kind, 7 while chosen; the comment listing has none). The window's opening sets them.
struct BatchState {
    std::array<std::int16_t, kBatchStepCount> flags{};
    std::array<std::int16_t, kBatchStepCount> options{};
    // chkLink: 2 ticked (linked tables left out), 1 not.
    std::int16_t link = 2;
    // Set only while a step's collection runs.
    std::optional<BatchStepRun> running;
};

struct AppState {
    OpenMode openMode = OpenMode::Nothing;
    bool analysisSaved = false;  // an analysis file was saved: no other target until a restart
    std::string targetPath;      // lblDBName
    OptionSettings options;
    LastRunOptions lastRun;
    ObjectCounts counts;
    std::array<bool, kPreviewButtonCount> previewEnabled{};
    ReportHeader header;
    SavedStartupSettings savedStartup;
    TargetStartupValues startupValues;
    Pickers pickers;
    RememberedNames remembered;
    PrintTitleSettings printTitle;
    bool autoExec = false;
    std::string currentObjectKind = "Form";
    // One counter shared by the macro collector and the code readers.
    std::int16_t procedureNo = 0;
    SupportState support;
    BatchState batch;

    bool isPreviewEnabled(PreviewButton b) const {
        return previewEnabled[static_cast<std::size_t>(b)];
    }
    void enablePreview(PreviewButton b, bool enabled = true) {
        previewEnabled[static_cast<std::size_t>(b)] = enabled;
    }
    // Opening a target forgets what was collected from the previous one.
    void resetForNewTarget();
};

}  // namespace zanfor::app
