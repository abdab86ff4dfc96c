#pragma once

// Helper shared by the export tests: a call that must fail with a host error.

#include <gtest/gtest.h>

#include <string>

#include "host/error.h"

namespace zanfor::test {

// `call` raises host error `number` whose description contains `fragment` (a file name, a line).
template <typename F>
void ExpectError(F&& call, int number, const std::string& fragment) {
    try {
        call();
        ADD_FAILURE() << "no error; expected " << number << " " << fragment;
    } catch (const host::Error& e) {
        EXPECT_EQ(e.number(), number) << e.description();
        EXPECT_NE(e.description().find(fragment), std::string::npos) << e.description();
    }
}

}  // namespace zanfor::test
