#pragma once

#include <string>

// The text the main window and the command line show for a result code.
std::string RadioResultText(int code);
