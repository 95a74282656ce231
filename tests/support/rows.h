// SPDX-License-Identifier: MIT
#pragma once
#include <QTest>

namespace quennix::test {
// One row of a data table, its values in the order of the columns.
template <typename... Values> void row(const char *name, const Values &...values) {
    (QTest::newRow(name) << ... << values);
}
} // namespace quennix::test
