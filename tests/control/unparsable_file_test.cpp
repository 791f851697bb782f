// A file whose formulas do not all parse: read whole, named in one message,
// marked in the list, and saved back as it was.
#include "control/equation_commands.h"
#include "controller_test.h"
#include "model/equation_file.h"
#include "platform/text_file.h"
#include <gtest/gtest.h>

namespace gq
{

namespace
{
class UnparsableFile : public ControllerTest
{
  protected:
    UnparsableFile()
    {
        // F1 and item 1 do not parse, nor the upper bound of t of item 2;
        // item 3 is sound and uses the sound Q1; item 4 parses but is too
        // complex to draw.
        Document file;
        file.functionCount = 1;
        file.functionTexts[1] = "x^^2";
        file.constantCount = 1;
        file.constantTexts[1] = "3";
        file.itemCount = 4;
        file.items[1] = {.kind = KindExplicit, .text = {"", "x+*2"}, .colour = 255};
        file.items[2] = {
            .kind = KindParametric, .text = {"", "cos(t)", "sin(t)", "0", "2+"}, .colour = 32768};
        file.items[3] = {.kind = KindExplicit, .text = {"", "x+Q1"}, .colour = 16711680};
        file.items[4] = {.kind = KindExplicit, .text = {"", "Sum(i=[1,10^30],x)"}, .colour = 0};
        QString error;
        EXPECT_TRUE(equationFileLines(file, lines, error)) << error.toStdString();
        EXPECT_TRUE(saveTextLines(path("bad.gtq"), lines).isEmpty());
    }
    bool listShows(const char *text) const
    {
        for (const RecordingSurface::Text &t : surface.texts)
            if (t.text == QString::fromUtf8(text))
                return true;
        return false;
    }

    std::vector<std::string> lines;
};
} // namespace

TEST_F(UnparsableFile, IsReadWholeWithOneMessageNamingEveryLine)
{
    const ReadOutcome read = readEquationsAndRefresh(controller, path("bad.gtq"));
    EXPECT_EQ(read.next, AfterRead::Redraw);
    ASSERT_EQ(doc.itemCount, 4);
    EXPECT_EQ(doc.functionTexts[1], "x^^2");
    EXPECT_EQ(doc.items[1].text[1], "x+*2");
    EXPECT_EQ(doc.items[2].text[4], "2+");
    // F1 on line 13, item 1's formula on 19, item 2's upper bound on 31,
    // item 4's formula on 46.
    EXPECT_EQ(read.message().toStdString(), "13行目: 式が正しくありません\n19行目: 式が正しくありません\n"
                                            "31行目: 式が正しくありません\n46行目: 式が複雑すぎます");
    EXPECT_TRUE(ask.messages.empty()) << "the window shows it over the new picture";
    EXPECT_FALSE(controller.isModified());
}

TEST_F(UnparsableFile, TheListMarksEachTextThatDoesNotParse)
{
    surface.panelWidth = 1000; // no marked text wraps
    readEquationsAndRefresh(controller, path("bad.gtq"));
    EXPECT_TRUE(listShows("x^^2（式が正しくありません）"));
    EXPECT_TRUE(listShows("x+*2（式が正しくありません）"));
    EXPECT_TRUE(listShows("tの範囲  : 0≦t≦2+（式が正しくありません）"));
    EXPECT_TRUE(listShows("cos(t)"));
    EXPECT_TRUE(listShows("x+Q1"));
    EXPECT_TRUE(listShows("3"));
    EXPECT_TRUE(listShows("Sum(i=[1,10^30],x)（式が複雑すぎます）"));

    // Corrected, the mark goes at the next redraw of the list.
    doc.items[1].text[1] = "x+2";
    controller.redrawItemList();
    EXPECT_TRUE(listShows("x+2"));
    EXPECT_FALSE(listShows("x+*2（式が正しくありません）"));
}

TEST_F(UnparsableFile, SavingWritesTheTextsBackUnchanged)
{
    readEquationsAndRefresh(controller, path("bad.gtq"));
    ASSERT_TRUE(saveEquations(controller, path("again.gtq")));
    const TextFileRead again = readTextLines(path("again.gtq"));
    ASSERT_TRUE(again.ok);
    EXPECT_EQ(again.lines, lines);
}

TEST_F(UnparsableFile, OpeningAtStartUpChecksTheSame)
{
    const ReadOutcome read = openEquationsAtStart(controller, path("bad.gtq"));
    EXPECT_EQ(read.next, AfterRead::Redraw);
    EXPECT_EQ(doc.itemCount, 4);
    EXPECT_EQ(read.unparsable.size(), 4);

    // A missing file and a foreign file are reported; neither changes anything.
    EXPECT_TRUE(saveTextLines(path("other.gtq"), {"hello"}).isEmpty());
    EXPECT_EQ(openEquationsAtStart(controller, path("missing.gtq")).next, AfterRead::Nothing);
    EXPECT_EQ(openEquationsAtStart(controller, path("other.gtq")).next, AfterRead::Nothing);
    ASSERT_EQ(ask.messages.size(), 2u);
    EXPECT_EQ(ask.messages[1], path("other.gtq") + QStringLiteral(": 1行目: 式ファイルではありません"));
    EXPECT_EQ(doc.itemCount, 4);
    EXPECT_EQ(openEquationsAtStart(controller, QString()).next, AfterRead::Nothing);
}

} // namespace gq
