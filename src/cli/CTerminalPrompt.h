#pragma once

#include <optional>
#include <string>

// Questions on the terminal that Ctrl-C ends at once (with CCliInterrupt alive) and that leave the
// terminal as they found it on every way out.
class CTerminalPrompt {
  public:
    // One line from standard input without its end; nothing at the end of input or on Ctrl-C.
    // With echo false the typed characters are not shown (a password).
    static std::optional<std::string> ReadLine(bool echo = true);
    // question followed by " [y/N] ": --yes answers Yes, no terminal answers No (both said on the
    // line), else the user's answer; Ctrl-C and the end of input answer No.
    static bool AskYesNo(const std::string& question, bool yesToAll);
};
