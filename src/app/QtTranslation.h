#pragma once

#include <QString>
#include <string>

// Qt's own texts (dialog buttons, file and print dialogs, edit box context menus) follow the
// program's language through Qt's translation catalogues.
namespace QtTranslation {

// The catalogue locale of a language key ("fr", "pt_BR" ...); empty for English and unknown keys.
// Canadian French has no catalogue of its own and takes the French one.
QString LocaleOf(const std::string& languageKey);

// Installs Qt's catalogue for languageKey in the running application, replacing one installed
// earlier; false when there is no application, no catalogue for the key or it cannot be loaded.
bool Install(const std::string& languageKey);

}  // namespace QtTranslation
