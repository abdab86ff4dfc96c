#pragma once

// The in-memory target the window tests open and the window images show: Japanese names, a
// startup form to switch off, and one object of each kind.

#include <memory>
#include <string>

#include "host/memory/memory_target.h"

namespace zanfor::test {

inline constexpr const char* kMemoryTarget = "/data/業務/販売管理.mdb";

inline std::shared_ptr<const host::memory::MemoryTarget> SampleTarget(
    const std::string& path = kMemoryTarget) {
    host::memory::MemoryTargetBuilder b(path);
    b.property("AppTitle", "販売管理システム").property("StartupForm", "メニュー");
    b.table("顧客").field("ID", host::dao::dbLong, 4);
    b.table("商品").field("ID", host::dao::dbLong, 4);
    b.query("顧客一覧", host::dao::dbQSelect, "SELECT * FROM 顧客;");
    b.form("メニュー");
    b.report("請求書");
    b.macro("AutoKeys");
    b.module("共通", "Option Explicit");
    return b.build();
}

}  // namespace zanfor::test
