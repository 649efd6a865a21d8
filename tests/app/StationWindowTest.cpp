#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <algorithm>
#include <fstream>
#include <map>
#include <set>

#include "CQMVVLTDoc.h"
#include "CRegister.h"
#include "CStationWindow.h"
#include "ConfigTestFolder.h"
#include "ExpectSoon.h"
#include "MessageId.h"
#include "SimFixture.h"
#include "StationText.h"
#include "StringTable.h"
#include "TestAppSettings.h"
#include "TextCodec.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Phase = CStationPortState::Phase;

// The sample profile's station window, its register in the test's folder, with ports that poll
// often and radios that answer FinishWrite at once.
class StationWindowTest : public testing::Test {
  protected:
    StationWindowTest() : m_app(TestAppSettings()), m_doc(m_app, TestInstallFolder(), m_ui) {
        EXPECT_TRUE(
            m_doc.ImportXml(fs::path(QMVVLT_SOURCE_DATA_DIR) / "samples/SampleProfile.xml"));
        m_register.localFile = m_config.Path() / "register.sqlite";
        CStationJob base;
        base.environment = m_app.ModelEnvironment(TestInstallFolder());
        base.profile = m_doc.TakeSnapshot();
        base.profileFile = "/fleet/fleet.lam";
        base.pollInterval = 20ms;
        base.finishPause = 0ms;
        m_window = new CStationWindow(base, m_register, {},
                                      std::make_unique<CAppSettings>(TestAppSettings()));
        m_window->show();
        // Every text a port's row shows, in order.
        QObject::connect(Ports()->model(), &QAbstractItemModel::dataChanged,
                         [this](const QModelIndex& from) {
                             if (from.column() == CStationWindow::kStateColumn) {
                                 m_seen[from.row()].push_back(from.data().toString());
                             }
                         });
    }
    ~StationWindowTest() override { delete m_window.data(); }

    template <class W = QWidget>
    W* Control(int ctrlId) const {
        auto* widget = qobject_cast<W*>(m_window->Control(ctrlId));
        EXPECT_NE(widget, nullptr) << ctrlId;
        return widget;
    }
    QTableWidget* Ports() const { return Control<QTableWidget>(CStationWindow::kPortsCtrl); }
    QString Cell(int row, int column) const { return Ports()->item(row, column)->text(); }

    // Types the port into the window and adds it, as the user does.
    void AddPort(const std::string& port) {
        QLineEdit* edit = Control<QLineEdit>(CStationWindow::kPortEditCtrl);
        edit->setFocus();
        QTest::keyClicks(edit, QString::fromStdString(port));
        QTest::mouseClick(Control<QPushButton>(CStationWindow::kAddPortCtrl), Qt::LeftButton);
    }
    void Click(int ctrlId) { QTest::mouseClick(Control<QPushButton>(ctrlId), Qt::LeftButton); }

    ConfigTestFolder m_config;
    CAppSettings m_app;
    CNoQuestionsUi m_ui;
    CQMVVLTDoc m_doc;
    CRegisterOptions m_register;
    QPointer<CStationWindow> m_window;
    std::map<int, std::vector<QString>> m_seen;
};

std::unique_ptr<CSimSeriesRadio> Cable(const char* pid) {
    CSimSeries series;
    series.pids = {Utf8ToUtf16(pid)};
    series.swap = 50ms;
    return std::make_unique<CSimSeriesRadio>(CVirtualRadio::DefaultImage(), series);
}

}  // namespace

// Two cables side by side: each row reaches done with its radio's PID, the radios are listed and
// counted, the register holds a record each; Stop, or closing the window, ends the job with every
// port stopped.
TEST_F(StationWindowTest, TwoCablesAreWrittenAndTheJobEnds) {
    for (const bool byClosing : {false, true}) {
        SCOPED_TRACE(byClosing ? "closed" : "stopped");
        const std::vector<const char*> pids =
            byClosing ? std::vector{"10000311", "10000312"} : std::vector{"10000301", "10000302"};
        std::vector<std::unique_ptr<CSimSeriesRadio>> cables;
        for (const char* pid : pids) {
            cables.push_back(Cable(pid));
            AddPort(cables.back()->Port());
        }
        ASSERT_EQ(Ports()->rowCount(), 2);
        Control<QCheckBox>(CStationWindow::kVerifyCtrl)->setChecked(true);
        Control<QCheckBox>(CStationWindow::kAcceptUnsupportedCtrl)->setChecked(true);
        Click(CStationWindow::kStartCtrl);
        ASSERT_TRUE(m_window->Running());
        EXPECT_FALSE(Control(CStationWindow::kStartCtrl)->isEnabled());

        QListWidget* radios = Control<QListWidget>(CStationWindow::kRadiosCtrl);
        EXPECT_SOON(radios->count() == 2);
        EXPECT_SOON(Cell(0, CStationWindow::kWrittenColumn) == QLatin1String("1") &&
                    Cell(1, CStationWindow::kWrittenColumn) == QLatin1String("1"));
        for (int row = 0; row < 2; ++row) {
            CStationPortState done;
            done.phase = Phase::kDone;
            done.pid = pids[static_cast<std::size_t>(row)];
            EXPECT_NE(std::count(m_seen[row].begin(), m_seen[row].end(),
                                 QString::fromStdString(StationStateText(done))),
                      0)
                << row;
            EXPECT_TRUE(cables[static_cast<std::size_t>(row)]->radios.Units()[0].written);
        }

        if (byClosing) {
            EXPECT_FALSE(m_window->close()) << "the job must stop before the window goes";
            EXPECT_SOON(m_window.isNull());
        } else {
            Click(CStationWindow::kStopCtrl);
            EXPECT_SOON(!m_window->Running());
            CStationPortState stopped;
            stopped.phase = Phase::kStopped;
            for (int row = 0; row < 2; ++row) {
                EXPECT_EQ(Cell(row, CStationWindow::kStateColumn),
                          QString::fromStdString(StationStateText(stopped)));
            }
            EXPECT_TRUE(Control(CStationWindow::kStartCtrl)->isEnabled());
            ASSERT_TRUE(m_window->Register().Flush());
        }
        CRegister reg(m_register);
        std::set<std::string> recorded;
        for (const CRegisterRecord& record : reg.List()) {
            recorded.insert(record.pid);
        }
        EXPECT_TRUE(recorded.contains(pids[0]) && recorded.contains(pids[1]));
        if (m_window) {
            m_seen.clear();
            Ports()->setRowCount(0);
        }
    }
}

// A unit list with a refused value is shown with its line, and nothing starts.
TEST_F(StationWindowTest, RefusedUnitListStartsNothing) {
    const auto cable = Cable("10000401");
    AddPort(cable->Port());
    const fs::path units = m_config.Path() / "units.csv";
    std::ofstream(units) << "pid,unit,language\n10000401,Truck 1,4\n10000402,Truck 2,3\n";
    Control<QLineEdit>(CStationWindow::kUnitListCtrl)->setText(QString::fromStdString(units));
    Click(CStationWindow::kStartCtrl);

    EXPECT_FALSE(m_window->Running());
    QListWidget* refusals = Control<QListWidget>(CStationWindow::kRefusalsCtrl);
    ASSERT_EQ(refusals->count(), 1);
    EXPECT_TRUE(refusals->isVisible());
    const QString line3 = QString::fromStdString(
        CStringTable::Instance().Format(MessageId::kCsvRowRefused, {"3", ""}));
    EXPECT_TRUE(refusals->item(0)->text().startsWith(line3))
        << refusals->item(0)->text().toStdString();
    EXPECT_EQ(Control<QLabel>(CStationWindow::kMessageCtrl)->text().toStdString(),
              LoadString(MessageId::kStationUnitListRefused));
    EXPECT_TRUE(Control(CStationWindow::kStartCtrl)->isEnabled());
    EXPECT_TRUE(Cell(0, CStationWindow::kStateColumn).isEmpty());
    EXPECT_FALSE(cable->radios.Units()[0].written);
}

// From the keyboard alone: Tab reaches every control the user sets, each named for screen
// readers, and Space on Start without a checked port says so instead of starting.
TEST_F(StationWindowTest, EveryControlIsReachedAndNamedFromTheKeyboard) {
    QApplication::setActiveWindow(m_window);
    Control(CStationWindow::kPortsCtrl)->setFocus();
    std::set<int> reached;
    for (int step = 0; step < 40; ++step) {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        reached.insert(focus->property("ctrlId").toInt());
        EXPECT_FALSE(focus->accessibleName().isEmpty()) << focus->property("ctrlId").toInt();
        QTest::keyClick(focus, Qt::Key_Tab);
    }
    for (const int ctrlId :
         {CStationWindow::kPortsCtrl, CStationWindow::kPortEditCtrl, CStationWindow::kUnitListCtrl,
          CStationWindow::kBrowseCtrl, CStationWindow::kBackupCtrl, CStationWindow::kVerifyCtrl,
          CStationWindow::kListedOnlyCtrl, CStationWindow::kAcceptUnsupportedCtrl,
          CStationWindow::kPasswordCtrl, CStationWindow::kStartCtrl}) {
        EXPECT_TRUE(reached.count(ctrlId)) << ctrlId;
    }
    auto* start = Control<QPushButton>(CStationWindow::kStartCtrl);
    start->setFocus();
    QTest::keyClick(start, Qt::Key_Space);
    EXPECT_EQ(Control<QLabel>(CStationWindow::kMessageCtrl)->text(),
              QString::fromStdString(LoadString(MessageId::kStationNoPort)));
    EXPECT_FALSE(Control<QPushButton>(CStationWindow::kStopCtrl)->isEnabled());
}
