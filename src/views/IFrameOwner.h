#pragma once

class CChildFrame;

// What a document window asks of the window that holds it.
class IFrameOwner {
  public:
    virtual ~IFrameOwner() = default;
    // Closing a modified document: the save-changes question and the save; false keeps it open.
    virtual bool MaybeSave(CChildFrame& frame) = 0;
    // False while something (a radio command) works on the document: the window stays open and
    // nothing is asked.
    virtual bool MayClose(const CChildFrame& frame) const = 0;
    // The document's modified state or title changed.
    virtual void FrameChanged(CChildFrame& frame) = 0;
};
