// Formula texts that do not parse: which ones count, and the lines a read
// file names for them.
#include "model/text_check.h"
#include <gtest/gtest.h>

namespace gq
{

namespace
{
// texts: text[1], text[2], ... separated by '|'.
Item item(uint8_t kind, const char *texts)
{
    Item item;
    item.kind = kind;
    int k = 1;
    for (const QByteArray &t : QByteArray(texts).split('|'))
        item.text[k++] = t.toStdString();
    return item;
}

// The lines of a file: the frame and parameters, then the definitions and
// items given (as they are written: 9 lines an item).
std::vector<std::string> fileLines(const std::vector<std::string> &functions,
                                   const std::vector<std::string> &constants, const std::vector<Item> &items)
{
    std::vector<std::string> lines = {"[Graphotheque Data]", "-5", "5", "-5", "5", "0", "0", "0", "0", "0"};
    lines.push_back("deffunc");
    lines.push_back(std::to_string(functions.size()));
    lines.insert(lines.end(), functions.begin(), functions.end());
    lines.push_back("defconst");
    lines.push_back(std::to_string(constants.size()));
    lines.insert(lines.end(), constants.begin(), constants.end());
    lines.push_back(std::to_string(items.size()));
    for (const Item &i : items) {
        lines.push_back(std::to_string(i.kind));
        for (int t = 1; t <= 4; ++t)
            lines.push_back(i.text[t]);
        lines.insert(lines.end(), {"False", "True", "255", "1"});
    }
    return lines;
}
} // namespace

TEST(UnparsableTexts, OnlyTheTextsAKindDrawsAreChecked)
{
    Document doc;
    const Item items[] = {
        item(KindExplicit, "x^^2|junk("), // text[2] is not drawn
        item(KindImplicit, ""),           // empty
        item(KindParametric, "cos(t)|sin(t)|0|x+*"),
        item(KindPolar, "1|junk(|0|2\x83\xCE"), // polar text[2] is a copy nothing draws
        item(KindPoint, "1|)|junk("),
        item(KindSegment, "0|0|(|1"),
        item(KindDerivative, "2*x"),
    };
    doc.itemCount = static_cast<int>(std::size(items));
    for (int i = 1; i <= doc.itemCount; ++i)
        doc.items[i] = items[i - 1];
    doc.items[8] = item(KindExplicit, "x^^2"); // not in use

    const UnparsableTexts bad = findUnparsableTexts(doc);
    using Flags = std::array<bool, 5>;
    EXPECT_EQ(bad.item[1], (Flags{false, true, false, false, false}));
    EXPECT_EQ(bad.item[2], (Flags{false, true, false, false, false}));
    EXPECT_EQ(bad.item[3], (Flags{false, false, false, false, true}));
    EXPECT_EQ(bad.item[4], (Flags{}));
    EXPECT_EQ(bad.item[5], (Flags{false, false, true, false, false}));
    EXPECT_EQ(bad.item[6], (Flags{false, false, false, true, false}));
    EXPECT_FALSE(bad.itemFails(7));
    EXPECT_FALSE(bad.itemFails(8)) << "only items in use";
    EXPECT_TRUE(bad.any());
    EXPECT_FALSE(findUnparsableTexts(Document{}).any());
}

TEST(UnparsableTexts, DefinitionsAreCheckedWithEachOtherAndSpoilTheirUsers)
{
    Document doc;
    doc.functionCount = 2;
    doc.functionTexts[1] = "x^^2";
    doc.functionTexts[2] = "Q1*x";
    doc.constantCount = 1;
    doc.constantTexts[1] = "F3(1)"; // F3 is not defined
    doc.itemCount = 2;
    doc.items[1] = item(KindExplicit, "F1(x)");
    doc.items[2] = item(KindExplicit, "x+1");
    const UnparsableTexts bad = findUnparsableTexts(doc);
    EXPECT_TRUE(bad.function[1]);
    EXPECT_TRUE(bad.function[2]) << "through Q1";
    EXPECT_TRUE(bad.constant[1]);
    EXPECT_TRUE(bad.itemFails(1));
    EXPECT_FALSE(bad.itemFails(2));

    // The check leaves the parse flag as it found it.
    engineState().parseOK = true;
    EXPECT_FALSE(formulaParses("1/0"));
    EXPECT_TRUE(engineState().parseOK);
    EXPECT_TRUE(formulaParses("sin(x)"));
}

TEST(UnparsableTexts, AReadFileIsReadWholeAndNamesTheLinesInOrder)
{
    const std::vector<std::string> lines =
        fileLines({"x^^2", "x"}, {"2"},
                  {item(KindExplicit, "x^^2"), item(KindParametric, "t|t|0|x+*"), item(KindPoint, "1|F1(1)"),
                   item(KindExplicit, "x+1"), item(KindImplicit, "")});
    const LoadResult loaded = readEquationLines(lines);
    ASSERT_TRUE(loaded.ok());
    EXPECT_EQ(loaded.document.itemCount, 5);
    EXPECT_EQ(loaded.document.items[1].text[1], "x^^2") << "kept as written";
    // F1 on line 13; items start at line 19, nine lines each, texts after the kind.
    EXPECT_EQ(loaded.textLines.functions[1], 13);
    EXPECT_EQ(loaded.textLines.constants[1], 17);
    EXPECT_EQ(loaded.textLines.items[2][4], 19 + 9 + 4);
    EXPECT_EQ(unparsableTextLines(loaded),
              QStringList({"13行目: 式が正しくありません", "20行目: 式が正しくありません",
                           "32行目: 式が正しくありません", "39行目: 式が正しくありません",
                           "56行目: 式が正しくありません"}));

    // A file without the definition sections counts its lines the same way.
    std::vector<std::string> legacy = {"[Graphotheque Data]",
                                       "-5",
                                       "5",
                                       "-5",
                                       "5",
                                       "0",
                                       "0",
                                       "0",
                                       "0",
                                       "0",
                                       "1",
                                       "1",
                                       "x+",
                                       "",
                                       "",
                                       "",
                                       "False",
                                       "True",
                                       "255",
                                       "1"};
    EXPECT_EQ(unparsableTextLines(readEquationLines(legacy)), QStringList("13行目: 式が正しくありません"));
    EXPECT_TRUE(unparsableTextLines(readEquationLines({"hello"})).isEmpty());
}

TEST(UnparsableTexts, FormulasTooComplexToPrepareAreNamedAsSuch)
{
    // Each checked with the derivatives its plotter takes: an explicit curve
    // needs none, a parametric curve one by t, an implicit curve by x and y.
    const std::string sixMarkers = "DDDDDD(x^x)",
                      hugeSums = "Sum(i=[1,10000],i*x)+Sum(i=[1,10000],i*x)+Sum(i=[1,10000],i*x)";
    std::string xTower = "x", tTower = "t";
    for (int i = 0; i < 330; ++i)
        xTower += "^x", tTower += "^t";
    const std::vector<std::string> lines = fileLines(
        {hugeSums}, {"Sum(i=[2^63-9,2^63-1],1)"},
        {item(KindExplicit, xTower.c_str()), item(KindParametric, (tTower + "|t|0|1").c_str()),
         item(KindImplicit, sixMarkers.c_str()), item(KindExplicit, "F1(x)"), item(KindExplicit, "x^^2")});
    const LoadResult loaded = readEquationLines(lines);
    ASSERT_TRUE(loaded.ok());
    // F1 on line 13, Q1 on 16; the texts of item k from line 19 + 9(k - 1).
    EXPECT_EQ(unparsableTextLines(loaded),
              QStringList({"13行目: 式が複雑すぎます", "16行目: 式が複雑すぎます", "28行目: 式が複雑すぎます",
                           "37行目: 式が複雑すぎます", "46行目: 式が複雑すぎます",
                           "55行目: 式が正しくありません"}));
    const UnparsableTexts bad = findUnparsableTexts(loaded.document);
    EXPECT_FALSE(bad.itemFails(1)) << "an explicit curve needs no derivative";
    EXPECT_TRUE(bad.tooComplex.item[2][1] && bad.item[2][1]);
    EXPECT_FALSE(bad.item[2][2]);
    EXPECT_TRUE(bad.item[5][1] && !bad.tooComplex.item[5][1]);
}

TEST(UnparsableTexts, SumBoundsMayUseTheFilesParameters)
{
    // With a = 100 from the file the sum is short; with 10^30 it is refused.
    std::vector<std::string> lines = fileLines({}, {}, {item(KindExplicit, "Sum(i=[1,a],x^i)")});
    lines[5] = "100";
    EXPECT_TRUE(unparsableTextLines(readEquationLines(lines)).isEmpty());
    lines[5] = "1E30";
    EXPECT_EQ(unparsableTextLines(readEquationLines(lines)), QStringList("17行目: 式が複雑すぎます"));
}

} // namespace gq
