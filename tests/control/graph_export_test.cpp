// "グラフを保存": the chosen filter decides the picture format and the extension.
#include "control/graph_export.h"
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace gq
{

TEST(GraphExport, OffersTheBitmapAndPng)
{
    EXPECT_EQ(graphFileFilters(), QStringList({"ビットマップ (*.bmp)", "PNG画像 (*.png)"}));
    EXPECT_STREQ(graphFileFormats()[0].format, "BMP");
    EXPECT_STREQ(graphFileFormats()[1].format, "PNG");
}

TEST(GraphExport, TheFilterDecidesTheExtension)
{
    struct Case {
        const char *chosen;
        int format;
        const char *written;
    } cases[] = {
        {"/tmp/g", 1, "/tmp/g.png"},
        {"/tmp/g", 0, "/tmp/g.bmp"},
        {"/tmp/g.png", 1, "/tmp/g.png"},
        {"/tmp/g.PNG", 1, "/tmp/g.PNG"},
        {"/tmp/g.Bmp", 0, "/tmp/g.Bmp"},
        {"/tmp/g.bmp", 1, "/tmp/g.png"},
        {"/tmp/g.png", 0, "/tmp/g.bmp"},
        {"/tmp/g.v2", 1, "/tmp/g.v2.png"},
        {"/tmp/g.", 0, "/tmp/g.bmp"},
        {"/tmp/a.b/g", 1, "/tmp/a.b/g.png"},
        {"", 1, ""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(graphFilePath({QString::fromUtf8(c.chosen), c.format}), QString::fromUtf8(c.written))
            << c.chosen << " " << c.format;
}

TEST(GraphExport, ThePictureKeepsItsColoursExactly)
{
    QTemporaryDir dir;
    QImage picture(7, 5, QImage::Format_RGB32);
    picture.fill(qRgb(255, 255, 255));
    picture.setPixel(3, 2, qRgb(0, 128, 128)); // teal, an item colour
    for (int format : {0, 1}) {
        const GraphFileChoice choice{dir.filePath(QStringLiteral("g")), format};
        EXPECT_TRUE(saveGraphPicture(picture, choice).isEmpty());
        QImage back(graphFilePath(choice));
        ASSERT_FALSE(back.isNull());
        EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), picture) << format;
    }
    EXPECT_TRUE(saveGraphPicture(picture, {}).isEmpty()) << "cancelled";
    EXPECT_FALSE(saveGraphPicture(picture, {dir.filePath(QStringLiteral("none/g")), 1}).isEmpty());
}

} // namespace gq
