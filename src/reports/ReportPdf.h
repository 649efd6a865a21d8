#pragma once

#include <QPageLayout>
#include <QString>
#include <filesystem>
#include <string>

class QPagedPaintDevice;
class QTextDocument;

// The report print margins (0.23667 in left/right, 0.16667 in top/bottom) on pageSize.
QPageLayout ReportPageLayout(const QPageSize& pageSize);

// The page reshaped for Qt's rich-text engine: fixed-width tables fill the paper, the overview
// tables' header rows repeat on every page.
QString PrintableReportHtml(const std::string& page);

// Loads an HTML report page into document as it is printed: pictures from resourceFolder, and the
// page's fixed-width tables reshaped for Qt's rich-text engine so they fill the paper and keep
// their header rows. Print, preview and PDF all go through here.
void LoadReportDocument(QTextDocument& document, const std::string& page,
                        const std::filesystem::path& resourceFolder);

// Prints a loaded report on device (a printer, the preview's or a PDF writer) with the device's
// page layout, keeping each title on the page of its first rows.
void PrintReportDocument(QTextDocument& document, QPagedPaintDevice& device);

// Renders an HTML report page to a PDF file (A4, the report print margins) without a display;
// pictures are looked up in resourceFolder. Returns false when the file cannot be written.
bool WriteReportPdf(const std::string& page, const std::filesystem::path& resourceFolder,
                    const std::filesystem::path& pdf);
