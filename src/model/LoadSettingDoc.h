#pragma once

#include <filesystem>
#include <string>

#include "MessageId.h"
#include "XmlDom.h"

// Loads a settings document from the install folder: "lib" when fromLib is set, "Report"
// otherwise. An empty name gives null. A file that is missing, empty, unreadable, wrongly
// scrambled or not well-formed raises 222 (context "LoadSettingDoc", the file and the reason as
// detail): the caller shows that message at its command boundary and stops.
XmlDocPtr LoadSettingDoc(const std::string& name, bool fromLib);

// The same for a file given by path.
XmlDocPtr LoadSettingDocFile(const std::filesystem::path& file);
