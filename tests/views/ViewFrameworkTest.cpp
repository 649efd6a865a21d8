#include <QLabel>
#include <QSignalSpy>
#include <QTemporaryDir>

#include "CHelpPane.h"
#include "CHelpPaneSetting.h"
#include "CRadioInfoView.h"
#include "CTextMessageView.h"
#include "CTextMessagesView.h"
#include "ExpectSoon.h"
#include "FrameFixture.h"
#include "FullProfile.h"
#include "MessageId.h"
#include "RadioInfoText.h"
#include "XmlDom.h"

namespace {

using ViewFrameworkTest = FrameFixture;

TEST(RadioInfoText, VersionTexts) {
    EXPECT_EQ(RadioInfoText::Firmware("R", 1, 2, 3), "R01.02.03");
    EXPECT_EQ(RadioInfoText::Firmware("R", 26, 12, 5), "R1A.12.05");
    EXPECT_EQ(RadioInfoText::Codeplug(1, 10, 2), "CP01.0A.02");
}

TEST_F(ViewFrameworkTest, OwnRadioNameFromItsIdentifier) {
    ProfilePieces pieces;
    pieces.privates = PrivateXml("Solo", "10000001");
    const auto path = m_config.Path() / "Radio.lam";
    WriteFileBytes(path, MakeProfile(pieces));
    Open(path);
    const CDataItem root = m_frame->Document().Model().GetRootItem();
    const struct {
        std::string pid;
        std::string name;
    } cases[] = {
        {"10000001", "Solo"},
        {"10000009", "XXXXXXXXXXX"},
        {"XXXXXXXX", "XXXXXXXX"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RadioInfoText::OwnRadioName(root, c.pid), c.name) << c.pid;
    }
}

// Longer translated labels and names widen the tree pane instead of being cut, up to a limit.
TEST_F(ViewFrameworkTest, TreePaneStartsWideEnoughForItsLabels) {
    for (const int length : {6, 12, 200}) {
        ProfilePieces pieces;
        pieces.privates =
            PrivateXml(std::string(static_cast<std::size_t>(length), 'W'), "10000001");
        const auto path = m_config.Path() / ("Wide" + std::to_string(length) + ".lam");
        WriteFileBytes(path, MakeProfile(pieces));
        CloseFrame();
        Open(path);
        Tree()->expandAll();
        const int needed = static_cast<QAbstractItemView*>(Tree())->sizeHintForColumn(0);
        const int shown = Tree()->viewport()->width();
        if (needed <= 300) {
            EXPECT_GE(shown, needed) << length;
        } else {
            EXPECT_LT(shown, m_frame->width() / 2) << length;
        }
    }
}

TEST_F(ViewFrameworkTest, ControlsFollowTheGuiResourceMap) {
    Open();
    Click(Node(kKindTextMessages));
    auto* view = qobject_cast<CTextMessagesView*>(m_frame->View());
    ASSERT_NE(view, nullptr);
    EXPECT_FALSE(view->Control(CTextMessagesView::kAdd)->isHidden());
    Node(kKindTextMessages)->setExpanded(true);
    Click(Node(kKindTextMessage, 0));
    // The message view's add row is marked invisible; its caption is listed and shown.
    EXPECT_TRUE(m_frame->View()->Control(CTextMessageView::kAdd)->isHidden());
    EXPECT_TRUE(m_frame->View()->Control(CTextMessageView::kAddLabel)->isHidden());
    EXPECT_FALSE(m_frame->View()->Control(CTextMessageView::kCaption)->isHidden());
    // Every control carries its id and a name for screen readers.
    QWidget* text = m_frame->View()->Control(CTextMessageView::kText);
    EXPECT_EQ(text->property("ctrlId").toInt(), CTextMessageView::kText);
    EXPECT_EQ(text->accessibleName(), "Text Message");
}

TEST_F(ViewFrameworkTest, EveryNodeShowsAViewWithItsCaption) {
    Open();
    const struct {
        int kind;
        int position;
        QString caption;
    } cases[] = {
        {kKindSettings, 0, "Settings"},
        {kKindContacts, 0, "Contacts"},
        {kKindPublicGroups, 0, "Public Groups"},
        {kKindPrivate, 1, "Bruno Costa"},
        {kKindLists, 0, "Lists"},
        {kKindScanChannel, 2, "Scan List Channel 3"},
        {kKindTextMessages, 0, "Text Messages"},
    };
    Node(kKindScanList)->setExpanded(true);
    for (const auto& c : cases) {
        Click(Node(c.kind, c.position));
        ASSERT_NE(m_frame->View(), nullptr) << c.kind;
        EXPECT_EQ(m_frame->View()->Caption()->text(), c.caption);
        EXPECT_FALSE(m_frame->View()->Caption()->isHidden()) << c.kind;
    }
}

TEST_F(ViewFrameworkTest, UnlistedControlIsHidden) {
    // Drop the firmware row from the map of the profile's group.
    xmlDoc* map = nullptr;
    Open();
    map = m_frame->Document().SettingsCopy();
    const CXPath xpath(map);
    for (xmlNode* node : xpath.SelectNodes("//dfns:RadioInfo/dfns:*[@ID='" +
                                           std::to_string(CRadioInfoView::kFirmware) + "']")) {
        xmlUnlinkNode(node);
        xmlFreeNode(node);
    }
    Click(Node(kKindSettings));
    Click(Tree()->topLevelItem(0));
    EXPECT_TRUE(m_frame->View()->Control(CRadioInfoView::kFirmware)->isHidden());
    EXPECT_FALSE(m_frame->View()->Control(CRadioInfoView::kName)->isHidden());
}

TEST_F(ViewFrameworkTest, HelpPaneShowsTheMappedPageOfTheFocusedControl) {
    constexpr int kNoSuchControl = 4242;
    QTemporaryDir help;
    WriteFileBytes(std::filesystem::path(help.path().toStdString()) / "TextMessage.html",
                   "<html><body><p>Type the message.</p></body></html>");
    const CHelpPaneSetting& map = m_settings->HelpPane();
    const CHelpPane::Folders folder{help.path().toStdString()};
    const QUrl page =
        CHelpPane::PageFor(map, folder, "CTextMessageView", CTextMessageView::kDelete);
    EXPECT_EQ(page.fileName(), "TextMessage.html");
    EXPECT_EQ(page.fragment(), "delete");
    EXPECT_TRUE(CHelpPane::PageFor(map, folder, "CTextMessageView", kNoSuchControl).isEmpty());
    EXPECT_TRUE(CHelpPane::PageFor(map, folder, "CRadioInfoView", CRadioInfoView::kPid)
                    .isEmpty());  // no file

    Open();
    CHelpPane pane(map, folder);
    m_frame->SetHelpPaneShown(true);
    Node(kKindTextMessages)->setExpanded(true);
    Click(Node(kKindTextMessage, 0));
    m_frame->View()->Control(CTextMessageView::kText)->setFocus();
    EXPECT_EQ(m_frame->HelpPane()->Shown().isEmpty(), true);  // no pages in the test install
    pane.ShowFor("CTextMessageView", CTextMessageView::kText);
    EXPECT_EQ(pane.Shown().fileName(), "TextMessage.html");
    EXPECT_TRUE(pane.toPlainText().contains("Type the message."));
}

// A German frame shows the German page of a control; a page the language lacks comes in English.
TEST_F(ViewFrameworkTest, HelpPaneShowsTheLanguagesPageElseTheEnglishOne) {
    const std::filesystem::path help = std::filesystem::path(QMVVLT_SOURCE_DATA_DIR) / "help";
    QTemporaryDir partial;  // a language with only its text messages page written
    const std::filesystem::path partialFolder = partial.path().toStdString();
    std::filesystem::copy_file(help / "German/TextMessages.htm",
                               partialFolder / "TextMessages.htm");
    m_helpFolders = CHelpPane::HelpFolders((partialFolder / "index.html").string(),
                                           (help / "English/index.html").string(), m_install);
    ASSERT_EQ(m_helpFolders.size(), 2u);
    Open();
    m_frame->SetHelpPaneShown(true);
    m_frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_frame));
    Click(Node(kKindTextMessages));
    m_frame->View()->Control(CTextMessagesView::kAdd)->setFocus();  // "Add Text Message"
    EXPECT_SOON((m_frame->HelpPane()->Shown().fileName()) == (QString("TextMessages.htm")));
    EXPECT_TRUE(m_frame->HelpPane()->toPlainText().contains("Textnachricht hinzufügen"));

    Node(kKindTextMessages)->setExpanded(true);
    Click(Node(kKindTextMessage, 0));
    m_frame->View()->Control(CTextMessageView::kText)->setFocus();
    EXPECT_SOON((m_frame->HelpPane()->Shown().fileName()) == (QString("TextMessage.htm")));
    EXPECT_TRUE(m_frame->HelpPane()->Shown().toLocalFile().contains("/English/"));
}

// A profile data error closes the window without saving over the file; unsaved changes are first
// kept in a profile file of the recovered folder, which the message names.
TEST_F(ViewFrameworkTest, ProfileDataErrorClosesTheWindowWithoutSavingAndKeepsTheChanges) {
    const std::string before = ReadFileBytes(m_profile);
    const std::filesystem::path recovered = Utility::UserDataFolder() / "recovered";
    for (const bool changed : {false, true}) {
        SCOPED_TRACE(changed);
        Open();
        if (changed) {
            ASSERT_EQ(m_frame->Tree()
                          ->ListItem(kKindPrivates)
                          .GetChildByIndex(1)
                          .SetAttributeValue("name", ScriptText("Kept Name"))
                          .result,
                      0);
            m_frame->MarkModified();
        }
        m_tester.reset();  // the window goes with its model
        m_ui.shown.clear();
        QSignalSpy destroyed(m_frame.data(), &QObject::destroyed);
        m_frame->ReportProfileDataError();
        ASSERT_TRUE(destroyed.wait(5000));
        EXPECT_EQ(m_maybeSaveCalls, 0);
        EXPECT_EQ(ReadFileBytes(m_profile), before);

        std::vector<std::filesystem::path> kept;
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator(recovered, ec)) {
            kept.push_back(entry.path());
        }
        if (!changed) {
            EXPECT_TRUE(kept.empty());
            EXPECT_EQ(m_ui.shown,
                      std::vector<std::string>{LoadString(MessageId::kProfileDataError)});
            continue;
        }
        ASSERT_EQ(kept.size(), 1u);
        EXPECT_EQ(kept[0].filename().string().rfind("Sample-", 0), 0u) << kept[0];
        EXPECT_EQ(m_ui.shown.size(), 1u);
        EXPECT_TRUE(m_ui.Showed(MessageId::kProfileDataErrorKeptIn, kept[0].string()));
        CQMVVLTDoc reopened(*m_settings, m_install, m_ui);
        ASSERT_TRUE(reopened.Open(kept[0]));
        const CXPath query(reopened.Model().GetProfileDoc());
        EXPECT_EQ(GetAttribute(query.SelectFirst("//dfns:Private[@pid='10000003']"), "name"),
                  "Kept Name");
    }
}

}  // namespace
