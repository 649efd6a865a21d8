#pragma once

#include <QDialog>

class IDocumentUi;
class QLineEdit;

// The Dealer Info command: the user's dealer, contact and notes texts of the current language,
// read from and stored into the configuration store.
class CDealerInfoDialog : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kMaxLength = 250;

    // ui answers for the message boxes; null shows them over this dialog.
    explicit CDealerInfoDialog(QWidget* parent, IDocumentUi* ui = nullptr);

    // Shows kLanguageTypeError and returns Rejected without opening when the texts cannot be read.
    int exec() override;
    // Stores the three texts; on failure shows kDealerReadFailed or kDealerWriteFailed and stays
    // open.
    void accept() override;

  private:
    void ShowError(int messageId);

    IDocumentUi* m_ui;
    QLineEdit* m_dealerInfo;
    QLineEdit* m_contactInfo;
    QLineEdit* m_dealerNotes;
};
