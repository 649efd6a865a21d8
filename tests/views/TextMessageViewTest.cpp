#include <QPlainTextEdit>
#include <QPushButton>

#include "CTextMessageView.h"
#include "FrameFixture.h"
#include "MessageId.h"
#include "XmlDom.h"

namespace {

class TextMessageViewTest : public FrameFixture {
  protected:
    // Opens the sample and selects its first message; returns the text box.
    QPlainTextEdit* OpenFirstMessage() {
        Open();
        Node(kKindTextMessages)->setExpanded(true);
        Click(Node(kKindTextMessage, 0));
        auto* text =
            qobject_cast<QPlainTextEdit*>(m_frame->View()->Control(CTextMessageView::kText));
        EXPECT_NE(text, nullptr);
        return text;
    }
    std::vector<std::string> StoredTexts() {
        std::vector<std::string> texts;
        const CXPath xpath(m_frame->Document().Model().GetProfileDoc());
        for (xmlNode* node : xpath.SelectNodes("//dfns:TextMessage")) {
            texts.push_back(GetAttribute(node, "txt").value_or(""));
        }
        return texts;
    }
    static void Retype(QPlainTextEdit* text, const QString& content) {
        text->setFocus();
        text->selectAll();
        QTest::keyClick(text, Qt::Key_Delete);
        QTest::keyClicks(text, content);
    }
};

TEST_F(TextMessageViewTest, TypingBeyondEightyCharactersIsRefusedWith201) {
    QPlainTextEdit* text = OpenFirstMessage();
    Retype(text, QString(80, QLatin1Char('a')));
    EXPECT_TRUE(m_ui.shown.empty());
    QTest::keyClick(text, Qt::Key_B);
    EXPECT_EQ(text->toPlainText(), QString(80, QLatin1Char('a')));
    EXPECT_EQ(m_ui.Count("The length of text message can not exceed 80 characters."), 1);
}

TEST_F(TextMessageViewTest, LineBreaksAreRemovedOnCommitAndTheTreeRelabels) {
    QPlainTextEdit* text = OpenFirstMessage();
    Retype(text, "Back");
    QTest::keyClick(text, Qt::Key_Return);
    QTest::keyClicks(text, "soon");
    EXPECT_TRUE(m_frame->Document().IsModified());
    Click(Node(kKindTextMessages));
    // Leaving re-sorts the list: "Backsoon" now comes first.
    EXPECT_EQ(StoredTexts(), (std::vector<std::string>{"Backsoon", "Meet at gate 3", "On my way"}));
    EXPECT_EQ(Labels(Node(kKindTextMessages)),
              QStringList({"Backsoon", "Meet at gate 3", "On my way"}));
}

TEST_F(TextMessageViewTest, MessageOfLineBreaksIsBlank) {
    const struct {
        int answer;
        std::size_t messagesLeft;
        int selectedKind;
    } cases[] = {
        {MessageStyle::kIdCancel, 3, kKindTextMessage},
        {MessageStyle::kIdOk, 2, kKindTextMessages},
    };
    for (const auto& c : cases) {
        QPlainTextEdit* text = OpenFirstMessage();
        text->setFocus();
        text->selectAll();
        QTest::keyClick(text, Qt::Key_Return);
        QTest::keyClick(text, Qt::Key_Return);
        m_ui.shown.clear();
        m_ui.answers = {c.answer};
        Click(Node(kKindTextMessages));
        EXPECT_TRUE(m_ui.Showed(MessageId::kMessageFieldIsBlank));
        EXPECT_EQ(StoredTexts().size(), c.messagesLeft);
        EXPECT_EQ(Node(kKindTextMessages)->childCount(), static_cast<int>(c.messagesLeft));
        EXPECT_EQ(CQMVVLTTreeView::KindOf(Tree()->currentItem()), c.selectedKind);
        CloseFrame();
    }
}

TEST_F(TextMessageViewTest, LeavingAnUntouchedMessageCommitsAndAsksNothing) {
    OpenFirstMessage();
    Click(Node(kKindTextMessage, 1));
    EXPECT_TRUE(m_ui.shown.empty());
    EXPECT_FALSE(m_frame->Document().IsModified());
    EXPECT_EQ(m_frame->Current().position, 1);
}

TEST_F(TextMessageViewTest, TextsOutsideLatin1AreRefusedWith217) {
    QPlainTextEdit* text = OpenFirstMessage();
    text->setFocus();
    text->selectAll();
    QTest::keyClick(text, Qt::Key_Delete);
    // keyClicks cannot type outside ASCII; send the character as a key event.
    QTest::sendKeyEvent(QTest::Press, text, Qt::Key_unknown, QString(QChar(0x20AC)), {});
    m_ui.answers = {MessageStyle::kIdCancel};
    Click(Node(kKindTextMessage, 1));
    EXPECT_TRUE(m_ui.Showed(MessageId::kMessageNotIso88591));
    EXPECT_EQ(m_frame->Current().position, 0);  // Cancel stays on the message
    EXPECT_EQ(StoredTexts().front(), "Call the office");
}

TEST_F(TextMessageViewTest, DeleteButtonRemovesTheShownMessage) {
    OpenFirstMessage();
    auto* button = qobject_cast<QPushButton*>(m_frame->View()->Control(CTextMessageView::kDelete));
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(StoredTexts(), (std::vector<std::string>{"Meet at gate 3", "On my way"}));
    EXPECT_EQ(CQMVVLTTreeView::KindOf(Tree()->currentItem()), kKindTextMessages);
}

TEST(TextMessageText, ControlCharactersAreRemoved) {
    EXPECT_EQ(CTextMessageView::WithoutControlCharacters("a\nb\tc\r\x01"
                                                         "d"),
              "abcd");
    EXPECT_EQ(CTextMessageView::WithoutControlCharacters("\n\n"), "");
}

}  // namespace
