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

// The page as Qt's rich-text engine should see it. A browser widens fixed-width cells to fit
// their text and lets tables fill the page; Qt keeps the pixel widths, so labels run into values
// and everything sits in the left half of the paper. Widths become shares of the page width.
QString PrintableReportHtml(const std::string& page) {
    QString html = QString::fromStdString(page);
    // Qt's rich text keeps inline text after a closed <div> in that block: give the underlined
    // titles blocks of their own so they start on a new line as in a browser.
    html.replace(QRegularExpression(R"(<span class="ItemTitleU">(.*?)</span><BR>)"),
                 R"(<p class="ItemTitleU" style="margin: 2px 0">\1</p>)");
    // Tables fill the page width, with room between their columns.
    html.replace(
        QStringLiteral(R"(<table border="0" cellpadding="0" cellspacing="0")"),
        QStringLiteral(R"(<table width="100%" border="0" cellpadding="1" cellspacing="0")"));
    html.replace(QStringLiteral("<table width='445'>"), QStringLiteral("<table width='100%'>"));
    // Label and value; the indent and the two-column lists.
    static const std::pair<const char*, const char*> kWidths[] = {
        {R"(<td width="110" class="ItemName">)", R"(<td width="30%" class="ItemName">)"},
        {R"(<td width="70" class="ItemVal">)", R"(<td width="70%" class="ItemVal">)"},
        {R"(<td width="15">)", R"(<td width="4%">)"},
        {R"(<td width="265" class="ItemVal">)", R"(<td width="48%" class="ItemVal">)"},
    };
    for (const auto& [from, to] : kWidths) {
        html.replace(QLatin1String(from), QLatin1String(to));
    }
    // Overview tables: name, identifier, channel (and group only); the header row is repeated on
    // every page the table runs onto.
    static const std::pair<const char*, const char*> kHeadWidths[] = {
        {"136", "50%"}, {"100", "46%"}, {"74", "24%"}, {"46", "26%"}, {"48", "16%"}, {"30", "14%"},
    };
    for (const auto& [from, to] : kHeadWidths) {
        html.replace(
            QStringLiteral(R"(<td width="%1" class="ItemTitleUC")").arg(QLatin1String(from)),
            QStringLiteral(R"(<td width="%1" class="ItemTitleUC")").arg(QLatin1String(to)));
    }
    html.replace(QRegularExpression(R"((<tr>)(<td width="[0-9%]+" class="ItemTitleUC".*?</tr>))"),
                 R"(<thead>\1\2</thead>)");
    return html;
}

QPageLayout ReportPageLayout(const QPageSize& pageSize) {
    return QPageLayout(pageSize, QPageLayout::Portrait,
                       QMarginsF(kMarginSide, kMarginTopBottom, kMarginSide, kMarginTopBottom),
                       QPageLayout::Inch);
}

void LoadReportDocument(QTextDocument& document, const std::string& page,
                        const std::filesystem::path& resourceFolder) {
    document.setBaseUrl(QUrl::fromLocalFile(QString::fromStdString(resourceFolder.string() + "/")));
    // Pictures are named relative to the page.
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(resourceFolder, ec)) {
        if (entry.path().extension() == ".jpg") {
            const QImage picture(QString::fromStdString(entry.path().string()));
            document.addResource(QTextDocument::ImageResource,
                                 QUrl(QString::fromStdString(entry.path().filename().string())),
                                 picture);
        }
    }
    document.setHtml(PrintableReportHtml(page));
}

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
        writer.setPageLayout(ReportPageLayout(QPageSize(QPageSize::A4)));
        QTextDocument document;
        LoadReportDocument(document, page, resourceFolder);
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
