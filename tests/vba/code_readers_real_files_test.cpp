// The four code readers on real files, checked object by object against the module model the
// walk hands them.

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "vba/code_line.h"
#include "vba/comment_listing.h"
#include "vba/module_listing.h"
#include "vba/module_walk.h"
#include "vba/procedure_listing.h"
#include "vba/step_counts.h"
#include "vba/vba_fixture.h"

namespace {

using namespace zanfor;
using collect::RunResult;

// Per object: kept lines, all lines, its procedures as name@pLine, comments inside procedures.
std::string expectedOf(const vba::CodeObject& o) {
    const host::ModuleModel& m = o.model();
    long kept = 0;
    for (long n = 1; n <= m.CountOfLines(); ++n)
        kept += vba::IsSkippedLine(m.Line(n)) ? 0 : 1;
    std::string headings;
    long comments = 0;
    for (const host::Procedure& p : m.procedures()) {
        const long pLine = p.bodyLine + (m.CountOfDeclarationLines() > 0 ? 1 : 0);
        headings += (headings.empty() ? "" : ",") + p.name + "@" + std::to_string(pLine);
        for (long n = p.bodyLine; n < p.startLine + p.countLines; ++n)
            comments += vba::ClassifyLine(m.Line(n)) == vba::LineClass::Comment ? 1 : 0;
    }
    return std::to_string(kept) + "|" + std::to_string(m.CountOfLines()) + "|" + headings + "|" +
           std::to_string(comments);
}

std::string quoted(std::string_view text) {
    std::string out = "'";
    for (char ch : text)
        out += ch == '\'' ? std::string("''") : std::string(1, ch);
    return out + "'";
}

TEST(VbaCodeReadersRealFiles, rowsAgreeWithEveryModuleAndKeepTheirText) {
    const struct {
        const char* file;
        const char* objectName;
        const char* comment;
    } cases[] = {
        {"northwind-ja.mdb", "社員", "    ' 社員の写真に使用するファイル名を取得します。"},
        {"ailtonz-Matriz.mdb", "modExcel", "    'Se o diretório não existe, cria"},
    };
    for (const auto& c : cases) {
        const auto file = test::SharedMdb(c.file);
        if (!file)
            GTEST_SKIP() << "../shared/testdata is absent";
        SCOPED_TRACE(c.file);
        auto f = test::VbaFixture::ForFile(*file);
        f.state().options.module = 4;
        auto ctx = f.context();
        ASSERT_EQ(vba::RunModuleListing(ctx), RunResult::Collected);
        ASSERT_EQ(vba::RunProcedureListing(ctx), RunResult::Collected);
        ASSERT_EQ(vba::RunStepCounts(ctx), RunResult::Collected);
        ASSERT_EQ(vba::RunCommentListing(ctx), RunResult::Collected);

        std::vector<std::string> expected;
        std::vector<std::string> written;
        vba::WalkModules(ctx, vba::kAllKinds, [&](const vba::CodeObject& o) {
            expected.push_back(o.objectName + "|" + expectedOf(o));
            const std::string no = std::to_string(o.objectNo);
            written.push_back(
                o.objectName + "|" +
                f.rows("SELECT (SELECT COUNT(*) FROM T_AcModule WHERE objectNo = " + no +
                       "), "
                       "(SELECT IFNULL(SUM(TotalCnt), 0) FROM T_AcProcCount WHERE objectNo = " +
                       no +
                       "), (SELECT IFNULL(GROUP_CONCAT(ProcedureName || '@' || pLine), '') FROM "
                       "(SELECT * FROM T_AcProcName WHERE objectNo = " +
                       no +
                       " AND \"Object\" NOT "
                       "LIKE '%(Api)' AND ProcedureName <> '(Declarations)' ORDER BY rowid)), "
                       "(SELECT COUNT(*) FROM T_AcComment WHERE objectNo = " +
                       no + ")")[0]);
        });
        EXPECT_EQ(written, expected);
        EXPECT_GT(expected.size(), 15u);
        EXPECT_EQ(f.rows(std::string("SELECT COUNT(*) FROM T_AcComment WHERE ObjectName = ") +
                         quoted(c.objectName) + " AND Comment = " + quoted(c.comment)),
                  std::vector<std::string>{"1"});
    }
}

}  // namespace
