#pragma once

#include <QWidget>
#include <map>
#include <set>
#include <string>

#include "CDataItem.h"
#include "IViewHost.h"

struct ChangeNotice;
class QGridLayout;
class QLayout;
class QVBoxLayout;
class QLabel;
class QLineEdit;

// The common base of the editing views: a white form under a caption band, centred in the pane
// and kept 20 px from its left edge, scrolling when taller than the pane. Every control carries
// its numeric id (property "ctrlId"); the GUI resource map of the profile's model group decides
// which are shown, and rows whose controls are all hidden collapse.
class CBaseView : public QWidget {
    Q_OBJECT
  public:
    // className names the view in the help map; resourceKey its entry in the GUI resource map.
    CBaseView(IViewHost& host, std::string className, std::string resourceKey,
              QWidget* parent = nullptr);

    // 1 lets the tree move on, 0 keeps this view, -1 reports that the view deleted its item.
    virtual int ValidateCurrentItem() { return 1; }
    virtual void FocusFirstField(int /*kind*/) {}
    virtual void LoadData() {}
    virtual void RefreshCaption() {}
    // What the tree adds to a new private's caption (" (add with scanner)", for instance).
    void SetCaptionSuffix(std::string suffix) { m_captionSuffix = std::move(suffix); }
    const std::string& CaptionSuffix() const { return m_captionSuffix; }
    // A change notice from elsewhere (a rename in the tree, for instance).
    virtual void OnChangeNotice(const ChangeNotice& /*notice*/) {}

    // Caption and data, then the GUI resource map's visibility. Raises CQMVVLTException.
    void InitialUpdate();

    const std::string& ClassName() const { return m_className; }
    const std::string& ResourceKey() const { return m_resourceKey; }
    QWidget* Control(int ctrlId) const;
    QLabel* Caption() const { return m_caption; }

    static constexpr const char* kCtrlIdProperty = "ctrlId";

    // Keeps a control's value where screen readers read it (its accessible description), current
    // as the control changes: the text of an edit or list box, the state of a check box, the
    // number of rows and the selected rows of a list. Registered controls get it on their own.
    static void TrackAccessibleValue(QWidget* control);
    static void UpdateAccessibleValue(QWidget* control);

  protected:
    CDataItem RootItem() const;
    // The caption band (first in the form) and heading bands.
    QLabel* SetCaption(int ctrlId, const QString& text);
    QLabel* AddHeading(int ctrlId, const QString& text);
    // A row: a label (its buddy is the control, and names it for screen readers) and a control.
    void AddRow(QLabel* label, QWidget* control);
    // A button that serves the field above it, lined up with the fields.
    void AddFieldButtonRow(QWidget* button);
    QLabel* NewLabel(int ctrlId, const QString& text);
    QLineEdit* NewReadOnlyEdit(int ctrlId);
    // Registers a control under its id: property, help-pane focus tracking.
    template <class W>
    W* Register(int ctrlId, W* widget) {
        RegisterControl(ctrlId, widget);
        return widget;
    }

    // A control the GUI resource map does not govern (a form the map does not describe yet).
    void KeepShown(int ctrlId) { m_keptShown.insert(ctrlId); }

    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

    IViewHost& m_host;

  private:
    void RegisterControl(int ctrlId, QWidget* widget);
    void ApplyVisibility();
    void UpdateFormGrowth();

    std::string m_className;
    std::string m_resourceKey;
    std::string m_captionSuffix;
    QWidget* m_form = nullptr;
    QGridLayout* m_grid = nullptr;
    QVBoxLayout* m_column = nullptr;
    QLayout* m_centring = nullptr;
    QLabel* m_caption = nullptr;
    int m_nextRow = 0;
    std::map<int, QWidget*> m_controls;
    std::set<int> m_keptShown;
};
