#include "ReportPdf.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QByteArray>
#include <QGuiApplication>
#include <QImage>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>
#include <algorithm>
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

// Titles carry this anchor name, so the printed document can find them again.
constexpr char kTitleAnchor[] = "qmv-title";

bool IsTitle(const QTextBlock& block) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        if (it.fragment().charFormat().anchorNames().contains(QLatin1String(kTitleAnchor))) {
            return true;
        }
    }
    return false;
}

// The bottom of what must share a page with a title: the titles right below it (a group's name
// over its "Group Members") and the first two lines of its content (a table's header row and
// first row, or two lines of text), up to the next title.
qreal FollowerBottom(const QAbstractTextDocumentLayout& layout, const QTextBlock& title) {
    const QRectF head = layout.blockBoundingRect(title);
    qreal lastLineTop = head.top();
    qreal bottom = head.bottom();
    int lines = 0;
    for (QTextBlock next = title.next(); next.isValid() && lines < 2; next = next.next()) {
        if (next.text().trimmed().isEmpty()) {
            continue;  // spacers and empty cells
        }
        const bool isTitle = IsTitle(next);
        if (isTitle && lines > 0) {
            break;
        }
        const QRectF rect = layout.blockBoundingRect(next);
        if (!isTitle && rect.top() > lastLineTop) {
            ++lines;
        }
        lastLineTop = std::max(lastLineTop, rect.top());
        bottom = std::max(bottom, rect.bottom());
    }
    return bottom;
}

// Qt's text engine knows no keep-with-next: a title whose first two lines of content would start
// the next page goes there itself. One title at a time, each on a fresh layout of the whole
// document, since a break moves everything after it.
void KeepTitlesWithTheirRows(QTextDocument& document) {
    QAbstractTextDocumentLayout* layout = document.documentLayout();
    const qreal pageHeight = document.pageSize().height();
    const auto pageOf = [pageHeight](qreal y) { return static_cast<int>(y / pageHeight); };
    QTextBlock title = document.begin();
    while (title.isValid()) {
        document.markContentsDirty(0, document.characterCount());
        layout->documentSize();  // lays out everything
        for (; title.isValid(); title = title.next()) {
            if (IsTitle(title) && pageOf(layout->blockBoundingRect(title).top()) !=
                                      pageOf(FollowerBottom(*layout, title) - 1)) {
                break;
            }
        }
        if (!title.isValid()) {
            break;
        }
        QTextBlockFormat format;
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        QTextCursor(title).mergeBlockFormat(format);
        title = title.next();
    }
}

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
                 R"(<p class="ItemTitleU" style="margin: 2px 0"><a name="qmv-title">\1</a></p>)");
    html.replace(QRegularExpression(R"(<div class="ItemTitle">(.*?)</div>)"),
                 R"(<div class="ItemTitle"><a name="qmv-title">\1</a></div>)");
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

void PrintReportDocument(QTextDocument& document, QPagedPaintDevice& device) {
    // Laid out on the device's own pages, so the titles can be kept with their rows.
    document.documentLayout()->setPaintDevice(&device);
    document.setPageSize(QSizeF(device.width(), device.height()));
    KeepTitlesWithTheirRows(document);
    document.print(&device);
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
        PrintReportDocument(document, writer);
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
