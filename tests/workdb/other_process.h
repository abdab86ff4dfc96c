#pragma once

// Code run in a second process, for what only another process sees: a hold this one keeps on a
// work database.

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <functional>
#include <iostream>

namespace zanfor::test {

// The exit status `body` returns in a forked child, or -1 when the child did not end by
// returning (a crash). The child leaves with _exit, so nothing of the test run happens twice.
inline int InOtherProcess(const std::function<int()>& body) {
    std::cout.flush();
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        int status = 98;
        try {
            status = body();
        } catch (...) {
            status = 99;
        }
        std::cout.flush();
        std::fflush(nullptr);
        ::_exit(status);
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

}  // namespace zanfor::test
