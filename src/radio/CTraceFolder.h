#pragma once

#include <filesystem>
#include <memory>

class CWireTrace;

// The folder of the wire traces the desktop program keeps: one file per radio command, named
// "trace-YYYYMMDD-HHMMSS-mmm.txt" after the time it started, so name order is age order. Only
// the newest traces are kept; nothing else in the folder is ever removed.
class CTraceFolder {
  public:
    static constexpr int kKept = 10;

    explicit CTraceFolder(std::filesystem::path folder) : m_folder(std::move(folder)) {}

    // Where the desktop program keeps its wire traces.
    static std::filesystem::path UserFolder();

    // A new trace file in the folder (created when needed), after removing the oldest traces so
    // that with the new one no more than kKept remain. Nothing when the file cannot be created.
    // Safe to call from several threads at once.
    std::shared_ptr<CWireTrace> StartTrace() const;
    // Removes the oldest trace files until at most keep remain.
    void Prune(int keep) const;
    // Whether a file name is one of this folder's trace names.
    static bool IsTraceName(const std::string& name);

  private:
    std::filesystem::path m_folder;
};
