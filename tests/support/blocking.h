// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How the tests tell a call that blocks from one that is merely slow: a call that blocks waits
// for good (a pipe nobody reads, a line whose far end stopped reading) or for the kernel's
// timeouts, so a second tells it from a slow or busy machine, sanitizers included. The
// benchmarks measure what a call really costs.

namespace lumiere::test {

inline constexpr double kBlockedMs = 1000;

}  // namespace lumiere::test
