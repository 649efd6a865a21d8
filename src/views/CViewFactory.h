#pragma once

#include <string>

class CBaseView;
class IViewHost;
class QWidget;

// The editing view of a tree node kind (0..14); nothing for any other kind.
class CViewFactory {
  public:
    static CBaseView* Create(int kind, IViewHost& host, QWidget* parent);
    // The view's class name (the help map's section) and GUI resource key of a kind.
    static const char* ClassName(int kind);
    static const char* ResourceKey(int kind);
};
