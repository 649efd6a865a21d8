#pragma once

class QWidget;

// Which edit commands the focused widget allows, and carrying them out on it. An edit box is a
// line or text edit; the two password boxes (by control id) never take part in the clipboard.
struct EditCommandState {
    bool editFocused = false;  // the focus is in an edit box
    bool cut = false;
    bool copy = false;
    bool paste = false;
    bool clear = false;  // Delete in an edit box: remove its selection
};

class CEditCommandRouter {
  public:
    static EditCommandState Evaluate(QWidget* focus, bool clipboardHasText);
    static void Cut(QWidget* focus);
    static void Copy(QWidget* focus);
    static void Paste(QWidget* focus);
    static void Clear(QWidget* focus);
};
