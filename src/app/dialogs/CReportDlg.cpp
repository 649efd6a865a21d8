#include "CReportDlg.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QStringDecoder>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>

#include "AtomicFile.h"
#include "CQMVVLTException.h"
#include "DialogText.h"
#include "IAppUi.h"
#include "MessageId.h"
#include "ReportPage.h"
#include "ReportPdf.h"

namespace {

QString Plain(int id) {
    return DialogText(id).remove(QLatin1Char('&')).remove(QStringLiteral("..."));
}

// The page text of a written report, whatever its byte-order mark says.
std::string ReadPage(const std::filesystem::path& file) {
    QFile in(QString::fromStdString(file.string()));
    const QByteArray bytes = in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
    QStringDecoder decoder = QStringDecoder::decoderForHtml(bytes);
    const QString text = decoder.isValid() ? decoder.decode(bytes) : QString::fromUtf8(bytes);
    return text.toStdString();
}

}  // namespace

CReportDlg::CReportDlg(std::filesystem::path page, IAppUi& ui, QWidget* parent)
    : QDialog(parent), m_page(std::move(page)), m_pageText(ReadPage(m_page)), m_ui(ui) {
    m_browser = new QTextBrowser(this);
    m_browser->setOpenLinks(false);
    m_browser->setSource(QUrl::fromLocalFile(QString::fromStdString(m_page.string())));
    // Shown as it prints: the same engine draws both.
    m_browser->document()->setHtml(PrintableReportHtml(m_pageText));
    m_browser->moveCursor(QTextCursor::Start);
    const QString title = m_browser->documentTitle();
    setWindowTitle(title.isEmpty() ? DialogText(MessageId::kReportsTitle) : title);
    m_browser->setAccessibleName(windowTitle());
    m_browser->setAccessibleDescription(DialogText(MessageId::kReportsTitle));

    auto* buttons = new QDialogButtonBox(this);
    const auto add = [&](int textId, auto&& action) {
        QPushButton* button = buttons->addButton(DialogText(textId), QDialogButtonBox::ActionRole);
        button->setAccessibleName(Plain(textId));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, action);
    };
    add(MessageId::kPrint, [this] { Print(); });
    add(MessageId::kPreview, [this] { PrintPreview(); });
    add(MessageId::kSavePdf, [this] { SaveAsPdf(); });
    add(MessageId::kSaveHtml, [this] { SaveAsHtml(); });
    QPushButton* close =
        buttons->addButton(DialogText(MessageId::kClose), QDialogButtonBox::RejectRole);
    close->setAccessibleName(Plain(MessageId::kClose));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_browser);
    layout->addWidget(buttons);
    resize(820, 700);
    m_browser->setFocus(Qt::OtherFocusReason);
}

CReportDlg::~CReportDlg() = default;

void CReportDlg::PreparePrinter(QPrinter& printer) const {
    printer.setPageLayout(ReportPageLayout(printer.pageLayout().pageSize()));
    printer.setDocName(windowTitle());
}

void CReportDlg::PrintOn(QPrinter& printer) const {
    QTextDocument document;
    LoadReportDocument(document, m_pageText, m_page.parent_path());
    PrintReportDocument(document, printer);
}

void CReportDlg::Print() {
    QPrinter printer(QPrinter::HighResolution);
    PreparePrinter(printer);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted) {
        PrintOn(printer);
    }
}

QPrintPreviewDialog* CReportDlg::PrintPreview() {
    auto* preview = new QPrintPreviewDialog(this);
    preview->setAttribute(Qt::WA_DeleteOnClose);
    preview->setWindowTitle(windowTitle());
    PreparePrinter(*preview->printer());
    connect(preview, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter* target) { PrintOn(*target); });
    preview->open();
    return preview;
}

bool CReportDlg::SaveAsPdf() {
    std::filesystem::path proposed = m_page;
    proposed.replace_extension(".pdf");
    const auto path =
        m_ui.AskSavePath(proposed.filename().string(), DialogText(MessageId::kPdfFilter));
    if (!path) {
        return false;
    }
    if (!WriteReportPdf(m_pageText, m_page.parent_path(), *path)) {
        m_ui.Inform(MessageId::kNotSaved, *path);
        return false;
    }
    return true;
}

bool CReportDlg::SaveAsHtml() {
    const auto path =
        m_ui.AskSavePath(m_page.filename().string(), DialogText(MessageId::kHtmlFilter));
    if (!path) {
        return false;
    }
    const std::filesystem::path target = *path;
    try {
        WriteFileAtomically(target, ReportPageBytes(m_pageText), MessageId::kFatalError101,
                            "CReportOptionDlg::SaveReport");
    } catch (const CQMVVLTException&) {
        m_ui.Inform(MessageId::kNotSaved, *path);
        return false;
    }
    // The page names its pictures relative to itself.
    CopyReportPictures(m_page.parent_path(), target.has_parent_path() ? target.parent_path()
                                                                      : std::filesystem::path("."));
    return true;
}
