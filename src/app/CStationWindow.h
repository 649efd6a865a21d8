#pragma once

#include <QWidget>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "CAppSettings.h"
#include "CRegister.h"
#include "CStationJob.h"

class CQMVVLTDoc;
class CStation;
class CStationEvents;
class CUnitList;
class IPortLister;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableWidget;
class QTimer;
struct CStationPortState;
struct CStationRadioResult;

// The programming station window for one profile: which ports take part (every detected cable
// checked), the unit list, the job's answers (backup, verify, listed radios only, password,
// accepting what a radio cannot take), Start and Stop, a row per port with what it is doing and
// its counts, the radios done so far and the totals. Closing it while a job runs stops the job at
// a safe point first and closes once every port has stopped.
class CStationWindow : public QWidget {
    Q_OBJECT
  public:
    // Control ids ("ctrlId").
    enum Control : int {
        kPortsCtrl = 1700,
        kPortEditCtrl,
        kAddPortCtrl,
        kUnitListCtrl,
        kBrowseCtrl,
        kBackupCtrl,
        kVerifyCtrl,
        kListedOnlyCtrl,
        kAcceptUnsupportedCtrl,
        kPasswordCtrl,
        kStartCtrl,
        kStopCtrl,
        kRadiosCtrl,
        kRefusalsCtrl,
        kTotalCtrl,
        kMessageCtrl,
        kRegisterCtrl,
    };
    // Columns of the port table.
    enum Column : int {
        kPortColumn,
        kStateColumn,
        kWrittenColumn,
        kFailedColumn,
        kRefusedColumn,
        kRateColumn,
        kColumnCount
    };

    // base: the job's profile and what the window does not ask (profile, rule environment,
    // backup folder, poll timing); ports: the ports listed at first, cables checked; app: the
    // settings the job's backups are made with (its own: the program's thread keeps using its
    // settings meanwhile).
    CStationWindow(CStationJob base, CRegisterOptions registerOptions,
                   const std::vector<std::pair<std::string, bool>>& ports,
                   std::unique_ptr<CAppSettings> app, QWidget* parent = nullptr);
    // Stops a running job and waits for its ports.
    ~CStationWindow() override;

    // The window for doc's profile: every serial port listed, the cables checked, the register
    // of the configuration, backups where the single-radio write keeps them.
    static CStationWindow* ForDocument(const CQMVVLTDoc& doc, const CAppSettings& settings,
                                       const std::filesystem::path& installPath,
                                       const IPortLister& ports, QWidget* parent);

    bool Running() const { return m_station != nullptr; }
    CRegister& Register() { return *m_register; }
    QWidget* Control(int ctrlId) const;

    // Ends the job; the ports stop at their next safe point.
    void Stop();

  signals:
    // The job has ended and every port has stopped.
    void jobFinished();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    template <class W>
    W* Tag(int ctrlId, W* widget, const QString& accessibleName);
    void AddPort(const QString& port, bool checked);
    void AddPortFromEdit();
    void ChooseUnitList();
    void Start();
    // The unit list named, read against the profile; false (refusals shown) when it was refused.
    bool ReadUnitList();
    void ShowPortState(int portIndex, const CStationPortState& state);
    void ShowRadio(int portIndex, const CStationRadioResult& result);
    void UpdateCounts();
    void JobFinished();
    void UpdateControls();
    void ShowMessage(const QString& text);

    const CStationJob m_base;
    std::unique_ptr<CAppSettings> m_app;
    std::unique_ptr<CRegister> m_register;

    QTableWidget* m_ports = nullptr;
    QLineEdit* m_portEdit = nullptr;
    QPushButton* m_addPort = nullptr;
    QLineEdit* m_unitFile = nullptr;
    QPushButton* m_browse = nullptr;
    QCheckBox* m_backup = nullptr;
    QCheckBox* m_verify = nullptr;
    QCheckBox* m_listedOnly = nullptr;
    QCheckBox* m_acceptUnsupported = nullptr;
    QLineEdit* m_password = nullptr;
    QPushButton* m_start = nullptr;
    QPushButton* m_stop = nullptr;
    QListWidget* m_radios = nullptr;
    QListWidget* m_refusals = nullptr;
    QLabel* m_refusalsLabel = nullptr;
    QLabel* m_total = nullptr;
    QLabel* m_message = nullptr;
    QLabel* m_registerState = nullptr;
    QTimer* m_clock = nullptr;
    std::map<int, QWidget*> m_controls;

    // The running job: the rows its ports show, its unit list, the station itself (stopped and
    // gone before the events object it reports to).
    std::vector<int> m_jobRows;
    std::unique_ptr<CUnitList> m_units;
    CStationEvents* m_events = nullptr;
    std::unique_ptr<CStation> m_station;
    bool m_closeWhenStopped = false;
};
