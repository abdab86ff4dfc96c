#include "core/print_title.h"

#include <exception>

#include "core/error_report.h"
#include "core/program_files.h"
#include "host/error.h"
#include "workdb/work_database.h"

namespace zanfor::app {

namespace {
// Access refused an empty text in a field that does not allow one.
constexpr int kZeroLengthField = 3315;
}  // namespace

PrintTitleForm::PrintTitleForm(PrintTitleSettings& settings) : settings_(settings) {
    view_.freeText = settings_.freeText == 1;
    view_.file = settings_.fileName == 1;
    view_.path = settings_.fullPath == 1;
}

void PrintTitleForm::firstShow(std::string_view systemName) {
    clickFreeText(true);
    view_.fileEnabled = view_.pathEnabled = view_.frameEnabled = false;
    view_.text = systemName;
}

void PrintTitleForm::clickFreeText(bool checked) {
    view_.freeText = checked;
    settings_.freeText = checked ? 1 : 0;
    if (checked) {
        clickFile(false);
        clickPath(false);
        view_.fileEnabled = view_.pathEnabled = view_.frameEnabled = false;
        view_.textEnabled = true;
    } else {
        view_.fileEnabled = view_.pathEnabled = view_.frameEnabled = true;
        view_.textEnabled = false;
        view_.file = settings_.fileName == 1;
        view_.path = settings_.fullPath == 1;
        view_.text.clear();
    }
}

void PrintTitleForm::clickFile(bool checked) {
    view_.file = checked;
    settings_.fileName = checked ? 1 : 0;
}

void PrintTitleForm::clickPath(bool checked) {
    view_.path = checked;
    settings_.fullPath = checked ? 1 : 0;
}

PrintTitleChoice ChoosePrintTitle(const PrintTitleSettings& settings, std::string_view targetPath,
                                  std::string_view freeText) {
    if (settings.fileName == 1) {
        if (settings.fullPath == 1)
            return {std::string(targetPath), kModeFullPath};
        return {FileNamePart(targetPath), kModeFileName};
    }
    if (settings.freeText == 1)
        return {std::string(freeText), kModeFreeText};
    return {std::nullopt, kModeNone};
}

StoreResult StorePrintTitle(const std::filesystem::path& workDatabase, PrintTitleSettings& settings,
                            std::string_view targetPath, std::string_view freeText, RunUi& ui) {
    int number = 0;
    std::string description;
    try {
        auto db = workdb::WorkDatabase::open(workDatabase);
        // One commit: a program killed between the emptying and the new row must not leave
        // the title table empty. A refused empty name still leaves it empty, as it always has.
        workdb::Transaction tx(db);
        db.execute("delete * from T_AcTitle;");
        const auto choice = ChoosePrintTitle(settings, targetPath, freeText);
        if (choice.fileName) {
            if (choice.fileName->empty()) {
                tx.commit();
                throw host::Error(kZeroLengthField, "長さ0の文字列は入力できません。");
            }
            workdb::RowWriter title(db, "T_AcTitle");
            title.addNew();
            title.set("FileName", *choice.fileName);
            title.update();
        }
        tx.commit();
        settings.modeText = choice.modeText;
        return StoreResult::Stored;
    } catch (const host::Error& e) {
        number = e.number();
        description = e.description();
    } catch (const std::exception& e) {
        number = host::err::kInvalidProcedureCall;
        description = e.what();
    }
    if (number == kZeroLengthField) {
        ui.messageBox(kEnterPrintText, kProductTitle, MsgButtons::Ok, MsgIcon::None);
        return StoreResult::Failed;
    }
    const auto report =
        BuildErrorReport(kPrintTitlePlace, number, description, WindowKind::Settings);
    ui.messageBox(report.text(), report.title, MsgButtons::Ok, MsgIcon::Critical);
    return report.shutdown ? StoreResult::ExitRequested : StoreResult::Failed;
}

}  // namespace zanfor::app
