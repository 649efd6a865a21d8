#pragma once

#include <QDialog>
#include <QString>

// Help > About: the product, its version and the legal notices.
class CAboutDialog : public QDialog {
    Q_OBJECT
  public:
    explicit CAboutDialog(QWidget* parent);

    // The product version this program was built as.
    static QString Version();
};
