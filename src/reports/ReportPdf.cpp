#include "ReportPdf.h"

#include <QBuffer>
#include <QByteArray>
#include <QGuiApplication>
#include <QImage>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTextDocument>
#include <QUrl>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string_view>

#include "AtomicFile.h"
#include "CQMVVLTException.h"

namespace {

// Print margins of the reports, in inches: left/right and top/bottom.
constexpr double kMarginSide = 0.23667;
constexpr double kMarginTopBottom = 0.16667;

void EnsureGuiApplication() {
    if (QGuiApplication::instance()) {
        return;
    }
    // Reports render the same on a server without a display.
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY") &&
        !std::getenv("QT_QPA_PLATFORM")) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    // Qt's own notes (runtime folders, fonts) are not the user's business here.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtCriticalMsg || type == QtFatalMsg) {
            std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
        }
    });
    static int argc = 1;
    static char name[] = "qmvvlt-cli";
    static char* argv[] = {name, nullptr};
    static std::unique_ptr<QGuiApplication> app = std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace

bool WriteReportPdf(const std::string& page, const std::filesystem::path& resourceFolder,
                    const std::filesystem::path& pdf) {
    EnsureGuiApplication();
    // Rendered in memory first, so the file on disk is only ever replaced by a whole report.
    QByteArray bytes;
    std::error_code ec;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setCreator("QMV VLT");
        writer.setPageLayout(
            QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                        QMarginsF(kMarginSide, kMarginTopBottom, kMarginSide, kMarginTopBottom),
                        QPageLayout::Inch));
        QTextDocument document;
        document.setBaseUrl(
            QUrl::fromLocalFile(QString::fromStdString(resourceFolder.string() + "/")));
        // Qt's rich text keeps inline text after a closed <div> in that block: give the
        // underlined titles blocks of their own so they start on a new line as in a browser.
        QString html = QString::fromStdString(page);
        html.replace(QRegularExpression(R"(<span class="ItemTitleU">(.*?)</span><BR>)"),
                     R"(<p class="ItemTitleU" style="margin: 2px 0">\1</p>)");
        // Pictures are named relative to the page.
        for (const auto& entry : std::filesystem::directory_iterator(resourceFolder, ec)) {
            if (entry.path().extension() == ".jpg") {
                const QImage picture(QString::fromStdString(entry.path().string()));
                document.addResource(QTextDocument::ImageResource,
                                     QUrl(QString::fromStdString(entry.path().filename().string())),
                                     picture);
            }
        }
        document.setHtml(html);
        document.print(&writer);
    }
    if (bytes.isEmpty()) {
        return false;
    }
    try {
        // The code only labels the exception caught here; the caller reports the failure.
        WriteFileAtomically(
            pdf, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), 0,
            "WriteReportPdf");
    } catch (const CQMVVLTException&) {
        return false;
    }
    return true;
}
