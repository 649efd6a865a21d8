#include <gtest/gtest.h>

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QImage>
#include <QListWidget>
#include <QPdfWriter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QRegularExpression>
#include <QTest>
#include <QTextBrowser>
#include <QTextFrame>
#include <QTextTable>
#include <QTimer>
#include <deque>
#include <functional>
#include <set>

#include "CAppSettings.h"
#include "CBaseView.h"
#include "CChildFrame.h"
#include "CDocumentCommands.h"
#include "CMainFrame.h"
#include "CQMVVLTApp.h"
#include "CQMVVLTDoc.h"
#include "CQMVVLTTreeView.h"
#include "CReportAssembler.h"
#include "CReportDlg.h"
#include "CReportOptionDlg.h"
#include "CTextMessageView.h"
#include "ConfigTestFolder.h"
#include "FullProfile.h"
#include "MessageId.h"
#include "MessageStyle.h"
#include "NodeKind.h"
#include "ReportPdf.h"
#include "ScriptedUi.h"
#include "StringTable.h"
#include "TestInstall.h"
#include "Utility.h"

namespace {

namespace fs = std::filesystem;

// Handles the modal dialogs a command opens, one step per dialog, in order; records their classes.
class ModalScript : public QObject {
  public:
    std::deque<std::function<void(QWidget*)>> steps;
    QStringList seen;

    void Arm() {
        QTimer::singleShot(0, this, [this] {
            QWidget* dialog = QApplication::activeModalWidget();
            if (!dialog) {
                return;
            }
            seen << dialog->metaObject()->className();
            auto step = std::move(steps.front());
            steps.pop_front();
            if (!steps.empty()) {
                Arm();  // the step may open the next dialog
            }
            step(dialog);
        });
    }
};

// The pages of a PDF as Qt writes them: their count, the first page's size and, from the
// transform and clip its content starts with, its margins (points).
struct PdfPages {
    int count = 0;
    QSizeF size;
    QMarginsF margins;
};
PdfPages ReadPdfPages(const std::string& pdf) {
    const QByteArray bytes(pdf.data(), static_cast<qsizetype>(pdf.size()));
    const QString text = QString::fromLatin1(bytes);
    PdfPages pages;
    pages.count = static_cast<int>(text.count(QRegularExpression(R"(/Type\s*/Page\b(?!s))")));
    const QRegularExpressionMatch box =
        QRegularExpression(R"(/MediaBox\s*\[0 0 ([0-9.]+) ([0-9.]+)\])").match(text);
    pages.size = QSizeF(box.captured(1).toDouble(), box.captured(2).toDouble());
    // Page content: "sx 0 0 -sy left top cm" onto device pixels, then the printable area's clip.
    static const QRegularExpression transform(
        R"(([0-9.]+) 0 0 -([0-9.]+) ([0-9.]+) ([0-9.]+) cm[\s\S]*?0 0 m\s+([0-9]+) 0 l\s+\5 ([0-9]+) l)");
    for (qsizetype at = bytes.indexOf("stream"); at >= 0; at = bytes.indexOf("stream", at + 1)) {
        const qsizetype begin = bytes.indexOf('\n', at) + 1;
        const qsizetype end = bytes.indexOf("endstream", begin);
        if (begin <= 0 || end < 0) {
            break;
        }
        if (bytes.lastIndexOf("/FlateDecode", at) < bytes.lastIndexOf(" obj", at)) {
            continue;  // a picture or another unpacked stream
        }
        // qUncompress wants the inflated size first; a guess is enough, it grows.
        QByteArray packed = bytes.mid(begin, end - begin);
        const quint32 guess = static_cast<quint32>(packed.size()) * 8;
        packed.prepend(char(guess & 0xFF)).prepend(char((guess >> 8) & 0xFF));
        packed.prepend(char((guess >> 16) & 0xFF)).prepend(char((guess >> 24) & 0xFF));
        const QRegularExpressionMatch m = transform.match(QString::fromLatin1(qUncompress(packed)));
        if (m.hasMatch()) {
            const double sx = m.captured(1).toDouble();
            const double sy = m.captured(2).toDouble();
            const double left = m.captured(3).toDouble();
            const double top = m.captured(4).toDouble();
            pages.margins = QMarginsF(left, pages.size.height() - top,
                                      pages.size.width() - left - m.captured(5).toDouble() * sx,
                                      top - m.captured(6).toDouble() * sy);
            break;
        }
    }
    return pages;
}

class ReportDialogsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Utility::SetInstallPathOverride(TestInstallFolder());
        m_settings = CQMVVLTApp::Start(m_ui);
        ASSERT_NE(m_settings, nullptr);
        m_install = m_config.Path() / "install";
        fs::copy(TestInstallFolder(), m_install, fs::copy_options::recursive);
        m_cache = m_config.Path() / "cache";
        m_profile = m_config.Path() / "Sample.lam";
        m_sample = ReadFileBytes(QMVVLT_SOURCE_DATA_DIR "/samples/SampleProfile.xml");
    }
    void TearDown() override { Utility::SetInstallPathOverride(std::nullopt); }

    std::unique_ptr<CQMVVLTDoc> Open(const std::string& text) {
        WriteFileBytes(m_profile, text);
        auto doc = std::make_unique<CQMVVLTDoc>(*m_settings, m_install, m_ui);
        EXPECT_TRUE(doc->Open(m_profile));
        return doc;
    }
    static std::string Replace(std::string text, const std::string& from, const std::string& to) {
        text.replace(text.find(from), from.size(), to);
        return text;
    }
    // Chooses the report at row and returns the report window's state while it was open.
    struct Shown {
        bool opened = false;
        QString text;
        fs::path source;
        bool pictureResolves = false;
    };
    Shown Choose(const CQMVVLTDoc& doc, int row,
                 const std::function<void(CReportDlg&)>& inWindow = {}) {
        CReportOptionDlg choice(doc, m_install, m_cache, m_ui, nullptr);
        choice.List()->setCurrentRow(row);
        Shown shown;
        ModalScript script;
        script.steps.push_back([&](QWidget* dialog) {
            auto* report = qobject_cast<CReportDlg*>(dialog);
            if (!report) {
                return;
            }
            shown.opened = true;
            shown.text = report->Browser()->toPlainText();
            shown.source = report->Browser()->source().toLocalFile().toStdString();
            const QVariant picture = report->Browser()->loadResource(
                QTextDocument::ImageResource, QUrl(QStringLiteral("Q410.jpg")));
            shown.pictureResolves = !QImage::fromData(picture.toByteArray()).isNull();
            if (inWindow) {
                inWindow(*report);
            }
            report->reject();
        });
        script.Arm();
        choice.accept();
        QCoreApplication::processEvents();
        return shown;
    }

    ConfigTestFolder m_config;
    ScriptedUi m_ui;
    std::unique_ptr<CAppSettings> m_settings;
    fs::path m_install;
    fs::path m_cache;
    fs::path m_profile;
    std::string m_sample;
};

TEST_F(ReportDialogsTest, RadioReportIsOfferedOnlyWhenTheOwnPidHasAContact) {
    const struct {
        std::string limitPid;
        bool radioOffered;
    } cases[] = {{"10000005", true}, {"10000099", false}};
    for (const auto& c : cases) {
        const auto doc =
            Open(Replace(m_sample, "limit pid=\"10000005\"", "limit pid=\"" + c.limitPid + "\""));
        CReportOptionDlg choice(*doc, m_install, m_cache, m_ui, nullptr);
        QListWidget* list = choice.List();
        ASSERT_EQ(list->count(), 2);
        EXPECT_EQ(list->item(0)->text().toStdString(), LoadString(MessageId::kRadioSpecificReport));
        EXPECT_EQ(list->item(1)->text().toStdString(), LoadString(MessageId::kOverviewReport));
        EXPECT_EQ(bool(list->item(0)->flags() & Qt::ItemIsEnabled), c.radioOffered);
        EXPECT_EQ(list->currentRow(), c.radioOffered ? 0 : 1);
        // The greyed item cannot be taken from the keyboard either.
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Home);
        EXPECT_EQ(list->currentRow(), c.radioOffered ? 0 : 1) << c.limitPid;
    }
}

// The page and its picture go to the user's cache folder; the data folder stays as installed.
TEST_F(ReportDialogsTest, ChosenReportIsWrittenToTheCacheAndShownWithItsPicture) {
    const auto doc = Open(Replace(m_sample, "name=\"Dispatch\"", "name=\"Disp &amp; &lt;Co&gt;\""));
    const auto listing = [](const fs::path& folder) {
        std::set<fs::path> names;
        for (const auto& entry : fs::directory_iterator(folder)) {
            names.insert(entry.path().filename());
        }
        return names;
    };
    const auto installed = listing(m_install / "Report");
    const struct {
        int row;
        const char* output;
        const char* expected;
    } cases[] = {{0, "SpecReport.htm", "Disp & <Co>"}, {1, "OverviewReport.htm", "Disp & <Co>"}};
    for (const auto& c : cases) {
        const Shown shown = Choose(*doc, c.row);
        ASSERT_TRUE(shown.opened) << c.output;
        EXPECT_EQ(shown.source, m_cache / c.output);
        EXPECT_TRUE(shown.text.contains(c.expected)) << c.output;
        EXPECT_TRUE(shown.text.contains("Maintenance")) << c.output;
        EXPECT_TRUE(shown.pictureResolves) << c.output;
        EXPECT_TRUE(ReadFileBytes(m_cache / "Q410.jpg") ==
                    ReadFileBytes(m_install / "Report" / "Q410.jpg"));
    }
    EXPECT_EQ(listing(m_install / "Report"), installed);
}

TEST_F(ReportDialogsTest, BrokenTemplateShowsMessage101AndNoWindow) {
    const auto doc = Open(m_sample);
    const fs::path spec = m_install / "Report" / "SpecReport.tpl";
    const fs::path overview = m_install / "Report" / "OverviewReport.tpl";
    fs::remove(spec);  // missing
    fs::remove(overview);
    fs::create_directory(overview);  // there, but not readable as a file
    for (int row : {0, 1}) {
        m_ui.shown.clear();
        EXPECT_FALSE(Choose(*doc, row).opened) << row;
        EXPECT_TRUE(m_ui.Showed(MessageId::kFatalError101)) << row;
    }
}

TEST_F(ReportDialogsTest, SavesAsA4PdfAndAsHtmlWithPictures) {
    const auto doc = Open(m_sample);
    const fs::path out = m_config.Path() / "out";
    fs::create_directory(out);
    bool pdfSaved = false;
    bool htmlSaved = false;
    Choose(*doc, 1, [&](CReportDlg& report) {
        m_ui.savePath = (out / "report.pdf").string();
        pdfSaved = report.SaveAsPdf();
        m_ui.savePath = (out / "report.htm").string();
        htmlSaved = report.SaveAsHtml();
        m_ui.savePath.reset();
        EXPECT_FALSE(report.SaveAsPdf());  // cancelled
    });
    ASSERT_TRUE(pdfSaved);
    const std::string pdf = ReadFileBytes(out / "report.pdf");
    EXPECT_EQ(pdf.substr(0, 4), "%PDF");
    EXPECT_NE(pdf.find("/MediaBox [0 0 595.000000 842.000000]"),
              std::string::npos);  // A4 in points
    ASSERT_TRUE(htmlSaved);
    EXPECT_EQ(ReadFileBytes(out / "report.htm").substr(0, 2), "\xFF\xFE");
    EXPECT_EQ(ReadFileBytes(out / "Q410.jpg"), ReadFileBytes(m_install / "Report" / "Q410.jpg"));
}

// Save as PDF and printing to a PDF-file printer give the same A4 pages with the report margins;
// the preview opens over the window without blocking it and shows those pages.
TEST_F(ReportDialogsTest, PdfPrintAndPreviewShareThePagesAndMargins) {
    const auto doc = Open(m_sample);
    const fs::path out = m_config.Path() / "out";
    fs::create_directory(out);
    QMarginsF previewMargins;
    int previewPages = -1;
    Choose(*doc, 1, [&](CReportDlg& report) {
        m_ui.savePath = (out / "saved.pdf").string();
        ASSERT_TRUE(report.SaveAsPdf());
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString((out / "printed.pdf").string()));
        report.PreparePrinter(printer);
        report.PrintOn(printer);

        QPrintPreviewDialog* preview = report.PrintPreview();
        ASSERT_NE(preview, nullptr);
        EXPECT_TRUE(preview->isVisible());
        auto* pages = preview->findChild<QPrintPreviewWidget*>();
        ASSERT_NE(pages, nullptr);
        EXPECT_TRUE(QTest::qWaitFor([&] { return pages->pageCount() > 0; }));
        previewPages = pages->pageCount();
        previewMargins = preview->printer()->pageLayout().margins(QPageLayout::Inch);
        const QPointer<QPrintPreviewDialog> alive(preview);
        preview->close();
        EXPECT_TRUE(QTest::qWaitFor([&] { return alive.isNull(); }));
    });
    // Inches; a PDF page is placed on whole device pixels (1/1200 in), so allow two of them.
    const QMarginsF expected(0.23667, 0.16667, 0.23667, 0.16667);
    const auto expectMargins = [&](const QMarginsF& margins, const char* where) {
        EXPECT_NEAR(margins.left(), expected.left(), 0.002) << where;
        EXPECT_NEAR(margins.top(), expected.top(), 0.002) << where;
        EXPECT_NEAR(margins.right(), expected.right(), 0.002) << where;
        EXPECT_NEAR(margins.bottom(), expected.bottom(), 0.002) << where;
    };
    expectMargins(previewMargins, "preview");
    const PdfPages saved = ReadPdfPages(ReadFileBytes(out / "saved.pdf"));
    const PdfPages printed = ReadPdfPages(ReadFileBytes(out / "printed.pdf"));
    for (const auto& [pdf, where] : {std::pair{saved, "saved"}, std::pair{printed, "printed"}}) {
        EXPECT_EQ(pdf.size, QSizeF(595, 842)) << where;  // A4 in points
        expectMargins(pdf.margins / 72.0, where);
    }
    EXPECT_GT(saved.count, 0);
    EXPECT_EQ(printed.count, saved.count);
    EXPECT_EQ(previewPages, saved.count);
}

// No title ends a page with its rows on the next: on paper of several heights, both reports of a
// full profile keep every title on the page of its table's header and first row.
TEST_F(ReportDialogsTest, PrintedTitlesStayWithTheirFirstRows) {
    CQMVVLTDoc full(*m_settings, m_install, m_ui);
    ASSERT_TRUE(full.NewFromVirtualCP(MakeFullImage()));
    const CReportAssembler assembler(m_install);
    const QPageSize sizes[] = {QPageSize(QPageSize::A4), QPageSize(QPageSize::Letter),
                               QPageSize(QPageSize::A5), QPageSize(QPageSize::B5),
                               QPageSize(QSizeF(210, 160), QPageSize::Millimeter)};
    int titles = 0;
    for (const auto kind : {CReportAssembler::Kind::kRadio, CReportAssembler::Kind::kOverview}) {
        const std::string page = assembler.Page(full, kind);
        for (const QPageSize& size : sizes) {
            QByteArray bytes;
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            QPdfWriter writer(&buffer);
            writer.setPageLayout(ReportPageLayout(size));
            QTextDocument printed;
            LoadReportDocument(printed, page, assembler.ReportFolder());
            PrintReportDocument(printed, writer);
            const qreal height = printed.pageSize().height();
            QAbstractTextDocumentLayout* layout = printed.documentLayout();
            const auto pageAt = [&](const QTextBlock& block, bool bottom) {
                const QRectF rect = layout->blockBoundingRect(block);
                return static_cast<int>((bottom ? rect.bottom() - 1 : rect.top()) / height);
            };
            // A title: a text outside any table, right before one.
            for (QTextBlock block = printed.begin(); block.isValid(); block = block.next()) {
                QTextTable* table = QTextCursor(block.next()).currentTable();
                if (block.text().trimmed().isEmpty() || QTextCursor(block).currentTable() ||
                    !table) {
                    continue;
                }
                ++titles;
                const int lastRow = std::min(1, table->rows() - 1);
                const QTextBlock row = table->cellAt(lastRow, 0).firstCursorPosition().block();
                EXPECT_EQ(pageAt(block, false), pageAt(row, true))
                    << block.text().toStdString() << " on " << size.name().toStdString();
            }
        }
    }
    EXPECT_GT(titles, 0);
}

TEST_F(ReportDialogsTest, ReportCommandStopsWhenThePendingInputIsRefused) {
    WriteFileBytes(m_profile, m_sample);
    CMainFrame window(*m_settings, m_install, &m_ui);
    window.show();
    ASSERT_TRUE(window.Documents().Open(m_profile.string()));
    CChildFrame* frame = window.ActiveFrame();
    for (QTreeWidgetItemIterator it(frame->Tree()); *it; ++it) {
        if (CQMVVLTTreeView::KindOf(*it) == kKindTextMessage) {
            frame->Tree()->setCurrentItem(*it);
            break;
        }
    }
    auto* text = qobject_cast<QPlainTextEdit*>(frame->View()->Control(CTextMessageView::kText));
    ASSERT_NE(text, nullptr);
    text->selectAll();
    QTest::keyClick(text, Qt::Key_Delete);

    ModalScript script;
    script.steps.push_back([](QWidget* dialog) { dialog->close(); });
    script.Arm();
    m_ui.answers = {MessageStyle::kIdCancel};  // keep editing the empty text
    window.Action(MainCommand::kReport)->trigger();
    QCoreApplication::processEvents();
    EXPECT_TRUE(m_ui.Showed(MessageId::kMessageFieldIsBlank));
    EXPECT_TRUE(script.seen.isEmpty());

    // With the text back, the command opens the choice, and the report from there.
    QTest::keyClicks(text, "Back");
    script.steps = {[](QWidget* dialog) { qobject_cast<QDialog*>(dialog)->accept(); },
                    [](QWidget* dialog) { dialog->close(); }};
    script.Arm();
    window.Action(MainCommand::kReport)->trigger();
    EXPECT_EQ(script.seen, QStringList({"CReportOptionDlg", "CReportDlg"}));
    frame->Document().SetModified(false);
}

TEST_F(ReportDialogsTest, PrintedOverviewTablesFillThePageAndRepeatTheirHeaderRow) {
    const auto doc = Open(m_sample);
    const CReportAssembler assembler(m_install);
    QTextDocument printed;
    LoadReportDocument(printed, assembler.Page(*doc, CReportAssembler::Kind::kOverview),
                       assembler.ReportFolder());
    QStringList heads;
    for (QTextFrame* frame : printed.rootFrame()->childFrames()) {
        auto* table = qobject_cast<QTextTable*>(frame);
        if (!table || table->format().headerRowCount() == 0) {
            continue;
        }
        EXPECT_EQ(table->format().width(), QTextLength(QTextLength::PercentageLength, 100));
        QStringList head;
        for (int column = 0; column < table->columns(); ++column) {
            const QTextTableCell cell = table->cellAt(0, column);
            QTextCursor text(cell.firstCursorPosition());
            text.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
            head << text.selectedText().replace(QChar::Nbsp, QLatin1Char(' '));
        }
        heads << head.join('|');
    }
    const QString name = QString::fromStdString(LoadString(MessageId::kName));
    const auto text = [](int id) { return QString::fromStdString(LoadString(id)); };
    EXPECT_EQ(heads, QStringList({name + "|" + text(MessageId::kPidHeader) + "|" +
                                      text(MessageId::kChannelHeader) + "|" +
                                      text(MessageId::kGroupOnlyHeader),
                                  name + "|" + text(MessageId::kPublicGroupNumberHeader) + "|" +
                                      text(MessageId::kChannelHeader),
                                  name + "|" + text(MessageId::kPidHeader) + "|" +
                                      text(MessageId::kChannelHeader)}));
}

}  // namespace
