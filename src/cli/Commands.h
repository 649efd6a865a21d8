#pragma once

#include "CliContext.h"

// One function per command; each returns the process exit status. Profile, data-file and
// configuration failures are raised as CQMVVLTException and reported by main.
int CmdImage(const CliContext& ctx);
// The profile as plain UTF-8 XML text, whatever its form on disk.
int CmdExport(const CliContext& ctx);
// Shows the effective configuration, one value, or sets a user-scope value.
int CmdConfig(const CliContext& ctx);
// The serial ports, the programming cable among them, and the current port.
int CmdPorts(const CliContext& ctx);
// Resets a radio.
int CmdReset(const CliContext& ctx);
// Captures another radio's PID over the air and prints it.
int CmdCapturePid(const CliContext& ctx);
// Radio information, capacities, contacts, lists and texts of a profile.
int CmdShow(const CliContext& ctx);
// Loads a profile through the data model; exit 0 when it loads.
int CmdValidate(const CliContext& ctx);
// The installed profile templates.
int CmdTemplates(const CliContext& ctx);
// A new profile from an installed template.
int CmdNew(const CliContext& ctx);
// A profile file from plain XML text.
int CmdImport(const CliContext& ctx);
// An older profile converted to the latest format.
int CmdUpgrade(const CliContext& ctx);
// The radio-specific or overview report as HTML or PDF.
int CmdReport(const CliContext& ctx);
// Reads a radio into a new profile file.
int CmdRead(const CliContext& ctx);
// Writes a profile to a radio, or to one radio after another.
int CmdWrite(const CliContext& ctx);
// Contacts of a profile as CSV, and CSV contacts imported into a new profile file.
int CmdContacts(const CliContext& ctx);
// The differences between two profiles; exit 0 when there are none, 1 otherwise.
int CmdDiff(const CliContext& ctx);
// The programming station: radios written on several ports side by side.
int CmdStation(const CliContext& ctx);
// The register of radio operations: listed, or exported as CSV.
int CmdRegister(const CliContext& ctx);
