#pragma once

#include <string>

class CQMVVLTDoc;
class CQMVVLTException;
class IViewUi;
struct ChangeNotice;

// The tree node whose view is shown.
struct CurrentNode {
    int kind = 0;
    int position = 0;
};

// What the editing views and the tree need of the document window they live in.
class IViewHost {
  public:
    virtual ~IViewHost() = default;
    virtual CQMVVLTDoc& Document() = 0;
    virtual CurrentNode Current() const = 0;
    virtual IViewUi& Ui() = 0;
    // A change notice (NodeKind.h) to the tree and the other views.
    virtual void NotifyAllViews(const ChangeNotice& notice) = 0;
    virtual void MarkModified() = 0;
    // Names the change being made for the Undo and Redo commands ("Delete 'Bob'").
    virtual void DescribeChange(const std::string& description) = 0;
    // An operation of the tree or a view failed: a profile data error (the profile contradicts
    // what a view needs) closes the window without saving, anything else shows its message.
    virtual void ReportFailure(const CQMVVLTException& e) = 0;
    // The shown view's ValidateCurrentItem (1 when there is none).
    virtual int ValidateView() = 0;
    // Replaces the editing view with the one of kind (suffix: the private view's caption suffix).
    virtual void ShowView(int kind, int position, const std::string& suffix = {}) = 0;
    // Asks the shown view to focus its first field after an add (runs later, queued).
    virtual void PostFocusFirstField(int kind) = 0;
    // A text for the main window's status bar (the idle text restores it).
    virtual void SetStatusText(const std::string& /*text*/) {}
    // A control of an editing view got the focus (for the help pane).
    virtual void ControlFocused(const std::string& viewClass, int ctrlId) = 0;
};
