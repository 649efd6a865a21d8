#pragma once

#include <QLineEdit>

// A codeplug password box: at most four decimal digits, masked, and outside the clipboard: it
// ignores pasting (keys, middle click, drops) and has no context menu.
class CPasswordEdit : public QLineEdit {
    Q_OBJECT
  public:
    static constexpr int kLength = 4;

    explicit CPasswordEdit(QWidget* parent = nullptr);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void dropEvent(QDropEvent* event) override;
};
