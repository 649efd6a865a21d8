#pragma once

#include <string>
#include <string_view>

#include "CVirtualCodeplug.h"
#include "XmlDom.h"

// Converts profile XML into a virtual codeplug.
class CDataAdaptor {
  public:
    // Fills image (normally freshly constructed) from the profile text (UTF-8). currentRadioPid is
    // the own PID of the radio about to be written (empty if none): when it belongs to a private
    // contact with a private scroll list, that list becomes the image's scroll list. Returns 1;
    // failures raise CQMVVLTException, leaving image partly filled (callers discard it).
    static int XML2VirtualCP(std::string_view profileText, CVirtualCodeplug& image,
                             std::u16string_view currentRadioPid);

    // A new document loaded from the profile text, with the private scroll list of the private
    // contact whose PID is pid put in place of the global scroll list (nothing changes when pid is
    // empty, matches no private contact or that contact has no private scroll list).
    static XmlDocPtr CopyPrvtScrlLst(std::string_view profileText, std::u16string_view pid);
};
