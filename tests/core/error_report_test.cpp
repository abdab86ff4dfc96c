#include "core/error_report.h"

#include <gtest/gtest.h>

namespace {

using namespace zanfor::app;
using Lines = std::vector<std::string>;

TEST(ErrorReport, unstableSystemRangeShutsDownAtBothEndsOnly) {
    for (int number : {2449, 2700, 2999}) {
        const auto r = BuildErrorReport("場所:テーブル情報", number, "壊れた", WindowKind::Main);
        EXPECT_TRUE(r.shutdown) << number;
        EXPECT_EQ(r.lines, (Lines{"場所:テーブル情報ｴﾗｰNo:" + std::to_string(number),
                                  "システムが不安定です。", "詳細はヘルプを参照下さい。",
                                  "システムを終了します。", "内容:壊れた"}));
    }
    for (int number : {2448, 3000}) {
        EXPECT_FALSE(BuildErrorReport("場所:選択", number, "x", WindowKind::Main).shutdown);
    }
}

TEST(ErrorReport, olderAccessFileHasNoPlaceLabel) {
    const auto r = BuildErrorReport("場所:フォーム情報", 7866, "古い", WindowKind::Main);
    EXPECT_EQ(r.lines, (Lines{"Access2000以前のバージョンのファイルです。",
                              "Access2000形式に変換して下さい。"}));
    EXPECT_FALSE(r.shutdown);
}

TEST(ErrorReport, generalWordingDependsOnTheWindow) {
    const auto main = BuildErrorReport("場所:クエリー情報", 3021, "説明", WindowKind::Main);
    EXPECT_EQ(main.lines, (Lines{"場所:クエリー情報ｴﾗｰNo:3021",
                                 "場所、ｴﾗｰNo、内容を控えメールをお願いします。", "内容:説明"}));
    EXPECT_EQ(BuildErrorReport("場所:x", 1, "d", WindowKind::Output).lines[1],
              "場所、ｴﾗｰNo、内容を控えメールをお願いします。");
    for (auto window : {WindowKind::DeveloperSupport, WindowKind::Settings, WindowKind::Batch}) {
        EXPECT_EQ(BuildErrorReport("場所:x", 1, "d", window).lines[1],
                  "場所とｴﾗｰNoを控えメールをお願いします。");
    }
    EXPECT_EQ(
        main.text(),
        "場所:クエリー情報ｴﾗｰNo:3021\n場所、ｴﾗｰNo、内容を控えメールをお願いします。\n内容:説明");
}

TEST(ErrorReport, specialReportKeepsThePlaceLineAndTheCommandsOwnLines) {
    const auto r = BuildSpecialErrorReport(
        "場所:テーブル情報", 3044,
        {"リンクテーブルのパスが不正です。", "リンクテーブルのリンクを", "再設定後実行下さい。"});
    EXPECT_EQ(r.lines.front(), "場所:テーブル情報ｴﾗｰNo:3044");
    EXPECT_EQ(r.lines.size(), 4u);
}

}  // namespace
