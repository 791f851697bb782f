#include "model/equation_file.h"

#include "platform/number_text.h"
#include "platform/text_file.h"

#include <cfloat>
#include <cmath>

namespace gq
{

namespace
{
constexpr int kMaxColour = 0xFFFFFF;
constexpr int kDefinitionNodes = 2 * kMaxDefinitions; // F1..F6, then Q1..Q6

// Thrown inside the reader only; never leaves this file.
struct Refusal {
    int line;
    QString what;
};

// Hands out the file's lines one by one and knows where it is.
class LineCursor
{
  public:
    explicit LineCursor(const std::vector<std::string> &lines) : lines_(lines) {}

    int lineNo() const { return pos_; } // 1-based number of the line last taken
    const std::string &next()
    {
        if (pos_ >= static_cast<int>(lines_.size()))
            throw Refusal{pos_ + 1, QStringLiteral("ファイルが途中で終わっています")};
        return lines_[static_cast<std::size_t>(pos_++)];
    }
    long double nextReal() { return toReal(next()); }
    int nextInteger(int low, int high, const QString &what) { return toInteger(next(), low, high, what); }

    long double toReal(const std::string &text) const
    {
        long double v = 0;
        if (!parseReal(text, v))
            throw Refusal{pos_, QStringLiteral("数値ではありません")};
        return v;
    }
    int toInteger(const std::string &text, int low, int high, const QString &what) const
    {
        int v = 0;
        if (!parseInteger(text, v))
            throw Refusal{pos_, QStringLiteral("整数ではありません")};
        if (v < low || v > high)
            throw Refusal{pos_, QStringLiteral("%1が範囲外です（%2～%3）").arg(what).arg(low).arg(high)};
        return v;
    }

  private:
    const std::vector<std::string> &lines_;
    int pos_ = 0;
};

QString definitionName(int node)
{
    return node < kMaxDefinitions ? QStringLiteral("F%1").arg(node + 1)
                                  : QStringLiteral("Q%1").arg(node - kMaxDefinitions + 1);
}

// The first definition, in file order, that refers to itself directly or
// through others, or -1. "Refers to" is the program's plain text test: the
// text contains the letter and the digit of the definition.
int firstCyclicDefinition(const Document &doc)
{
    bool exists[kDefinitionNodes] = {};
    std::string text[kDefinitionNodes];
    for (int n = 1; n <= kMaxDefinitions; ++n) {
        exists[n - 1] = n <= doc.functionCount;
        text[n - 1] = doc.functionTexts[n];
        exists[kMaxDefinitions + n - 1] = n <= doc.constantCount;
        text[kMaxDefinitions + n - 1] = doc.constantTexts[n];
    }
    bool reach[kDefinitionNodes][kDefinitionNodes] = {};
    for (int u = 0; u < kDefinitionNodes; ++u)
        for (int v = 0; v < kDefinitionNodes; ++v)
            reach[u][v] =
                exists[u] && exists[v] && text[u].find(definitionName(v).toStdString()) != std::string::npos;
    for (int k = 0; k < kDefinitionNodes; ++k)
        for (int u = 0; u < kDefinitionNodes; ++u)
            for (int v = 0; v < kDefinitionNodes; ++v)
                reach[u][v] = reach[u][v] || (reach[u][k] && reach[k][v]);
    for (int u = 0; u < kDefinitionNodes; ++u)
        if (reach[u][u])
            return u;
    return -1;
}

void readBody(LineCursor &in, LoadResult &r)
{
    Document &doc = r.document;

    long double frame[4];
    for (long double &v : frame) {
        v = in.nextReal();
        if (std::fabs(v) > kFrameLimit)
            throw Refusal{in.lineNo(), QStringLiteral("座標の範囲は±10000までです")};
    }
    if (!(frame[0] < frame[1]))
        throw Refusal{3, QStringLiteral("xの最大値が最小値以下です")};
    if (!(frame[2] < frame[3]))
        throw Refusal{5, QStringLiteral("yの最大値が最小値以下です")};
    doc.frame = CoordFrame{frame[0], frame[1], frame[2], frame[3]};

    for (float &p : r.params) {
        long double v = in.nextReal();
        if (std::fabs(v) > FLT_MAX)
            throw Refusal{in.lineNo(), QStringLiteral("値が大きすぎます")};
        p = static_cast<float>(v);
    }

    const std::string *countLine = &in.next();
    if (*countLine == kDefFuncMarker) {
        doc.functionCount = in.nextInteger(0, kMaxDefinitions, QStringLiteral("関数定義の数"));
        int firstFuncLine = in.lineNo() + 1;
        for (int n = 1; n <= doc.functionCount; ++n) {
            doc.functionTexts[n] = in.next();
            r.textLines.functions[n] = in.lineNo();
        }
        // A missing "defconst" line is tolerated: the line in hand is then the count.
        countLine = &in.next();
        if (*countLine == kDefConstMarker)
            countLine = &in.next();
        doc.constantCount = in.toInteger(*countLine, 0, kMaxDefinitions, QStringLiteral("定数定義の数"));
        int firstConstLine = in.lineNo() + 1;
        for (int n = 1; n <= doc.constantCount; ++n) {
            doc.constantTexts[n] = in.next();
            r.textLines.constants[n] = in.lineNo();
        }
        countLine = &in.next();

        if (int node = firstCyclicDefinition(doc); node >= 0) {
            int line =
                node < kMaxDefinitions ? firstFuncLine + node : firstConstLine + node - kMaxDefinitions;
            throw Refusal{line, QStringLiteral("%1の定義が循環参照になっています").arg(definitionName(node))};
        }
    }
    // Without "deffunc" the file has no definitions and line 11 is the item count.

    doc.itemCount = in.toInteger(*countLine, 0, kMaxItems, QStringLiteral("式の数"));
    for (int i = 1; i <= doc.itemCount; ++i) {
        Item &item = doc.items[i];
        item.kind =
            static_cast<uint8_t>(in.nextInteger(KindDerivative, KindSegment, QStringLiteral("式の種類")));
        for (int t = 1; t <= 4; ++t) {
            item.text[t] = in.next();
            r.textLines.items[i][t] = in.lineNo();
        }
        item.asymptote = in.next() == "True" ? 1 : 0;
        item.afterimage = in.next() == "True" ? 1 : 0;
        item.colour = static_cast<uint32_t>(in.nextInteger(0, kMaxColour, QStringLiteral("色の値")));
        item.penWidth = static_cast<uint8_t>(in.nextInteger(1, 3, QStringLiteral("線の太さ")));
    }
    // Anything after the last item is not part of the document.
}
} // namespace

LoadResult readEquationLines(const std::vector<std::string> &lines)
{
    LoadResult r;
    if (lines.empty() || lines[0] != kEquationFileMarker) {
        r.status = LoadResult::NotEquationFile;
        return r;
    }
    LineCursor in(lines);
    in.next();
    try {
        readBody(in, r);
    } catch (const Refusal &refusal) {
        LoadResult refused;
        refused.status = LoadResult::Refused;
        refused.line = refusal.line;
        refused.message = QStringLiteral("%1行目: %2").arg(refusal.line).arg(refusal.what);
        return refused;
    }
    r.status = LoadResult::Loaded;
    return r;
}

LoadResult loadEquationFile(const QString &path)
{
    TextFileRead file = readTextLines(path);
    if (!file.ok) {
        LoadResult r;
        r.status = LoadResult::ReadError;
        r.message = file.error;
        return r;
    }
    return readEquationLines(file.lines);
}

void applyEquationFile(const LoadResult &result, Document &doc)
{
    if (!result.ok())
        return;
    const Document &in = result.document;
    doc.frame = in.frame;
    doc.functionTexts = in.functionTexts;
    doc.functionCount = in.functionCount;
    doc.constantTexts = in.constantTexts;
    doc.constantCount = in.constantCount;
    for (int i = 1; i <= in.itemCount; ++i) {
        uint8_t usesParam = doc.items[i].usesParam;
        doc.items[i] = in.items[i];
        doc.items[i].usesParam = usesParam;
    }
    doc.itemCount = in.itemCount;
    for (std::size_t k = 0; k < kFileParams.size(); ++k)
        doc.parameters[kFileParams[k]] = result.params[k];
}

bool equationFileLines(const Document &doc, std::vector<std::string> &lines, QString &error)
{
    // Counts outside the capacities would index past the lists.
    if (doc.itemCount < 0 || doc.itemCount > kMaxItems || doc.functionCount < 0 ||
        doc.functionCount > kMaxDefinitions || doc.constantCount < 0 || doc.constantCount > kMaxDefinitions) {
        error = QStringLiteral("保存できません: 式または定義の数が範囲外です");
        return false;
    }
    auto flag = [](uint8_t b) { return std::string(b == 1 ? "True" : "False"); };

    std::vector<std::string> out;
    out.push_back(kEquationFileMarker);
    for (long double v : {doc.frame.xmin, doc.frame.xmax, doc.frame.ymin, doc.frame.ymax})
        out.push_back(formatGeneral(v));
    for (char letter : kFileParams)
        out.push_back(formatGeneral(doc.parameters[letter]));
    out.push_back(kDefFuncMarker);
    out.push_back(formatGeneral(doc.functionCount));
    for (int n = 1; n <= doc.functionCount; ++n)
        out.push_back(doc.functionTexts[n]);
    out.push_back(kDefConstMarker);
    out.push_back(formatGeneral(doc.constantCount));
    for (int n = 1; n <= doc.constantCount; ++n)
        out.push_back(doc.constantTexts[n]);
    out.push_back(std::to_string(doc.itemCount));
    for (int i = 1; i <= doc.itemCount; ++i) {
        const Item &item = doc.items[i];
        out.push_back(std::to_string(item.kind));
        for (int t = 1; t <= 4; ++t)
            out.push_back(item.text[t]);
        out.push_back(flag(item.asymptote));
        out.push_back(flag(item.afterimage));
        out.push_back(std::to_string(item.colour));
        out.push_back(std::to_string(item.penWidth));
    }
    for (const std::string &line : out) {
        if (line.find_first_of("\r\n") != std::string::npos) {
            error = QStringLiteral("保存できません: 改行を含む式があります");
            return false;
        }
    }
    // Never write a file this program would refuse to read back: the same
    // checks as on reading (ranges, numbers, definition cycles) apply.
    LoadResult check = readEquationLines(out);
    if (!check.ok()) {
        error = QStringLiteral("保存できません（%1）").arg(check.message);
        return false;
    }
    lines = std::move(out);
    return true;
}

QString saveEquationFile(const QString &path, const Document &doc)
{
    std::vector<std::string> lines;
    QString error;
    if (!equationFileLines(doc, lines, error))
        return error;
    return saveTextLines(path, lines);
}

} // namespace gq
