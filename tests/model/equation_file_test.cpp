// The equation file: its exact layout, round trips, atomic saving, the
// variants other writers produce, and the refusal of broken files.
#include "model/equation_file.h"
#include "platform/text_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

namespace gq
{

namespace
{
const std::string kPi = "\x83\xCE";
const std::string kTheta = "\x83\xC6";
// Lines 1-10 of a file with the default range and parameters.
const std::string kHead = "[Graphotheque Data]|-5|5|-5|5|0|0|0|0|0|";
const char *const kEmptyFile = "[Graphotheque Data]\r\n-5\r\n5\r\n-5\r\n5\r\n0\r\n0\r\n0\r\n0\r\n0\r\n"
                               "deffunc\r\n0\r\ndefconst\r\n0\r\n0\r\n";

// "a|b||c" -> the lines a, b, "", c.
std::vector<std::string> Lines(const std::string &joined)
{
    std::vector<std::string> lines;
    std::size_t start = 0, bar;
    while ((bar = joined.find('|', start)) != std::string::npos) {
        lines.push_back(joined.substr(start, bar - start));
        start = bar + 1;
    }
    lines.push_back(joined.substr(start));
    return lines;
}

std::string readBytes(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return "<missing>";
    QByteArray b = f.readAll();
    return std::string(b.constData(), static_cast<std::size_t>(b.size()));
}

void writeBytes(const QString &path, const std::string &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

// Every field the file holds, plus the ones it must leave alone, as text.
std::string snapshot(const Document &doc)
{
    std::vector<std::string> lines;
    QString error;
    std::string s = equationFileLines(doc, lines, error) ? "" : "unsavable";
    for (const auto &l : lines)
        s += l + "\n";
    for (int i = 1; i <= kMaxItems; ++i)
        s += "|" + std::to_string(doc.items[i].usesParam) + doc.items[i].text[1];
    s += "|" + std::to_string(doc.showGrid) + std::to_string(doc.showScale) + std::to_string(doc.overlayMode);
    for (float p : doc.parameters.value)
        s += "|" + std::to_string(p);
    return s;
}

// A document that uses every section and every item kind but one.
Document richDocument()
{
    Document doc;
    doc.frame = {-0.5L, 12.25L, -1e-6L, 3000};
    doc.functionCount = 2;
    doc.functionTexts[1] = "sin(x)+a";
    doc.functionTexts[2] = "F1(x)^2*" + kPi;
    doc.constantCount = 1;
    doc.constantTexts[1] = "F2(1)+" + kTheta;
    doc.itemCount = 6;
    doc.items[1] = {.kind = KindExplicit, .text = {"", "F2(x)-Q1"}, .asymptote = 1, .colour = 0};
    doc.items[2] = {.kind = KindDerivative, .text = {"", "2*x"}, .colour = 16711680, .penWidth = 2};
    doc.items[3] = {
        .kind = KindImplicit, .text = {"", "x^2+y^2-1"}, .afterimage = 0, .colour = 255, .penWidth = 3};
    doc.items[4] = {
        .kind = KindParametric, .text = {"", "cos(t)", "sin(t)", "0", "2" + kPi}, .colour = 32768};
    doc.items[5] = {.kind = KindPolar, .text = {"", kTheta, kTheta, "0", kPi}, .colour = 128};
    doc.items[6] = {.kind = KindSegment, .text = {"", "a", "b", "1.5", "-2"}, .colour = 8421376};
    return doc;
}

Parameters someParams()
{
    Parameters params;
    for (int i = 0; i < kParamCount; ++i)
        params.value[i] = static_cast<float>(i) + 0.25f;
    params['a'] = 0.1f;
    params['b'] = -3;
    params['c'] = 1e20f;
    params['d'] = 1.5e-7f;
    params['f'] = 0;
    return params;
}

Document richDocumentWithParams()
{
    Document doc = richDocument();
    doc.parameters = someParams();
    return doc;
}

class EquationFileTest : public ::testing::Test
{
  protected:
    QTemporaryDir dir;
    QString path(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }
};

// ---- Writing ------------------------------------------------------------

TEST_F(EquationFileTest, EmptyDocumentIsExactlyFifteenLines)
{
    ASSERT_EQ(saveEquationFile(path("e.gtq"), Document{}), QString());
    EXPECT_EQ(readBytes(path("e.gtq")), kEmptyFile);
}

TEST_F(EquationFileTest, LayoutOfItemsAndNumbers)
{
    std::vector<std::string> lines;
    QString error;
    ASSERT_TRUE(equationFileLines(richDocumentWithParams(), lines, error)) << error.toStdString();
    ASSERT_EQ(lines.size(), 1u + 9 + 2 + 2 + 2 + 1 + 1 + 6 * 9);
    // Reals in general notation (the parameters as the floats they are, f
    // rather than e), the counts as integers, the texts as they are.
    const std::vector<std::string> head(lines.begin(), lines.begin() + 18);
    EXPECT_EQ(head,
              Lines("[Graphotheque Data]|-0.5|12.25|-1E-6|3000|0.100000001490116|-3|1.00000002004088E20|"
                    "1.50000005305628E-7|0|deffunc|2|sin(x)+a|F1(x)^2*" +
                    kPi + "|defconst|1|F2(1)+" + kTheta + "|6"));
    // Item 1: explicit, three empty lines for the texts it does not use.
    std::vector<std::string> item1(lines.begin() + 18, lines.begin() + 27);
    EXPECT_EQ(item1, Lines("1|F2(x)-Q1||||True|True|0|1"));
    std::vector<std::string> item3(lines.begin() + 36, lines.begin() + 45);
    EXPECT_EQ(item3, Lines("2|x^2+y^2-1||||False|False|255|3"));
}

// Saving, reading into another document and saving again gives the same
// bytes; what the file does not hold stays.
TEST_F(EquationFileTest, RoundTripGivesTheSameBytesAndKeepsTheRest)
{
    const Document rich = richDocumentWithParams();
    ASSERT_EQ(saveEquationFile(path("1.gtq"), rich), QString());
    LoadResult r = loadEquationFile(path("1.gtq"));
    ASSERT_TRUE(r.ok()) << r.message.toStdString();
    Document back;
    back.functionCount = 3;
    back.functionTexts[3] = "x";
    back.showGrid = back.overlayMode = back.items[1].usesParam = 1;
    back.parameters['e'] = 7;
    back.parameters['j'] = 3;
    applyEquationFile(r, back);
    ASSERT_EQ(saveEquationFile(path("2.gtq"), back), QString());
    EXPECT_EQ(readBytes(path("1.gtq")), readBytes(path("2.gtq")));

    EXPECT_EQ(back.items[5].text[1], kTheta); // θ bytes survive
    EXPECT_EQ(back.frame.ymin, -1e-6L);
    for (char letter : {'a', 'c', 'd'}) // floats come back exactly
        EXPECT_EQ(back.parameters[letter], rich.parameters[letter]) << letter;
    EXPECT_EQ(back.functionTexts[3], ""); // texts above the count are emptied
    // The view flags and the uses-parameter flag (recomputed later by the
    // window) stay, and so do e and j.
    EXPECT_EQ(back.showGrid + back.overlayMode + back.items[1].usesParam, 3);
    EXPECT_TRUE(back.parameters['e'] == 7 && back.parameters['j'] == 3);
}

TEST_F(EquationFileTest, SaveRefusesWhatCouldNotBeReadBack)
{
    writeBytes(path("old.gtq"), kEmptyFile);
    // A line break in a text, too many items, a kind out of range, a cycle
    // between definitions, a parameter that is not finite.
    const std::vector<void (*)(Document &)> breakers = {
        [](Document &d) { d.items[2].text[1] = "x\r\n1"; }, [](Document &d) { d.itemCount = 11; },
        [](Document &d) { d.items[3].kind = 9; }, [](Document &d) { d.functionTexts[1] = "F2(x)"; },
        [](Document &d) { d.parameters['b'] = std::numeric_limits<float>::infinity(); }};
    for (std::size_t i = 0; i < breakers.size(); ++i) {
        Document doc = richDocument();
        breakers[i](doc);
        EXPECT_FALSE(saveEquationFile(path("old.gtq"), doc).isEmpty()) << i;
    }
    EXPECT_EQ(readBytes(path("old.gtq")), kEmptyFile);
}

TEST_F(EquationFileTest, FailedWriteKeepsThePreviousFile)
{
    // A file-size limit makes the write fail the way a full disk does, even
    // for a privileged user.
    writeBytes(path("old.gtq"), kEmptyFile);
    Document doc = richDocument();
    doc.items[1].text[1] = std::string(4000, 'x');

    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small{1000, saved.rlim_max};
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    QString error = saveEquationFile(path("old.gtq"), doc);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(readBytes(path("old.gtq")), kEmptyFile);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files),
              QStringList{QStringLiteral("old.gtq")}); // no leftovers
}

// ---- Reading what other writers may produce ------------------------------

// Files of other writers: line 11 a number (no definition sections), a
// missing "defconst" line, flags other than exactly "True", LF line ends and
// any decimal form.
TEST_F(EquationFileTest, ReadsTheVariantsOfOtherWriters)
{
    LoadResult r = readEquationLines(
        Lines("[Graphotheque Data]|-5|5|-5|5|1|2|3|4|5|2|1|x||||true|TRUE|0|1|1|x^2||||True|True|255|2"));
    ASSERT_TRUE(r.ok()) << r.message.toStdString();
    EXPECT_EQ(r.document.functionCount + r.document.constantCount, 0);
    EXPECT_EQ(r.document.itemCount, 2);
    EXPECT_EQ(r.document.items[2].text[1], "x^2");
    EXPECT_EQ(r.params, (std::array<float, 5>{1, 2, 3, 4, 5}));
    EXPECT_EQ(r.document.items[1].asymptote + r.document.items[1].afterimage, 0);
    EXPECT_EQ(r.document.items[2].asymptote + r.document.items[2].afterimage, 2);

    r = readEquationLines(Lines(kHead + "deffunc|2|x^2|F1(x)+1|1|3|0"));
    ASSERT_TRUE(r.ok()) << r.message.toStdString();
    EXPECT_TRUE(r.document.functionCount == 2 && r.document.constantCount == 1 && r.document.itemCount == 0);
    EXPECT_EQ(r.document.functionTexts[2], "F1(x)+1");
    EXPECT_EQ(r.document.constantTexts[1], "3");

    writeBytes(path("lf.gtq"), "[Graphotheque Data]\n-5.0\n+5\n-.5e1\n5E0\n1.5e-3\n 2 \n0\n0\n0\n0\n");
    r = loadEquationFile(path("lf.gtq"));
    ASSERT_TRUE(r.ok()) << r.message.toStdString();
    EXPECT_TRUE(r.document.frame.xmax == 5 && r.document.frame.ymin == -5);
    EXPECT_FLOAT_EQ(r.params[0], 1.5e-3f);
    EXPECT_EQ(r.params[1], 2);
}

// ---- Refusals -----------------------------------------------------------

// Lines 11-16 definitions, 17 the item count, 18-26 the item.
std::vector<std::string> validLines()
{
    return Lines(kHead + "deffunc|1|x^2|defconst|1|2|1|1|F1(x)||||True|True|0|1");
}

// A broken file names its line and leaves the document alone.
TEST(EquationFileRefusals, NameTheLineAndLeaveTheDocumentAlone)
{
    // Numbers that are no numbers or out of range, a frame that is not a proper
    // range within ±10000, counts, kinds, pens and colours out of range, a
    // definition referring to itself, and files cut short.
    struct Case {
        int line;         // the line the file is changed at, 1-based
        std::string text; // its new text; "<cut>" ends the file before it
    };
    const std::vector<Case> cases = {{7, "1,5"},    {2, ""},       {6, "nan"},  {8, "1E40"},     {3, "-6"},
                                     {4, "-20000"}, {5, "-5"},     {12, "7"},   {15, "-1"},      {17, "11"},
                                     {17, "-2"},    {17, "1.5"},   {18, "7"},   {18, "-1"},      {26, "0"},
                                     {26, "4"},     {25, "-1"},    {25, "red"}, {13, "F1(x)+1"}, {16, "Q1*2"},
                                     {22, "<cut>"}, {17, "<cut>"}, {4, "<cut>"}};
    ASSERT_TRUE(readEquationLines(validLines()).ok());
    for (const Case &c : cases) {
        SCOPED_TRACE(std::to_string(c.line) + ": " + c.text);
        std::vector<std::string> lines = validLines();
        if (c.text == "<cut>")
            lines.resize(static_cast<std::size_t>(c.line - 1));
        else
            lines[static_cast<std::size_t>(c.line - 1)] = c.text;
        Document doc = richDocumentWithParams();
        const std::string before = snapshot(doc);
        LoadResult r = readEquationLines(lines);
        applyEquationFile(r, doc);
        EXPECT_EQ(r.status, LoadResult::Refused);
        EXPECT_EQ(r.line, c.line);
        EXPECT_TRUE(r.message.startsWith(QStringLiteral("%1行目: ").arg(c.line))) << r.message.toStdString();
        EXPECT_EQ(snapshot(doc), before);
    }
}

TEST(EquationFileRefusals, MutualReferencesAreRefusedAtTheFirstDefinitionInTheCycle)
{
    auto with = [](const std::string &definitions) {
        return readEquationLines(Lines(kHead + definitions + "|0"));
    };
    // F1 -> F2 -> F1: F1 is line 13.
    LoadResult r = with("deffunc|3|x|F3(x)|F2(x)|defconst|0");
    EXPECT_EQ(r.status, LoadResult::Refused);
    EXPECT_EQ(r.line, 14);
    EXPECT_TRUE(r.message.contains(QStringLiteral("F2")));
    // Across the kinds: F1 uses Q1, Q1 uses F1.
    r = with("deffunc|1|x+Q1|defconst|1|F1(2)");
    EXPECT_EQ(r.status, LoadResult::Refused);
    EXPECT_EQ(r.line, 13);
    // Q2 -> Q3 -> Q2 with F1 in between.
    r = with("deffunc|1|Q3*x|defconst|3|1|F1(1)|Q2");
    EXPECT_EQ(r.status, LoadResult::Refused);
    EXPECT_EQ(r.line, 13);
    // A chain without a cycle, including a later definition used by an
    // earlier one, and references to definitions that do not exist.
    r = with("deffunc|3|F2(x)+Q2|x^2|F7(x)+Q5|defconst|2|F2(1)|Q1+F3(2)");
    EXPECT_TRUE(r.ok()) << r.message.toStdString();
}

TEST_F(EquationFileTest, WrongFirstLineIsSilentAndDistinct)
{
    Document doc = richDocumentWithParams();
    const std::string before = snapshot(doc);
    std::vector<std::string> lines = validLines();
    lines[0] = "[graphotheque data]";
    LoadResult r = readEquationLines(lines);
    EXPECT_EQ(r.status, LoadResult::NotEquationFile);
    EXPECT_TRUE(r.message.isEmpty());
    applyEquationFile(r, doc);

    writeBytes(path("empty.gtq"), "");
    EXPECT_EQ(loadEquationFile(path("empty.gtq")).status, LoadResult::NotEquationFile);
    r = loadEquationFile(path("missing.gtq"));
    EXPECT_EQ(r.status, LoadResult::ReadError);
    EXPECT_FALSE(r.message.isEmpty());
    applyEquationFile(r, doc);
    EXPECT_EQ(snapshot(doc), before);

    lines = validLines(); // lines after the last item are ignored
    lines.insert(lines.end(), {"", "trailing text"});
    EXPECT_TRUE(readEquationLines(lines).ok());
}
} // namespace

} // namespace gq
