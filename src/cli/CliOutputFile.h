#pragma once

#include <filesystem>
#include <string_view>

// Writes content to a temporary file beside path and renames it into place, so a failed write
// never leaves a half-written file. A failure raises
// CQMVVLTException with failureCode.
void WriteFileAtomically(const std::filesystem::path& path, std::string_view content,
                         int failureCode, std::string_view context);
