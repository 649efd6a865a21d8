#pragma once

class CBaseView;
class IViewHost;
class QWidget;

// The editing view of a tree node kind (0..14); nothing for any other kind.
class CViewFactory {
  public:
    static CBaseView* Create(int kind, IViewHost& host, QWidget* parent);
};
