#pragma once

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QPointer>
#include <QTest>
#include <QTreeWidget>
#include <memory>

#include "CAppSettings.h"
#include "CChildFrame.h"
#include "CQMVVLTDoc.h"
#include "CQMVVLTTreeView.h"
#include "ConfigTestFolder.h"
#include "IFrameOwner.h"
#include "NodeKind.h"
#include "ScriptedViewUi.h"
#include "TestInstall.h"
#include "Utility.h"

// A document window over a copy of the sample profile, shown offscreen, with scripted answers.
class FrameFixture : public ::testing::Test, public IFrameOwner {
  protected:
    void SetUp() override {
        Utility::SetInstallPathOverride(TestInstallFolder());
        m_settings = std::make_unique<CAppSettings>(CAppSettings::Load());
        ASSERT_TRUE(m_settings->BuildGroupSettings(kLatestModelGroup));
        m_profile = m_config.Path() / "Sample.lam";
        std::filesystem::copy_file(QMVVLT_SOURCE_DATA_DIR "/samples/SampleProfile.xml", m_profile);
    }
    void TearDown() override {
        CloseFrame();
        Utility::SetInstallPathOverride(std::nullopt);
    }

    void CloseFrame() {
        m_tester.reset();
        delete m_frame.data();
    }
    CChildFrame& Open() { return Open(m_profile); }
    CChildFrame& Open(const std::filesystem::path& profile) {
        auto document = std::make_unique<CQMVVLTDoc>(*m_settings, m_install, m_ui);
        EXPECT_TRUE(document->Open(profile));
        m_frame = new CChildFrame(std::move(document), *m_settings, m_helpFolders, m_ui, *this);
        m_tester = std::make_unique<QAbstractItemModelTester>(
            m_frame->Tree()->model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
        m_frame->resize(900, 600);
        m_frame->show();
        m_frame->InitialUpdate();
        m_frame->Tree()->setFocus();
        return *m_frame;
    }

    QTreeWidget* Tree() const { return m_frame->Tree(); }
    QTreeWidgetItem* Node(int kind, int position = 0) const {
        for (QTreeWidgetItemIterator it(Tree()); *it; ++it) {
            if (CQMVVLTTreeView::KindOf(*it) == kind &&
                CQMVVLTTreeView::PositionOf(*it) == position) {
                return *it;
            }
        }
        return nullptr;
    }
    QStringList Labels(QTreeWidgetItem* node) const {
        QStringList labels;
        for (int i = 0; node && i < node->childCount(); ++i) {
            labels << node->child(i)->text(0);
        }
        return labels;
    }
    // A click on an item, as the user would select it.
    void Click(QTreeWidgetItem* item) {
        Tree()->scrollToItem(item);
        // The column may be wider than the pane: click the part in view.
        const QRect rect = Tree()->visualItemRect(item).intersected(Tree()->viewport()->rect());
        QTest::mouseClick(Tree()->viewport(), Qt::LeftButton, {}, rect.center());
    }

    // IFrameOwner
    bool MaybeSave(CChildFrame&) override {
        ++m_maybeSaveCalls;
        return true;
    }
    bool MayClose(const CChildFrame&) const override { return true; }
    void FrameChanged(CChildFrame&) override {}

    ConfigTestFolder m_config;
    ScriptedViewUi m_ui;
    std::unique_ptr<CAppSettings> m_settings;
    std::filesystem::path m_profile;
    std::filesystem::path m_install = TestInstallFolder();
    std::vector<std::filesystem::path> m_helpFolders{TestInstallFolder() / "help"};
    QPointer<CChildFrame> m_frame;
    std::unique_ptr<QAbstractItemModelTester> m_tester;
    int m_maybeSaveCalls = 0;
};
