#pragma once

#include <filesystem>
#include <string_view>

// Writes content to path so that path is always either the old file or the whole new one: the
// bytes go to a temporary file in the same folder, are flushed to disk, and the temporary file is
// renamed over the target. An existing file keeps its permissions. A failure leaves no temporary
// file and raises CQMVVLTException with failureCode under context.
void WriteFileAtomically(const std::filesystem::path& path, std::string_view content,
                         int failureCode, std::string_view context);
