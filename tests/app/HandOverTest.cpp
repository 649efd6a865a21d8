#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QProcess>
#include <algorithm>

#include "CRecentFiles.h"
#include "CSingleInstance.h"
#include "ConfigTestFolder.h"
#include "MessageId.h"
#include "StringTable.h"
#include "TestInstall.h"
#include "WaitForChange.h"

namespace {

namespace fs = std::filesystem;

// The built program running offscreen on the test's own configuration store, with its test probe
// on: what it shows arrives as lines on its standard output, and it answers its messages when
// told to.
class RunningProgram {
  public:
    explicit RunningProgram(const ConfigTestFolder& config)
        : m_common({QStringLiteral("--no-splash"), QStringLiteral("--config"),
                    QString::fromStdString(config.Path().string()), QStringLiteral("--install"),
                    QString::fromStdString(TestInstallFolder().string())}) {
        m_environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        m_environment.insert(QStringLiteral("QMVVLT_TEST_PROBE"), QStringLiteral("1"));
        m_first.setProcessEnvironment(m_environment);
        m_first.start(QStringLiteral(QMVVLT_APP_BINARY), m_common);
        m_first.waitForStarted();
        m_socket = CSingleInstance::DefaultServerName();
        if (QFileInfo(m_socket).isRelative()) {
            m_socket = QDir(QDir::tempPath()).filePath(m_socket);
        }
        WaitForChange({QFileInfo(m_socket).absolutePath()},
                      [&] { return QFileInfo::exists(m_socket) || !Running(); });
    }
    ~RunningProgram() {
        m_first.kill();
        m_first.waitForFinished();
        QLocalServer::removeServer(m_socket);
    }

    bool Running() const { return m_first.state() == QProcess::Running; }
    QString Errors() { return QString::fromLocal8Bit(m_first.readAllStandardError()); }

    // A second start with these files; its exit code (-1 when it did not end in time).
    int HandOver(const std::vector<fs::path>& files) const {
        QStringList arguments = m_common;
        for (const fs::path& file : files) {
            arguments << QString::fromStdString(file.string());
        }
        QProcess second;
        second.setProcessEnvironment(m_environment);
        second.start(QStringLiteral(QMVVLT_APP_BINARY), arguments);
        if (!second.waitForFinished(15000)) {
            second.kill();
            second.waitForFinished();
            return -1;
        }
        if (second.exitStatus() != QProcess::NormalExit) {
            return -1;
        }
        return second.exitCode();
    }

    void Tell(const char* command) {
        m_first.write(QByteArray(command) + '\n');
        m_first.waitForBytesWritten(5000);
    }

    // Waits for the next line of the probe for which wanted holds; false when the program ended
    // or went quiet first. Every line read is kept in Lines().
    bool WaitForLine(const std::function<bool(const QString&)>& wanted) {
        const QDeadlineTimer deadline(15000);
        for (;;) {
            while (m_first.canReadLine()) {
                m_lines << QString::fromUtf8(m_first.readLine()).trimmed();
                if (wanted(m_lines.back())) {
                    return true;
                }
            }
            if (!Running() || deadline.hasExpired()) {
                return false;
            }
            m_first.waitForReadyRead(static_cast<int>(deadline.remainingTime()));
        }
    }
    const QStringList& Lines() const { return m_lines; }

  private:
    QStringList m_common;
    QProcessEnvironment m_environment = QProcessEnvironment::systemEnvironment();
    QProcess m_first;
    QString m_socket;
    QStringList m_lines;
};

fs::path CopySample(const ConfigTestFolder& config, const char* name) {
    const fs::path profile = config.Path() / name;
    fs::copy_file(QMVVLT_SOURCE_DATA_DIR "/samples/SampleProfile.xml", profile);
    return profile;
}

bool InRecentFiles(const fs::path& profile) {
    const auto entries = CRecentFiles::Entries();
    return std::find(entries.begin(), entries.end(), fs::canonical(profile).string()) !=
           entries.end();
}

// The built program, started twice on one configuration store: the second start hands its
// profile to the first, which opens it, and ends successfully.
TEST(ProgramHandOver, SecondStartHandsItsProfileToTheRunningProgram) {
    ConfigTestFolder config;
    const fs::path profile = CopySample(config, "Sample.lam");
    RunningProgram program(config);
    ASSERT_TRUE(program.Running()) << program.Errors().toStdString();

    EXPECT_EQ(program.HandOver({profile}), 0);
    // The running program records what it opened in the store's recent-file list.
    const QString store = QString::fromStdString(config.User().string());
    EXPECT_TRUE(WaitForChange({QString::fromStdString(config.Path().string()), store},
                              [&] { return InRecentFiles(profile); }));
    EXPECT_TRUE(program.Running());
}

// A hand-over whose first profile is refused: the running program says so and, once the message
// is answered, opens the good one and goes on. A profile handed over while the message is on
// screen waits until it is answered.
TEST(ProgramHandOver, ARefusedProfileLeavesTheProgramRunningAndLaterOnesWaitForTheAnswer) {
    ConfigTestFolder config;
    const fs::path good = CopySample(config, "Good.lam");
    const fs::path later = CopySample(config, "Later.lam");
    const fs::path broken = config.Path() / "Broken.lam";
    WriteFileBytes(broken, ReadFileBytes(good).substr(0, 300));
    RunningProgram program(config);
    ASSERT_TRUE(program.Running()) << program.Errors().toStdString();

    ASSERT_EQ(program.HandOver({broken, good}), 0);
    const QString refused =
        QStringLiteral("modal ") + QString::fromStdString(LoadString(MessageId::kInvalidProfile));
    ASSERT_TRUE(program.WaitForLine([&](const QString& line) { return line == refused; }))
        << program.Lines().join('\n').toStdString();
    // The sender has its answer and is gone; the message is still up.
    ASSERT_EQ(program.HandOver({later}), 0);
    program.Tell("answer");
    const auto titled = [](const fs::path& file) {
        return [name = QString::fromStdString(file.filename().string())](const QString& line) {
            return line.startsWith(QLatin1String("title ")) && line.contains(name);
        };
    };
    EXPECT_TRUE(program.WaitForLine([](const QString& line) { return line == "answered"; }));
    EXPECT_TRUE(program.WaitForLine(titled(later))) << program.Lines().join('\n').toStdString();
    // Still serving: a start without files only brings it to the front.
    EXPECT_EQ(program.HandOver({}), 0);
    EXPECT_TRUE(program.Running()) << program.Errors().toStdString();

    const QStringList& lines = program.Lines();
    const auto firstOf = [&](const std::function<bool(const QString&)>& wanted) {
        return std::find_if(lines.begin(), lines.end(), wanted) - lines.begin();
    };
    const auto answered = firstOf([](const QString& line) { return line == "answered"; });
    EXPECT_LT(answered, firstOf(titled(good))) << lines.join('\n').toStdString();
    EXPECT_LT(firstOf(titled(good)), firstOf(titled(later))) << lines.join('\n').toStdString();
    EXPECT_EQ(lines.filter(QStringLiteral("modal ")).size(), 1);
    const QString store = QString::fromStdString(config.User().string());
    EXPECT_TRUE(WaitForChange({QString::fromStdString(config.Path().string()), store},
                              [&] { return InRecentFiles(good) && InRecentFiles(later); }));
    EXPECT_FALSE(InRecentFiles(broken));
}

}  // namespace
