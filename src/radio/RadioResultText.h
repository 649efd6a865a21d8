#pragma once

#include <string>

// The text the main window and the command line show for a result code.
std::string RadioResultText(int code);

// The text a transfer dialog shows for a result code (its status line; for kTextToRadio,
// kTextFromRadio and kModifiedBandProfile the dialog shows it in a message box instead and, for
// the first two, empties its status line; for kPasswordUnavailable the dialog shows the number).
std::string RadioTransferText(int code);

// text followed, on a line of its own, by why the port did not open when there is a reason.
std::string WithPortProblem(const std::string& text, int code, const std::string& portProblem);
