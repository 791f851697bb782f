// libFuzzer target: the equation-file reader on any bytes.
//
// The input is the content of a ".gtq" file. The target splits it into lines
// as the reader does, reads it, checks every text it holds as the program
// does after reading (the keyboard's check with the file's definitions and
// parameters), and, for a file that reads, writes the document again and
// reads that back: the second reading must give the same document and the
// same texts reported. Everything must end, without a leak or a report of
// the sanitizers.
#include "model/equation_file.h"
#include "model/text_check.h"
#include "platform/text_file.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

using namespace gq;

namespace
{

[[noreturn]] void broken(const char *invariant, const QString &detail = QString())
{
    std::fprintf(stderr, "\nINVARIANT BROKEN: %s\n  %s\n", invariant, detail.toUtf8().constData());
    std::abort();
}

bool close(long double a, long double b)
{
    // Reals are written with 15 significant digits.
    return a == b || std::fabs(a - b) <= 1e-14L * std::max(std::fabs(a), std::fabs(b));
}

// The same document; the frame (80-bit reals) to 15 significant digits
// unless exact, the rest exactly (parameters are single precision, which 15
// digits always give back).
bool sameDocument(const LoadResult &a, const LoadResult &b, bool exact)
{
    const Document &x = a.document, &y = b.document;
    if (x.itemCount != y.itemCount || x.functionCount != y.functionCount ||
        x.constantCount != y.constantCount || a.params != b.params)
        return false;
    const CoordFrame &f = x.frame, &g = y.frame;
    if (exact ? !(f == g)
              : !(close(f.xmin, g.xmin) && close(f.xmax, g.xmax) && close(f.ymin, g.ymin) &&
                  close(f.ymax, g.ymax)))
        return false;
    for (int n = 1; n <= x.functionCount; ++n)
        if (x.functionTexts[n] != y.functionTexts[n])
            return false;
    for (int n = 1; n <= x.constantCount; ++n)
        if (x.constantTexts[n] != y.constantTexts[n])
            return false;
    for (int i = 1; i <= x.itemCount; ++i) {
        const Item &p = x.items[i], &q = y.items[i];
        if (p.kind != q.kind || p.text != q.text || p.asymptote != q.asymptote ||
            p.afterimage != q.afterimage || p.colour != q.colour || p.penWidth != q.penWidth)
            return false;
    }
    return true;
}

// The file lines of a loaded result, as saving writes them; false when the
// writer refuses the document.
bool written(const LoadResult &loaded, std::vector<std::string> &lines)
{
    Document doc;
    applyEquationFile(loaded, doc);
    QString error;
    return equationFileLines(doc, lines, error);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size)
{
    const std::vector<std::string> lines =
        splitTextLines(std::string(reinterpret_cast<const char *>(data), size));
    const LoadResult loaded = readEquationLines(lines);
    if (!loaded.ok())
        return 0;
    const QStringList reported = unparsableTextLines(loaded);

    std::vector<std::string> first, second;
    if (!written(loaded, first))
        return 0; // refused with a message, as saving would be
    const LoadResult again = readEquationLines(first);
    if (!again.ok())
        broken("a document read from a file cannot be read back after writing", again.message);
    if (!sameDocument(loaded, again, false))
        broken("writing and reading again changes the document");
    // The same texts fail, perhaps on other lines (the written file always
    // has both definition sections).
    if (unparsableTextLines(again).size() != reported.size())
        broken("writing and reading again changes which texts fail", reported.join(QStringLiteral("; ")));
    // A document written once is written again as it is.
    if (!written(again, second) || second != first)
        broken("a document written and read back is written differently");
    return 0;
}
