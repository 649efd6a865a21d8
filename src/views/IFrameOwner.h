#pragma once

class CChildFrame;

// What a document window asks of the window that holds it.
class IFrameOwner {
  public:
    virtual ~IFrameOwner() = default;
    // Closing a modified document: the save-changes question and the save; false keeps it open.
    virtual bool MaybeSave(CChildFrame& frame) = 0;
    // The document's modified state or title changed.
    virtual void FrameChanged(CChildFrame& frame) = 0;
};
