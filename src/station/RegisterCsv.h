#pragma once

#include <string>
#include <vector>

#include "CRegisterRecord.h"

// Records as CSV for a spreadsheet: UTF-8 with a byte-order mark, a header row of the register's
// column names (RegisterColumns), one record per row, CRLF line ends.
std::string RegisterCsv(const std::vector<CRegisterRecord>& records);
