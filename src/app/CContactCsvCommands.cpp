#include "CContactCsvCommands.h"

#include <QFile>

#include "AtomicFile.h"
#include "CChildFrame.h"
#include "CContactCsvImporter.h"
#include "CQMVVLTDoc.h"
#include "CQMVVLTException.h"
#include "CTextListDialog.h"
#include "ContactCsv.h"
#include "IAppUi.h"
#include "ICommandHost.h"
#include "MessageId.h"
#include "MessageStyle.h"
#include "StringTable.h"

namespace {

constexpr int kInformation = 0x40;  // message box icon

QString Filter() {
    return QString::fromStdString(LoadString(MessageId::kCsvFilter));
}

}  // namespace

void CContactCsvCommands::Import() {
    CChildFrame* frame = m_host.ActiveFrame();
    if (!frame || !frame->CommitPendingInput()) {
        return;
    }
    const auto path = m_host.Ui().AskOpenPath(Filter());
    if (!path) {
        return;
    }
    QFile file(QString::fromStdString(*path));
    if (!file.open(QIODevice::ReadOnly)) {
        m_host.Ui().ShowError(MessageId::kNotContactsCsv, *path);
        return;
    }
    const QByteArray bytes = file.readAll();
    CQMVVLTDoc& doc = frame->Document();
    const std::string before = doc.Model().ProfileText();
    CsvImportResult result;
    bool failed = false;
    try {
        result = CContactCsvImporter(doc.Model())
                     .Import(std::string_view(bytes.constData(), std::size_t(bytes.size())));
    } catch (const CQMVVLTException& e) {
        m_host.Ui().ShowError(e.Code(), e.Trace());
        failed = true;
    }
    if (doc.Model().ProfileText() != before) {
        doc.SetModified(true);
        frame->InitialUpdate();
    }
    if (failed) {
        return;
    }
    const std::string summary = CStringTable::Instance().Format(
        MessageId::kCsvImportSummary, {std::to_string(result.added), std::to_string(result.updated),
                                       std::to_string(result.refused.size())});
    if (result.refused.empty()) {
        m_host.Ui().ShowMessage(summary, MessageStyle::kOk | kInformation);
        return;
    }
    std::vector<std::string> lines;
    for (const CsvRefusal& refusal : result.refused) {
        lines.push_back(FormatRefusal(refusal));
    }
    auto* dialog =
        new CTextListDialog(QString::fromStdString(LoadString(MessageId::kCsvRefusedTitle)),
                            QString::fromStdString(summary), lines, m_host.Window());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
}

void CContactCsvCommands::Export() {
    CChildFrame* frame = m_host.ActiveFrame();
    if (!frame || !frame->CommitPendingInput()) {
        return;
    }
    CQMVVLTDoc& doc = frame->Document();
    const auto path = m_host.Ui().AskSavePath(
        doc.ProposedSaveName().replace_extension(".csv").string(), Filter());
    if (!path) {
        return;
    }
    try {
        WriteFileAtomically(*path, ExportContactsCsv(doc.Model()), MessageId::kContactsNotSaved,
                            "CContactCsvCommands::Export");
    } catch (const CQMVVLTException& e) {
        m_host.Ui().ShowError(e.Code(), e.Trace());
    }
}
