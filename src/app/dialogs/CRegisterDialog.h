#pragma once

#include <QDialog>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "CRegisterDatabase.h"

class CRegister;
class CRegisterTableModel;
class IAppUi;
class QCheckBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

// Device > Register: the register of radio operations as a table that sorts by any column and
// filters by PID, profile file and date; exports what it shows as CSV, opens a record's backup as
// a new profile, writes it back to its radio, and shows the fleet report. The records of a
// profile other than the active one are marked.
class CRegisterDialog : public QDialog {
    Q_OBJECT
  public:
    // Control ids ("ctrlId").
    enum ControlId : int {
        kPidFilter = 36001,
        kProfileFilter = 36002,
        kSinceCheck = 36003,
        kSinceDate = 36004,
        kTable = 36005,
        kExportCsv = 36006,
        kOpenBackup = 36007,
        kRestoreBackup = 36008,
        kFleetReport = 36009,
        kCloseButton = 36010,
    };
    // What the window asks of the program.
    struct Actions {
        std::function<void(const std::filesystem::path& backup)> openBackup;
        std::function<void(const std::filesystem::path& backup, const std::string& pid)> restore;
        // ProfileHash of the active profile; "" when no profile is open.
        std::function<std::string()> activeProfileHash;
    };

    // pageFolder: where the fleet report's page is written (the user's cache folder).
    CRegisterDialog(CRegister& reg, IAppUi& ui, std::filesystem::path installPath,
                    std::filesystem::path pageFolder, Actions actions, QWidget* parent);
    ~CRegisterDialog() override;

    QWidget* Control(int ctrlId) const;
    CRegisterTableModel* Model() const { return m_model; }
    QTableView* Table() const { return m_table; }
    // Whether the register could be opened (else the window says why, with an empty table).
    bool IsOpen() const { return m_db != nullptr; }

    // Asks the register again (new records, another active profile).
    void Refresh();
    void ExportCsv();
    void OpenBackup();
    void RestoreBackup();
    void ShowFleetReport();

  private:
    void ApplyFilter();
    // The rows shown, and the buttons that follow the selection.
    void ShowCount();
    void ShowColumns();
    void UpdateButtons();
    // The selected row's record; false when no row is selected.
    bool Selected(CRegisterRecord& record) const;
    // The selected record's backup when its file is there; else tells the user and returns "".
    std::filesystem::path SelectedBackup(CRegisterRecord& record);
    void ShowFailure(const std::string& text);

    CRegister& m_register;
    IAppUi& m_ui;
    std::filesystem::path m_installPath;
    std::filesystem::path m_pageFolder;
    Actions m_actions;
    std::unique_ptr<CRegisterDatabase> m_db;
    CRegisterTableModel* m_model = nullptr;
    QLabel* m_status = nullptr;
    QLabel* m_count = nullptr;
    QLineEdit* m_pid = nullptr;
    QLineEdit* m_profile = nullptr;
    QCheckBox* m_sinceCheck = nullptr;
    QDateEdit* m_since = nullptr;
    QTableView* m_table = nullptr;
    QPushButton* m_export = nullptr;
    QPushButton* m_openBackup = nullptr;
    QPushButton* m_restore = nullptr;
    QPushButton* m_report = nullptr;
};
