// Grabs the main window on the offscreen platform for the README: a plain start, a profile with
// its radio information, a text message, the help pane, the settings, the Edit menu and three
// dialogs, and the programming station at work on two virtual radios. The program starts in the
// configured language, so the same pictures serve a translation review; with --review it also grabs
// every kind of view, the find bar and the dialogs where longer texts must still fit.
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

#include "CAboutDialog.h"
#include "CAppSettings.h"
#include "CBaseView.h"
#include "CChildFrame.h"
#include "CDealerInfoDialog.h"
#include "CDocumentCommands.h"
#include "CMainFrame.h"
#include "CMessageBoxUi.h"
#include "CNewProfileDlg.h"
#include "CPreferenceDialog.h"
#include "CPseudoTerminal.h"
#include "CQMVVLTApp.h"
#include "CQMVVLTDoc.h"
#include "CQMVVLTTreeView.h"
#include "CQtPortLister.h"
#include "CRadioCommands.h"
#include "CRadioSeries.h"
#include "CRadioSimServer.h"
#include "CReadWriteDialog.h"
#include "CRegister.h"
#include "CRegisterCommands.h"
#include "CRegisterDialog.h"
#include "CReportDlg.h"
#include "CReportOptionDlg.h"
#include "CStationWindow.h"
#include "CTextMessageView.h"
#include "CTransferContext.h"
#include "CVirtualRadio.h"
#include "FleetReport.h"
#include "MessageId.h"
#include "ReportPage.h"
#include "StringTable.h"
#include "Utility.h"

namespace {

bool Grab(QWidget& window, const QString& folder, const char* name) {
    QApplication::processEvents();
    const QString file = folder + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png");
    if (!window.grab().save(file)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
        return false;
    }
    std::printf("%s\n", qPrintable(file));
    return true;
}

QTreeWidgetItem* FindNode(QTreeWidget* tree, int kind, int position) {
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        if (CQMVVLTTreeView::KindOf(*it) == kind && CQMVVLTTreeView::PositionOf(*it) == position) {
            return *it;
        }
    }
    return nullptr;
}

// Two cables with a series of virtual radios each, swapped as an operator swaps them.
struct CVirtualCable {
    explicit CVirtualCable(std::vector<std::u16string> pids)
        : radios(CVirtualRadio::DefaultImage(), {}, Series(std::move(pids))),
          server(radios, line, false) {
        radios.SetFinishDelayMs(0);
        server.Start();
    }
    ~CVirtualCable() { server.Stop(); }
    static CSimSeries Series(std::vector<std::u16string> pids) {
        CSimSeries series;
        series.pids = std::move(pids);
        series.swap = std::chrono::milliseconds(1500);
        return series;
    }
    CPseudoTerminal line;
    CRadioSeries radios;
    CRadioSimServer server;
};

// The station window of the open profile, a job running on two virtual cables with a unit list,
// grabbed once three radios are done.
bool GrabStation(CMainFrame& window, const std::filesystem::path& config, const QString& output) {
    window.ShowStation();
    CStationWindow* station = window.StationWindow();
    if (!station) {
        return false;
    }
    const std::filesystem::path units = config / "units.csv";
    std::ofstream(units) << "pid,unit,language\n10000101,Truck 1,4\n10000102,Truck 2,\n"
                            "10000201,Forklift 1,\n10000202,Forklift 2,4\n";
    CVirtualCable first({u"10000101", u"10000102"});
    CVirtualCable second({u"10000201", u"10000202"});
    auto* port = static_cast<QLineEdit*>(station->Control(CStationWindow::kPortEditCtrl));
    for (const CVirtualCable* cable : {&first, &second}) {
        port->setText(QString::fromStdString(cable->line.PortName()));
        static_cast<QPushButton*>(station->Control(CStationWindow::kAddPortCtrl))->click();
    }
    static_cast<QLineEdit*>(station->Control(CStationWindow::kUnitListCtrl))
        ->setText(QString::fromStdString(units.string()));
    for (int option : {CStationWindow::kVerifyCtrl, CStationWindow::kListedOnlyCtrl,
                       CStationWindow::kAcceptUnsupportedCtrl}) {
        static_cast<QCheckBox*>(station->Control(option))->setChecked(true);
    }
    static_cast<QPushButton*>(station->Control(CStationWindow::kStartCtrl))->click();
    auto* radios = static_cast<QListWidget*>(station->Control(CStationWindow::kRadiosCtrl));
    QElapsedTimer waited;
    waited.start();
    while (station->Running() && radios->count() < 3 && waited.elapsed() < 60000) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
    }
    const bool ok = radios->count() >= 3 && Grab(*station, output, "programming-station");
    station->Stop();
    while (station->Running()) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
    }
    station->close();
    return ok;
}

}  // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 4) {
        std::fprintf(stderr,
                     "usage: qmvvlt-screenshots CONFIG_DIR PROFILE OUTPUT_DIR [--review]\n");
        return 2;
    }
    const bool review = argc > 4 && std::strcmp(argv[4], "--review") == 0;
    // Text that does not render would make a useless picture.
    if (!QFontMetrics(QApplication::font()).inFont(QLatin1Char('Q'))) {
        std::fprintf(stderr, "no usable font on this system\n");
        return 1;
    }
    Utility::SetConfigFolder(std::filesystem::path(argv[1]));
    const QString output = QString::fromLocal8Bit(argv[3]);
    QDir().mkpath(output);

    CMessageBoxUi ui(nullptr);
    const auto settings = CQMVVLTApp::Start(ui);
    if (!settings) {
        return 1;
    }
    CMainFrame window(*settings, Utility::GetInstallPath());
    window.resize(1000, 640);
    window.show();
    bool ok = Grab(window, output, "main-window");
    if (!window.Documents().Open(argv[2])) {
        return 1;
    }
    CChildFrame* frame = window.ActiveFrame();
    ok = ok && Grab(window, output, "profile-radio-information");
    QTreeWidget* tree = frame->Tree();
    tree->setCurrentItem(FindNode(tree, 2, 0));
    ok = ok && Grab(window, output, "text-messages");
    tree->setCurrentItem(FindNode(tree, 3, 0));
    ok = ok && Grab(window, output, "text-message");
    frame->SetHelpPaneShown(true);
    if (QWidget* text = frame->View()->Control(CTextMessageView::kText)) {
        text->setFocus();
    }
    ok = ok && Grab(window, output, "help-pane");
    frame->SetHelpPaneShown(false);
    tree->setCurrentItem(FindNode(tree, 5, 0));
    ok = ok && Grab(window, output, "public-groups");
    tree->setCurrentItem(FindNode(tree, 1, 0));
    ok = ok && Grab(window, output, "settings");
    // The Edit menu holds most commands and the Language submenu.
    if (QMenu* edit = window.menuBar()->actions().value(1)->menu()) {
        edit->popup(window.mapToGlobal(QPoint(60, 20)));
        ok = ok && Grab(*edit, output, "menu-edit");
        edit->hide();
    }
    // The translation review (--review) also takes every kind of view and the dialogs a
    // translation must fit; the README needs none of them.
    if (review) {
        // Every kind of view.
        const char* const kViews[] = {
            "radio-information", "settings",       "text-messages", "text-message", "contacts",
            "public-groups",     "private-groups", "privates",      "public-group", "private-group",
            "private",           "lists",          "scroll-list",   "scan-list",    "scan-channel"};
        tree->expandAll();
        for (int kind = 0; kind < 15; ++kind) {
            if (QTreeWidgetItem* node = FindNode(tree, kind, 0)) {
                tree->setCurrentItem(node);
                const QByteArray name = QByteArray("view-") + (kind < 10 ? "0" : "") +
                                        QByteArray::number(kind) + '-' + kViews[kind];
                ok = Grab(window, output, name.constData()) && ok;
            }
        }
        // The settings page is longer than the window: once more in a window that holds all of it.
        window.resize(1000, 1500);
        tree->setCurrentItem(FindNode(tree, 1, 0));
        ok = Grab(window, output, "view-01-settings-whole") && ok;
        window.resize(1000, 640);
        frame->ActivateFind();
        ok = Grab(window, output, "find-bar") && ok;

        // Dialogs, where longer translations must still fit.
        const CQtPortLister ports;
        CPreferenceDialog preferences(
            ports, [](const QString&) {}, &window);
        preferences.show();
        ok = Grab(preferences, output, "dialog-preferences") && ok;
        CTransferContext context;
        for (const auto mode : {CReadWriteDialog::kReadMode, CReadWriteDialog::kWriteMode}) {
            CReadWriteDialog transfer(
                mode, context, [] { return 1; }, window.Ui(), [](const QString&) {},
                QStringLiteral("ttyUSB0"), &window);
            transfer.show();
            ok = Grab(transfer, output,
                      mode == CReadWriteDialog::kReadMode ? "dialog-read" : "dialog-write") &&
                 ok;
        }
        CReportOptionDlg report(frame->Document(), Utility::GetInstallPath(),
                                QDir::tempPath().toStdString(), window.Ui(), &window);
        report.show();
        ok = Grab(report, output, "dialog-report-choice") && ok;
        // The register window: writes of this profile and of an older one, a read, a reset.
        if (CRegister* reg = window.Radio().Register()) {
            const std::string active = ProfileHash(frame->Document().Model().ProfileText());
            const struct {
                const char* time;
                const char* operation;
                const char* pid;
                const char* profile;
                bool current;
                int outcome;
            } records[] = {
                {"2026-12-01T08:02:11.000Z", RegisterOperation::kWrite, "10000042", "Fleet.lam",
                 false, 1},
                {"2026-12-01T08:05:40.000Z", RegisterOperation::kStationWrite, "10000043",
                 "Fleet.lam", false, 1},
                {"2026-12-08T14:10:03.000Z", RegisterOperation::kRead, "10000042", "", false, 1},
                {"2026-12-09T09:31:57.000Z", RegisterOperation::kWrite, "10000042", "Sample.lam",
                 true, 1},
                {"2026-12-09T09:40:12.000Z", RegisterOperation::kWrite, "10000044", "Sample.lam",
                 true, -2},
                {"2026-12-09T09:44:30.000Z", RegisterOperation::kReset, "10000045", "", false, 1},
            };
            for (const auto& r : records) {
                CRegisterRecord record =
                    CRegisterRecord::ForOperation(r.operation, "/dev/ttyUSB0", r.outcome);
                record.time = r.time;
                record.pid = r.pid;
                record.model = "Q410";
                record.firmware = "R5E.08.00";
                record.profileFile = r.profile;
                if (*r.profile) {
                    record.profileHash = r.current ? active : std::string(64, 'b');
                }
                reg->Record(record);
            }
            reg->Flush();
            window.RegisterCommands().Show();
            if (CRegisterDialog* dialog = window.RegisterCommands().Dialog()) {
                ok = Grab(*dialog, output, "dialog-register") && ok;
            }
            const auto folder =
                std::filesystem::path(Utility::GetInstallPath()) / kReportFolderName;
            CReportDlg fleet(
                SaveReport(folder, kFleetReportOutput, FleetReportPage(reg->List(), folder, active),
                           QDir::tempPath().toStdString()),
                window.Ui(), &window);
            fleet.resize(900, 500);
            fleet.show();
            ok = Grab(fleet, output, "dialog-fleet-report") && ok;
        }
        QMessageBox restart(QMessageBox::Information, QString::fromLatin1(kApplicationName),
                            QString::fromStdString(LoadString(MessageId::kYouHaveToRestart)),
                            QMessageBox::Ok, &window);
        restart.show();
        ok = Grab(restart, output, "message-restart") && ok;
    }
    ok = ok && GrabStation(window, std::filesystem::path(argv[1]), output);
    CAboutDialog about(&window);
    about.show();
    ok = ok && Grab(about, output, "dialog-about");
    CDealerInfoDialog dealer(&window);
    dealer.show();
    ok = ok && Grab(dealer, output, "dialog-dealer");
    CNewProfileDlg newProfile(&window, Utility::GetInstallPath());
    newProfile.show();
    ok = ok && Grab(newProfile, output, "dialog-new-profile");
    return ok ? 0 : 1;
}
