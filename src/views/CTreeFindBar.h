#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;

// The find box above the tree: the text to narrow the tree to and the count of what it matches.
// Escape clears the box (and, when it is empty, hands the focus back); Return and Down go to the
// tree.
class CTreeFindBar : public QWidget {
    Q_OBJECT
  public:
    explicit CTreeFindBar(QWidget* parent = nullptr);

    QString Text() const;
    void SetText(const QString& text);
    // Shows the number of matches (nothing while the box is empty).
    void ShowCount(int matches);
    // Focuses the box with its text selected (the Find command).
    void Activate();
    QLineEdit* Edit() const { return m_edit; }
    QLabel* CountLabel() const { return m_count; }

  signals:
    void textChanged(const QString& text);
    // The user leaves the box for the tree.
    void leaveRequested();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QLineEdit* m_edit = nullptr;
    QLabel* m_count = nullptr;
};
