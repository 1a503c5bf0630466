// The ptable subcommands. Each writes to out and returns the process exit status.
#pragma once

#include "paradox/table.h"

#include <ostream>

namespace ptable {

int showInfo(const paradox::Table& table, std::ostream& out);
int dumpRecords(const paradox::Table& table, std::ostream& out);
// 0 when the table is sound, 1 when the check found faults.
int checkTable(const paradox::Table& table, std::ostream& out);

} // namespace ptable
