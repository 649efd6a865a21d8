#pragma once

#include <optional>
#include <string>
#include <vector>

#include "CliContext.h"

// A command's arguments split into positionals and "--name value" / "-o value" options.
class CCliArgs {
  public:
    // valueOptions take a value; flagOptions do not. Anything else starting with '-' is an error.
    CCliArgs(const std::vector<std::string>& args, const std::vector<std::string>& valueOptions,
             const std::vector<std::string>& flagOptions = {});

    const std::vector<std::string>& Positionals() const { return m_positionals; }
    // The last value of option; Values gives every one, in order (an option given repeatedly).
    std::optional<std::string> Value(const std::string& option) const;
    std::vector<std::string> Values(const std::string& option) const;
    bool Flag(const std::string& option) const;
    // The value of an option the command cannot do without (CliUsageError "missing OPTION what").
    std::string Required(const std::string& option, const std::string& what) const;

    // Requires exactly count positionals (CliUsageError otherwise).
    void ExpectPositionals(std::size_t min, std::size_t max) const;

  private:
    std::vector<std::string> m_positionals;
    std::vector<std::pair<std::string, std::string>> m_values;
    std::vector<std::string> m_flags;
};
