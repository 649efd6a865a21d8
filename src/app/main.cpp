#include <QApplication>
#include <QCommandLineParser>

#include "CAppSettings.h"
#include "CDocumentCommands.h"
#include "CMainFrame.h"
#include "CMessageBoxUi.h"
#include "CQMVVLTApp.h"
#include "CRecoverySession.h"
#include "CShellRequests.h"
#include "CSingleInstance.h"
#include "CSplashScreen.h"
#include "CTestProbe.h"
#include "MessageId.h"
#include "StringTable.h"
#include "Utility.h"

namespace {
QString Text(int id) {
    return QString::fromStdString(LoadString(id));
}
}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(kApplicationName));
    QApplication::setApplicationVersion(QStringLiteral(QMVVLT_VERSION));
    QApplication::setOrganizationName(QStringLiteral("Varentis Solutions"));
    QApplication::setDesktopFileName(QStringLiteral("qmvvlt"));

    QCommandLineParser parser;
    parser.setApplicationDescription(Text(MessageId::kQMVSeriesCustomerProgramming));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption install(QStringLiteral("install"), Text(MessageId::kUseDIRAsInstall),
                                     QStringLiteral("DIR"));
    const QCommandLineOption config(QStringLiteral("config"),
                                    Text(MessageId::kKeepConfigurationStoreIn),
                                    QStringLiteral("DIR"));
    const QCommandLineOption noSplash(QStringLiteral("no-splash"),
                                      Text(MessageId::kStartWithoutSplashScreen));
    parser.addOptions({install, config, noSplash});
    parser.addPositionalArgument(QStringLiteral("profile"), Text(MessageId::kProfileLamToOpen),
                                 QStringLiteral("[profile]"));
    parser.process(app);

    if (parser.isSet(config)) {
        Utility::SetConfigFolder(parser.value(config).toStdString());
    }
    if (parser.isSet(install)) {
        Utility::SetInstallPathOverride(parser.value(install).toStdString());
    }
    const QStringList files = parser.positionalArguments();

    // A running program takes the files and this process ends.
    CSingleInstance single;
    if (single.TryHandOver(files)) {
        return 0;
    }

    CMessageBoxUi startupUi(nullptr);
    const std::unique_ptr<CAppSettings> settings = CQMVVLTApp::Start(startupUi);
    if (!settings) {
        return 1;
    }
    CMainFrame window(*settings, Utility::GetInstallPath());
    // Every profile window keeps a recovery copy from here on.
    CRecoverySession recovery(window);
    std::unique_ptr<CTestProbe> probe;
    if (CTestProbe::Wanted()) {
        probe = std::make_unique<CTestProbe>(window);
    }
    CShellRequests requests(window);
    QObject::connect(&single, &CSingleInstance::filesRequested, &requests, &CShellRequests::Add);
    // Listening before the profiles load: a later start meanwhile hands its files over (served
    // once the event loop runs) instead of starting a second program.
    single.Listen();
    for (const QString& file : files) {
        if (!window.Documents().Open(file.toStdString())) {
            return 1;
        }
    }
    window.showMaximized();
    recovery.OfferLeftCopies();
    // The splash goes over the shown window, so that closing it reveals the program.
    if (!parser.isSet(noSplash)) {
        CSplashScreen::ShowFor(&window);
    }
    return QApplication::exec();
}
