#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "CProfileSnapshot.h"
#include "CRadioDataModel.h"
#include "CVirtualCodeplug.h"

struct CUnit;

// A working copy of a job's profile that takes one unit's settings at a time, through the copy's
// own data items and rule engine: the job's document is never touched. A copy has its own rule
// engine, so each thread that prepares radios holds its own.
class CUnitProfile {
  public:
    // A copy of the job's profile as its document holds it (CQMVVLTDoc::TakeSnapshot). Raises
    // CQMVVLTException when the rule engine or the profile cannot be loaded.
    CUnitProfile(CModelEnvironment environment, CProfileSnapshot job);

    // The setting attributes the job's profile has: the columns a unit list may name.
    std::vector<std::string> SettingNames() const;

    // The job's profile again with the unit's settings committed (nullptr: the profile as it
    // is). A value the rules refuse raises kUnitBadValue (CUnitList has refused such rows).
    void Apply(const CUnit* unit);
    // Apply, answering why the unit's settings cannot go to a radio instead of raising: the
    // refusal's message id and text, or nothing when every setting was taken.
    std::optional<std::pair<int, std::string>> TryApply(const CUnit& unit);

    // The profile as applied, as the data model holds it (what ProfileHash is taken of for the
    // job, with no unit applied).
    std::string ProfileText() const { return m_model.ProfileText(); }
    // The image to write, from the profile as applied, to the radio whose own PID is radioPid
    // (its private scroll list becomes the scroll list), as the single-radio write makes it.
    CVirtualCodeplug Image(std::u16string_view radioPid) const;

    const CProfileSnapshot& Job() const { return m_job; }
    const CRadioDataModel& Model() const { return m_model; }

  private:
    // The unit's settings committed one by one; the first refusal, or nothing.
    std::optional<std::pair<int, std::string>> Commit(const CUnit& unit);
    // The write check's findings of the profile as applied.
    std::vector<std::string> WriteProblems() const;

    CRadioDataModel m_model;
    CProfileSnapshot m_job;
    std::vector<std::string> m_jobProblems;  // the job's own, not a unit's fault
};
