// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Runs part of a test as an ordinary user, whoever runs the suite: root ignores file permissions
// and a port's exclusive flag, so under root the part runs in a child process that has become
// nobody (65534); under a normal user it runs in a child as that user. The part returns 0 when
// it went as expected; gtest failures inside it count as well.

#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace lumiere::test {

template <typename Part>
int asOrdinaryUser(Part part) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(99);
        const int result = part();
        ::_exit(result != 0 ? result : (::testing::Test::HasFailure() ? 1 : 0));
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 98;
}

}  // namespace lumiere::test
