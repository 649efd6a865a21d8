#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "CsvRefusal.h"

class CUnitProfile;

// One radio of a unit list: its PID, its label, and the settings it takes instead of the
// profile's.
struct CUnit {
    int line = 0;  // where the list names it
    std::string pid;
    std::string label;
    // Setting attribute and value, in column order; an empty cell keeps the profile's value.
    std::vector<std::pair<std::string, std::string>> overrides;

    // The settings as a JSON object, for the register: {"language":"4","password":"1234"}.
    std::string OverridesText() const;
};

// The radios of a programming job: CSV (UTF-8 with or without a byte-order mark, or code page
// 1252; comma or semicolon) with a header row naming the columns, in any order: pid (required),
// unit (a label), and any setting attribute of the job's profile (password, language,
// ringer_vol_level, ...); then one radio per row.
//
// Every row is checked against the job's profile when the list is read: a PID of 1 to 11 digits
// up to 17179869183 that no other row has, and its settings committed through the profile's data
// items and rules, then against the profile schema and the write's own check. A list with
// refusals must not start a job.
class CUnitList {
  public:
    // No list: every radio takes the profile as it is.
    CUnitList() = default;

    // Text that is not a unit list at all raises kNotUnitList; refused rows and columns are in
    // Refusals().
    static CUnitList Read(std::string_view bytes, CUnitProfile& profile);
    // The same from a file (one that cannot be read raises kNotUnitList).
    static CUnitList ReadFile(const std::filesystem::path& path, CUnitProfile& profile);

    const std::vector<CUnit>& Units() const { return m_units; }
    // Every refused row and column, by line.
    const std::vector<CsvRefusal>& Refusals() const { return m_refusals; }
    bool Accepted() const { return m_refusals.empty(); }
    // The unit of the radio with this PID, or null.
    const CUnit* Find(std::string_view pid) const;

  private:
    std::vector<CUnit> m_units;
    std::vector<CsvRefusal> m_refusals;
    std::map<std::string, std::size_t, std::less<>> m_byPid;
};
