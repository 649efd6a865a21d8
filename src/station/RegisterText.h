#pragma once

#include <string>
#include <string_view>

// How the register's columns and values read for a user, from the string table: the register
// window and the fleet report show them alike.

// The header of a column a user sees (a RegisterColumns key); 0 for the columns only the program
// reads (ids, hashes, the outcome code, the overrides).
int RegisterHeaderId(std::string_view key);
// A field as shown: operations and read-backs by their string-table texts, the rest as stored.
std::string RegisterFieldText(std::string_view key, const std::string& value);
