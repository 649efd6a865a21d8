#pragma once

#include <QPlainTextEdit>

// A multi-line edit box that holds at most MaxLength() characters: a keystroke or paste that
// would go beyond is dropped (a paste keeps what fits) and limitExceeded() is emitted.
class CTextMessageEdit : public QPlainTextEdit {
    Q_OBJECT
  public:
    explicit CTextMessageEdit(int maxLength, QWidget* parent = nullptr);
    int MaxLength() const { return m_maxLength; }
    int Length() const;

  signals:
    void limitExceeded();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;

  private:
    // How many characters may still be inserted in place of the selection.
    int Room() const;
    int m_maxLength;
};
