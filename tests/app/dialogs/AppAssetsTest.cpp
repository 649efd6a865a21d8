#include <gtest/gtest.h>

#include <QFile>
#include <QIcon>
#include <QImage>
#include <QXmlStreamReader>

namespace {

const QString kData = QStringLiteral(QMVVLT_SOURCE_DATA_DIR);

TEST(AppAssets, EveryIconIsCompiledInAndDraws) {
    QStringList paths = {":/icons/app.svg"};
    for (const char* name :
         {"new", "open", "save", "cut", "copy", "paste", "print", "read", "write", "help"}) {
        paths << QStringLiteral(":/icons/toolbar/%1.svg").arg(QLatin1String(name));
    }
    for (const QString& path : paths) {
        ASSERT_TRUE(QFile::exists(path)) << path.toStdString();
        const QImage image = QIcon(path).pixmap(32, 32).toImage();
        ASSERT_FALSE(image.isNull()) << path.toStdString();
        // Drawn, not an empty canvas: some pixels are opaque.
        int opaque = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                opaque += qAlpha(image.pixel(x, y)) > 128 ? 1 : 0;
            }
        }
        EXPECT_GT(opaque, 32) << path.toStdString();
    }
}

// Every page the help map names exists, has the anchor it jumps to, and is listed in the contents
// page that the Help command opens.
TEST(AppAssets, TheHelpMapReachesExistingPagesAndAnchors) {
    QFile index(kData + "/help/English/index.html");
    ASSERT_TRUE(index.open(QIODevice::ReadOnly));
    const QString contents = QString::fromUtf8(index.readAll());
    QFile map(kData + "/lib/HelpPane.stv");
    ASSERT_TRUE(map.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&map);
    int pages = 0;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement ||
            xml.name() != QLatin1String("map")) {
            continue;
        }
        const QString target = xml.attributes().value("pageName").toString();
        const QString page = target.section('#', 0, 0);
        const QString anchor = target.section('#', 1);
        QFile file(kData + "/help/English/" + page);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << target.toStdString();
        const QString html = QString::fromUtf8(file.readAll());
        EXPECT_TRUE(contents.contains(QStringLiteral("href=\"%1\"").arg(page)))
            << page.toStdString();
        if (!anchor.isEmpty()) {
            EXPECT_TRUE(html.contains(QStringLiteral("id=\"%1\"").arg(anchor)))
                << target.toStdString();
        }
        ++pages;
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_GT(pages, 60);
}

}  // namespace
