#include "CliArgs.h"

#include <algorithm>

CCliArgs::CCliArgs(const std::vector<std::string>& args,
                   const std::vector<std::string>& valueOptions,
                   const std::vector<std::string>& flagOptions) {
    auto known = [](const std::vector<std::string>& list, const std::string& name) {
        return std::find(list.begin(), list.end(), name) != list.end();
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.size() > 1 && arg[0] == '-') {
            if (known(valueOptions, arg)) {
                if (i + 1 == args.size()) {
                    throw CliUsageError{"option " + arg + " needs a value"};
                }
                m_values.emplace_back(arg, args[++i]);
            } else if (known(flagOptions, arg)) {
                m_flags.push_back(arg);
            } else {
                throw CliUsageError{"unknown option " + arg};
            }
        } else {
            m_positionals.push_back(arg);
        }
    }
}

std::optional<std::string> CCliArgs::Value(const std::string& option) const {
    for (auto it = m_values.rbegin(); it != m_values.rend(); ++it) {
        if (it->first == option) {
            return it->second;
        }
    }
    return std::nullopt;
}

std::vector<std::string> CCliArgs::Values(const std::string& option) const {
    std::vector<std::string> values;
    for (const auto& [name, value] : m_values) {
        if (name == option) {
            values.push_back(value);
        }
    }
    return values;
}

std::string CCliArgs::Required(const std::string& option, const std::string& what) const {
    auto value = Value(option);
    if (!value) {
        throw CliUsageError{"missing " + option + " " + what};
    }
    return std::move(*value);
}

bool CCliArgs::Flag(const std::string& option) const {
    return std::find(m_flags.begin(), m_flags.end(), option) != m_flags.end();
}

void CCliArgs::ExpectPositionals(std::size_t min, std::size_t max) const {
    if (m_positionals.size() < min) {
        throw CliUsageError{"missing argument"};
    }
    if (m_positionals.size() > max) {
        throw CliUsageError{"unexpected argument " + m_positionals[max]};
    }
}
