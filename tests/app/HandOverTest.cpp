#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QProcess>
#include <algorithm>

#include "CRecentFiles.h"
#include "CSingleInstance.h"
#include "ConfigTestFolder.h"
#include "TestInstall.h"
#include "WaitForChange.h"

namespace {

namespace fs = std::filesystem;

// The built program, started twice on one configuration store: the second start hands its
// profile to the first, which opens it, and ends successfully.
TEST(ProgramHandOver, SecondStartHandsItsProfileToTheRunningProgram) {
    ConfigTestFolder config;
    const fs::path profile = config.Path() / "Sample.lam";
    fs::copy_file(QMVVLT_SOURCE_DATA_DIR "/samples/SampleProfile.xml", profile);
    const QStringList common = {QStringLiteral("--no-splash"), QStringLiteral("--config"),
                                QString::fromStdString(config.Path().string()),
                                QStringLiteral("--install"),
                                QString::fromStdString(TestInstallFolder().string())};
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));

    QProcess first;
    first.setProcessEnvironment(environment);
    first.start(QStringLiteral(QMVVLT_APP_BINARY), common);
    ASSERT_TRUE(first.waitForStarted());
    QString socket = CSingleInstance::DefaultServerName();
    if (QFileInfo(socket).isRelative()) {
        socket = QDir(QDir::tempPath()).filePath(socket);
    }
    EXPECT_TRUE(WaitForChange({QFileInfo(socket).absolutePath()}, [&] {
        return QFileInfo::exists(socket) || first.state() != QProcess::Running;
    }));
    ASSERT_EQ(first.state(), QProcess::Running) << first.readAllStandardError().toStdString();

    QProcess second;
    second.setProcessEnvironment(environment);
    second.start(QStringLiteral(QMVVLT_APP_BINARY),
                 common + QStringList{QString::fromStdString(profile.string())});
    ASSERT_TRUE(second.waitForFinished(15000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);

    // The running program records what it opened in the store's recent-file list.
    const std::string opened = fs::canonical(profile).string();
    const QString store = QString::fromStdString(config.User().string());
    EXPECT_TRUE(WaitForChange({QString::fromStdString(config.Path().string()), store}, [&] {
        const auto entries = CRecentFiles::Entries();
        return std::find(entries.begin(), entries.end(), opened) != entries.end();
    }));
    EXPECT_EQ(first.state(), QProcess::Running);

    first.kill();
    first.waitForFinished();
    QLocalServer::removeServer(socket);
}

}  // namespace
