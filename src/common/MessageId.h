#pragma once

// The numbers of the string-table messages the code shows or raises, one name each, from the list
// in Messages.def. Texts the user sees are looked up by these numbers (LoadString,
// CStringTable::Format); exceptions carry them as their code.
namespace MessageId {

#define QMV_MESSAGE(number, name, text) inline constexpr int name = number;
#include "Messages.def"
#undef QMV_MESSAGE

}  // namespace MessageId
