#include "document/equation_file.h"
#include "ui/text_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

namespace
{
const std::string kPi = "\x83\xCE";
const std::string kTheta = "\x83\xC6";

std::string ReadBytes(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return "<missing>";
    QByteArray b = f.readAll();
    return std::string(b.constData(), static_cast<std::size_t>(b.size()));
}

void WriteBytes(const QString &path, const std::string &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

std::string Join(const std::vector<std::string> &lines)
{
    std::string s;
    for (const auto &l : lines)
        s += l + "\r\n";
    return s;
}

// Every field the file holds, plus the ones it must leave alone, as text.
std::string Snapshot(const Document &doc, const VariableTableRecord &vars)
{
    std::vector<std::string> lines;
    QString error;
    std::string s = EquationFileLines(doc, vars, lines, error) ? Join(lines) : "unsavable";
    for (int i = 1; i <= kMaxItems; ++i)
        s += "|" + std::to_string(doc.ItemList[i].usesParam) + doc.ItemList[i].text[1];
    s += "|" + std::to_string(doc.ShowGrid) + std::to_string(doc.ShowScale) + std::to_string(doc.OverlayMode);
    for (float p : vars.param)
        s += "|" + std::to_string(p);
    return s;
}

Tfuncprop Item(uint8_t kind, std::array<std::string, 4> texts, uint32_t colour, uint8_t pen = 1)
{
    Tfuncprop item;
    item.kind = kind;
    for (int t = 0; t < 4; ++t)
        item.text[t + 1] = texts[t];
    item.colour = colour;
    item.penWidth = pen;
    return item;
}

// A document that uses every section and every item kind but one.
Document RichDocument()
{
    Document doc;
    doc.CoordFrame = {-0.5L, 12.25L, -1e-6L, 3000};
    doc.DefFuncCount = 2;
    doc.DefFuncText[1] = "sin(x)+a";
    doc.DefFuncText[2] = "F1(x)^2*" + kPi;
    doc.DefConstCount = 1;
    doc.DefConstText[1] = "F2(1)+" + kTheta;
    doc.ItemCount = 6;
    doc.ItemList[1] = Item(KindExplicit, {"F2(x)-Q1", "", "", ""}, 0);
    doc.ItemList[1].asymptote = 1;
    doc.ItemList[2] = Item(KindDerivative, {"2*x", "", "", ""}, 16711680, 2);
    doc.ItemList[3] = Item(KindImplicit, {"x^2+y^2-1", "", "", ""}, 255, 3);
    doc.ItemList[3].afterimage = 0;
    doc.ItemList[4] = Item(KindParametric, {"cos(t)", "sin(t)", "0", "2" + kPi}, 32768);
    doc.ItemList[5] = Item(KindPolar, {kTheta, kTheta, "0", kPi}, 128);
    doc.ItemList[6] = Item(KindSegment, {"a", "b", "1.5", "-2"}, 8421376);
    return doc;
}

VariableTableRecord SomeParams()
{
    VariableTableRecord vars;
    for (int i = 0; i < 22; ++i)
        vars.param[i] = static_cast<float>(i) + 0.25f;
    vars.param[0] = 0.1f;
    vars.param[1] = -3;
    vars.param[2] = 1e20f;
    vars.param[3] = 1.5e-7f;
    vars.param[5] = 0;
    return vars;
}

const char *const kEmptyFile = "[Graphotheque Data]\r\n-5\r\n5\r\n-5\r\n5\r\n0\r\n0\r\n0\r\n0\r\n0\r\n"
                               "deffunc\r\n0\r\ndefconst\r\n0\r\n0\r\n";

class EquationFileTest : public ::testing::Test
{
  protected:
    QTemporaryDir dir;
    QString Path(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }
};

// ---- Writing ------------------------------------------------------------

TEST_F(EquationFileTest, EmptyDocumentIsExactlyFifteenLines)
{
    Document doc;
    VariableTableRecord vars;
    ASSERT_EQ(SaveEquationFile(Path("e.gtq"), doc, vars), QString());
    EXPECT_EQ(ReadBytes(Path("e.gtq")), kEmptyFile);
}

TEST_F(EquationFileTest, LayoutOfItemsAndNumbers)
{
    Document doc = RichDocument();
    VariableTableRecord vars = SomeParams();
    std::vector<std::string> lines;
    QString error;
    ASSERT_TRUE(EquationFileLines(doc, vars, lines, error)) << error.toStdString();
    ASSERT_EQ(lines.size(), 1u + 9 + 2 + 2 + 2 + 1 + 1 + 6 * 9);
    EXPECT_EQ(lines[1], "-0.5");
    EXPECT_EQ(lines[2], "12.25");
    EXPECT_EQ(lines[3], "-1E-6");
    EXPECT_EQ(lines[4], "3000");
    EXPECT_EQ(lines[5], "0.100000001490116"); // a, as the float it is
    EXPECT_EQ(lines[6], "-3");
    EXPECT_EQ(lines[7], "1.00000002004088E20");
    EXPECT_EQ(lines[9], "0"); // f, not e
    EXPECT_EQ(lines[10], "deffunc");
    EXPECT_EQ(lines[11], "2");
    EXPECT_EQ(lines[13], "F1(x)^2*" + kPi);
    EXPECT_EQ(lines[14], "defconst");
    EXPECT_EQ(lines[17], "6");
    // Item 1: explicit, three empty lines for the texts it does not use.
    std::vector<std::string> item1(lines.begin() + 18, lines.begin() + 27);
    EXPECT_EQ(item1, (std::vector<std::string>{"1", "F2(x)-Q1", "", "", "", "True", "True", "0", "1"}));
    std::vector<std::string> item3(lines.begin() + 36, lines.begin() + 45);
    EXPECT_EQ(item3, (std::vector<std::string>{"2", "x^2+y^2-1", "", "", "", "False", "False", "255", "3"}));
}

TEST_F(EquationFileTest, RoundTripGivesTheSameBytes)
{
    Document doc = RichDocument();
    VariableTableRecord vars = SomeParams();
    ASSERT_EQ(SaveEquationFile(Path("1.gtq"), doc, vars), QString());

    LoadResult r = LoadEquationFile(Path("1.gtq"));
    ASSERT_TRUE(r.ok()) << r.message.toStdString();
    Document back;
    VariableTableRecord backVars;
    ApplyEquationFile(r, back, backVars);
    ASSERT_EQ(SaveEquationFile(Path("2.gtq"), back, backVars), QString());
    EXPECT_EQ(ReadBytes(Path("1.gtq")), ReadBytes(Path("2.gtq")));

    EXPECT_EQ(back.ItemCount, 6);
    EXPECT_EQ(back.ItemList[5].text[1], kTheta); // θ bytes survive
    EXPECT_EQ(back.ItemList[4].text[4], "2" + kPi);
    EXPECT_EQ(back.DefConstText[1], "F2(1)+" + kTheta);
    EXPECT_EQ(back.ItemList[3].afterimage, 0);
    EXPECT_EQ(back.ItemList[1].asymptote, 1);
    EXPECT_EQ(back.ItemList[2].penWidth, 2);
    EXPECT_EQ(back.CoordFrame.ymin, -1e-6L);
    EXPECT_EQ(backVars.param[0], vars.param[0]); // floats come back exactly
    EXPECT_EQ(backVars.param[2], vars.param[2]);
    EXPECT_EQ(backVars.param[3], vars.param[3]);
}

TEST_F(EquationFileTest, SaveRefusesWhatCouldNotBeReadBack)
{
    Document doc = RichDocument();
    VariableTableRecord vars;
    WriteBytes(Path("old.gtq"), kEmptyFile);

    Document broken = doc;
    broken.ItemList[2].text[1] = "x\r\n1";
    EXPECT_FALSE(SaveEquationFile(Path("old.gtq"), broken, vars).isEmpty());
    broken = doc;
    broken.ItemCount = 11;
    EXPECT_FALSE(SaveEquationFile(Path("old.gtq"), broken, vars).isEmpty());
    broken = doc;
    broken.ItemList[3].kind = 9;
    EXPECT_FALSE(SaveEquationFile(Path("old.gtq"), broken, vars).isEmpty());
    broken = doc;
    broken.DefFuncText[1] = "F2(x)";
    EXPECT_FALSE(SaveEquationFile(Path("old.gtq"), broken, vars).isEmpty());
    VariableTableRecord badVars;
    badVars.param[1] = std::numeric_limits<float>::infinity();
    EXPECT_FALSE(SaveEquationFile(Path("old.gtq"), doc, badVars).isEmpty());

    EXPECT_EQ(ReadBytes(Path("old.gtq")), kEmptyFile);
}

TEST_F(EquationFileTest, FailedWriteKeepsThePreviousFile)
{
    // A file-size limit makes the write fail the way a full disk does, even
    // for a privileged user.
    WriteBytes(Path("old.gtq"), kEmptyFile);
    Document doc = RichDocument();
    doc.ItemList[1].text[1] = std::string(4000, 'x');
    VariableTableRecord vars;

    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 1000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    QString error = SaveEquationFile(Path("old.gtq"), doc, vars);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(ReadBytes(Path("old.gtq")), kEmptyFile);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files),
              QStringList{QStringLiteral("old.gtq")}); // no leftovers
}

TEST_F(EquationFileTest, UnwritableFolderIsReportedAndKeepsTheFile)
{
    QDir(dir.path()).mkdir(QStringLiteral("ro"));
    QString path = dir.filePath(QStringLiteral("ro/old.gtq"));
    WriteBytes(path, kEmptyFile);
    QFile::setPermissions(dir.filePath(QStringLiteral("ro")), QFile::ReadOwner | QFile::ExeOwner);
    QFile probe(dir.filePath(QStringLiteral("ro/probe")));
    if (probe.open(QIODevice::WriteOnly)) { // a privileged user writes anyway
        probe.remove();
        QFile::setPermissions(dir.filePath(QStringLiteral("ro")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        GTEST_SKIP() << "folder permissions do not apply to this user";
    }
    QString error = SaveEquationFile(path, RichDocument(), VariableTableRecord{});
    QFile::setPermissions(dir.filePath(QStringLiteral("ro")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(ReadBytes(path), kEmptyFile);
}

TEST_F(EquationFileTest, MissingFolderIsReported)
{
    EXPECT_FALSE(
        SaveEquationFile(dir.filePath(QStringLiteral("nope/x.gtq")), Document{}, VariableTableRecord{})
            .isEmpty());
}

// ---- Reading what other writers may produce ------------------------------

TEST_F(EquationFileTest, LineElevenAsNumberMeansNoDefinitions)
{
    LoadResult r = ReadEquationLines({"[Graphotheque Data]",
                                      "-5",
                                      "5",
                                      "-5",
                                      "5",
                                      "1",
                                      "2",
                                      "3",
                                      "4",
                                      "5",
                                      "1",
                                      "1",
                                      "x",
                                      "",
                                      "",
                                      "",
                                      "True",
                                      "True",
                                      "255",
                                      "2"});
    ASSERT_TRUE(r.ok()) << r.message.toStdString();
    EXPECT_EQ(r.document.DefFuncCount, 0);
    EXPECT_EQ(r.document.DefConstCount, 0);
    EXPECT_EQ(r.document.ItemCount, 1);
    EXPECT_EQ(r.document.ItemList[1].text[1], "x");
    EXPECT_EQ(r.params, (std::array<float, 5>{1, 2, 3, 4, 5}));
}

TEST_F(EquationFileTest, MissingDefconstLineIsTheConstantCount)
{
    LoadResult r = ReadEquationLines({"[Graphotheque Data]", "-5", "5", "-5", "5", "0", "0", "0", "0", "0",
                                      "deffunc", "2", "x^2", "F1(x)+1", "1", "3", "0"});
    ASSERT_TRUE(r.ok()) << r.message.toStdString();
    EXPECT_EQ(r.document.DefFuncCount, 2);
    EXPECT_EQ(r.document.DefFuncText[2], "F1(x)+1");
    EXPECT_EQ(r.document.DefConstCount, 1);
    EXPECT_EQ(r.document.DefConstText[1], "3");
    EXPECT_EQ(r.document.ItemCount, 0);
}

TEST_F(EquationFileTest, FlagsAreTrueOnlyWhenSpelledExactly)
{
    LoadResult r = ReadEquationLines({"[Graphotheque Data]",
                                      "-5",
                                      "5",
                                      "-5",
                                      "5",
                                      "0",
                                      "0",
                                      "0",
                                      "0",
                                      "0",
                                      "2",
                                      "1",
                                      "x",
                                      "",
                                      "",
                                      "",
                                      "true",
                                      "TRUE",
                                      "0",
                                      "1",
                                      "1",
                                      "x",
                                      "",
                                      "",
                                      "",
                                      "True",
                                      "True",
                                      "255",
                                      "1"});
    ASSERT_TRUE(r.ok()) << r.message.toStdString();
    EXPECT_EQ(r.document.ItemList[1].asymptote, 0);
    EXPECT_EQ(r.document.ItemList[1].afterimage, 0);
    EXPECT_EQ(r.document.ItemList[2].asymptote, 1);
    EXPECT_EQ(r.document.ItemList[2].afterimage, 1);
}

TEST_F(EquationFileTest, AcceptsLfLinesAndAnyDecimalForm)
{
    WriteBytes(Path("lf.gtq"), "[Graphotheque Data]\n-5.0\n+5\n-.5e1\n5E0\n1.5e-3\n 2 \n0\n0\n0\n0\n");
    LoadResult r = LoadEquationFile(Path("lf.gtq"));
    ASSERT_TRUE(r.ok()) << r.message.toStdString();
    EXPECT_EQ(r.document.CoordFrame.xmax, 5);
    EXPECT_EQ(r.document.CoordFrame.ymin, -5);
    EXPECT_FLOAT_EQ(r.params[0], 1.5e-3f);
    EXPECT_EQ(r.params[1], 2);
}

TEST_F(EquationFileTest, ApplyReplacesOnlyWhatTheFileHolds)
{
    Document doc = RichDocument();
    doc.ShowGrid = 1;
    doc.OverlayMode = 1;
    doc.ItemList[1].usesParam = 1;
    VariableTableRecord vars = SomeParams();
    LoadResult r = ReadEquationLines({"[Graphotheque Data]",
                                      "-1",
                                      "1",
                                      "-2",
                                      "2",
                                      "9",
                                      "8",
                                      "7",
                                      "6",
                                      "5",
                                      "deffunc",
                                      "0",
                                      "defconst",
                                      "0",
                                      "1",
                                      "5",
                                      "1",
                                      "2",
                                      "",
                                      "",
                                      "False",
                                      "True",
                                      "32768",
                                      "2"});
    ASSERT_TRUE(r.ok()) << r.message.toStdString();
    ApplyEquationFile(r, doc, vars);
    EXPECT_EQ(doc.ItemCount, 1);
    EXPECT_EQ(doc.ItemList[1].kind, KindPoint);
    EXPECT_EQ(doc.ItemList[1].usesParam, 1); // recomputed later by the window
    EXPECT_EQ(doc.DefFuncCount, 0);
    EXPECT_EQ(doc.DefFuncText[1], "");
    EXPECT_EQ(doc.DefConstText[1], "");
    EXPECT_EQ(doc.CoordFrame.ymax, 2);
    EXPECT_EQ(doc.ShowGrid, 1);
    EXPECT_EQ(doc.OverlayMode, 1);
    EXPECT_EQ(vars.param[0], 9);
    EXPECT_EQ(vars.param[3], 6);
    EXPECT_EQ(vars.param[4], 4.25f); // e is not in the file
    EXPECT_EQ(vars.param[5], 5);     // f is
    EXPECT_EQ(vars.param[9], 9.25f); // j neither
}

// ---- Refusals -----------------------------------------------------------

std::vector<std::string> ValidLines()
{
    return {"[Graphotheque Data]",
            "-5",
            "5",
            "-5",
            "5",
            "0",
            "0",
            "0",
            "0",
            "0", // 1..10
            "deffunc",
            "1",
            "x^2",
            "defconst",
            "1",
            "2", // 11..16
            "1", // 17
            "1",
            "F1(x)",
            "",
            "",
            "",
            "True",
            "True",
            "0",
            "1"}; // 18..26
}

struct RefusalCase {
    const char *name;
    int line;         // the line the file is changed at, 1-based
    std::string text; // its new text; "<cut>" ends the file before it
    int expectedLine; // the line the refusal must name
};

class EquationFileRefusal : public ::testing::TestWithParam<RefusalCase>
{
};

TEST_P(EquationFileRefusal, NamesTheLineAndLeavesTheDocumentAlone)
{
    const RefusalCase &c = GetParam();
    std::vector<std::string> lines = ValidLines();
    ASSERT_TRUE(ReadEquationLines(lines).ok());
    if (c.text == "<cut>")
        lines.resize(static_cast<std::size_t>(c.line - 1));
    else
        lines[static_cast<std::size_t>(c.line - 1)] = c.text;

    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("bad.gtq"));
    ASSERT_EQ(SaveTextLines(path, lines), QString());

    Document doc = RichDocument();
    VariableTableRecord vars = SomeParams();
    const std::string before = Snapshot(doc, vars);
    LoadResult r = LoadEquationFile(path);
    ApplyEquationFile(r, doc, vars);

    EXPECT_EQ(r.status, LoadResult::Refused);
    EXPECT_EQ(r.line, c.expectedLine);
    EXPECT_TRUE(r.message.startsWith(QStringLiteral("%1行目: ").arg(c.expectedLine)))
        << r.message.toStdString();
    EXPECT_EQ(Snapshot(doc, vars), before);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EquationFileRefusal,
    ::testing::Values(RefusalCase{"NotANumber", 7, "1,5", 7}, RefusalCase{"Empty number", 2, "", 2},
                      RefusalCase{"NanText", 6, "nan", 6}, RefusalCase{"HugeParam", 8, "1E40", 8},
                      RefusalCase{"FrameReversed", 3, "-6", 3}, RefusalCase{"FrameTooWide", 4, "-20000", 4},
                      RefusalCase{"YFrameEmpty", 5, "-5", 5}, RefusalCase{"SevenFunctions", 12, "7", 12},
                      RefusalCase{"NegativeConsts", 15, "-1", 15}, RefusalCase{"ElevenItems", 17, "11", 17},
                      RefusalCase{"NegativeItems", 17, "-2", 17},
                      RefusalCase{"FractionalCount", 17, "1.5", 17}, RefusalCase{"KindSeven", 18, "7", 18},
                      RefusalCase{"KindNegative", 18, "-1", 18}, RefusalCase{"PenZero", 26, "0", 26},
                      RefusalCase{"PenFour", 26, "4", 26}, RefusalCase{"ColourNegative", 25, "-1", 25},
                      RefusalCase{"ColourText", 25, "red", 25},
                      RefusalCase{"SelfFunction", 13, "F1(x)+1", 13},
                      RefusalCase{"SelfConstant", 16, "Q1*2", 16}, RefusalCase{"CutInItem", 22, "<cut>", 22},
                      RefusalCase{"CutBeforeItems", 17, "<cut>", 17},
                      RefusalCase{"CutInFrame", 4, "<cut>", 4}),
    [](const ::testing::TestParamInfo<RefusalCase> &info) {
        std::string n = info.param.name;
        n.erase(std::remove(n.begin(), n.end(), ' '), n.end());
        return n;
    });

TEST(EquationFileCycles, MutualReferencesAreRefusedAtTheFirstDefinitionInTheCycle)
{
    auto with = [](std::vector<std::string> defs) {
        std::vector<std::string> lines = {
            "[Graphotheque Data]", "-5", "5", "-5", "5", "0", "0", "0", "0", "0"};
        lines.insert(lines.end(), defs.begin(), defs.end());
        lines.push_back("0");
        return ReadEquationLines(lines);
    };
    // F1 -> F2 -> F1: F1 is line 13.
    LoadResult r = with({"deffunc", "3", "x", "F3(x)", "F2(x)", "defconst", "0"});
    EXPECT_EQ(r.status, LoadResult::Refused);
    EXPECT_EQ(r.line, 14);
    EXPECT_TRUE(r.message.contains(QStringLiteral("F2")));
    // Across the kinds: F1 uses Q1, Q1 uses F1.
    r = with({"deffunc", "1", "x+Q1", "defconst", "1", "F1(2)"});
    EXPECT_EQ(r.status, LoadResult::Refused);
    EXPECT_EQ(r.line, 13);
    // Q2 -> Q3 -> Q2 with F1 in between.
    r = with({"deffunc", "1", "Q3*x", "defconst", "3", "1", "F1(1)", "Q2"});
    EXPECT_EQ(r.status, LoadResult::Refused);
    EXPECT_EQ(r.line, 13);
    // A chain without a cycle, including a later definition used by an
    // earlier one, and references to definitions that do not exist.
    r = with({"deffunc", "3", "F2(x)+Q2", "x^2", "F7(x)+Q5", "defconst", "2", "F2(1)", "Q1+F3(2)"});
    EXPECT_TRUE(r.ok()) << r.message.toStdString();
}

TEST(EquationFileStatus, WrongFirstLineIsSilentAndDistinct)
{
    QTemporaryDir dir;
    Document doc = RichDocument();
    VariableTableRecord vars = SomeParams();
    const std::string before = Snapshot(doc, vars);

    std::vector<std::string> lines = ValidLines();
    lines[0] = "[graphotheque data]";
    LoadResult r = ReadEquationLines(lines);
    EXPECT_EQ(r.status, LoadResult::NotEquationFile);
    EXPECT_TRUE(r.message.isEmpty());
    ApplyEquationFile(r, doc, vars);

    QString empty = dir.filePath(QStringLiteral("empty.gtq"));
    WriteBytes(empty, "");
    EXPECT_EQ(LoadEquationFile(empty).status, LoadResult::NotEquationFile);

    r = LoadEquationFile(dir.filePath(QStringLiteral("missing.gtq")));
    EXPECT_EQ(r.status, LoadResult::ReadError);
    EXPECT_FALSE(r.message.isEmpty());
    ApplyEquationFile(r, doc, vars);
    EXPECT_EQ(Snapshot(doc, vars), before);
}

TEST(EquationFileStatus, LinesAfterTheLastItemAreIgnored)
{
    std::vector<std::string> lines = ValidLines();
    lines.push_back("");
    lines.push_back("trailing text");
    EXPECT_TRUE(ReadEquationLines(lines).ok());
}
} // namespace
