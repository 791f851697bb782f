// The equation file (".gtq"): the whole document as a line-oriented text file
// of Shift-JIS bytes with CR LF line ends.
//
//   "[Graphotheque Data]"
//   xmin, xmax, ymin, ymax, then the parameters a, b, c, d, f (one per line)
//   "deffunc", functionCount, the function texts
//   "defconst", constantCount, the constant texts
//   itemCount, then nine lines per item: kind, text[1..4], asymptote flag,
//   afterimage flag ("True"/"False"), colour (decimal 0x00BBGGRR), pen width
//
// Reals are written by formatGeneral (ui/number_text.h). The reader also
// takes files without the definition sections (line 11 is then the item
// count) and files whose "defconst" line is missing.
//
// Loading never touches the live document: loadEquationFile returns what it
// read, and applyEquationFile puts an accepted result into the document. A
// file is refused as a whole when it is truncated, when a number line is not a
// number, when a count, kind, pen width or colour is out of range, when the
// coordinate range is not a proper range within ±10000, or when the
// definitions refer to one another in a cycle.
#pragma once

#include "engine/expr_tree.h"
#include "model/document.h"
#include <QString>
#include <array>
#include <string>
#include <vector>

namespace gq
{

inline constexpr const char *kEquationFileMarker = "[Graphotheque Data]";
inline constexpr const char *kDefFuncMarker = "deffunc";
inline constexpr const char *kDefConstMarker = "defconst";

// The parameters kept in the file, in file order.
inline constexpr std::array<char, 5> kFileParams = {'a', 'b', 'c', 'd', 'f'};

struct LoadResult {
    enum Status {
        Loaded,          // document and params hold the file's contents
        NotEquationFile, // the first line is not the marker (or the file is empty): stay silent
        Refused,         // the file is broken; message says why and where
        ReadError,       // the file could not be opened or read; message says so
    };
    Status status = Refused;
    int line = 0;    // 1-based line of the fault (Refused), 0 otherwise
    QString message; // Japanese, ready to show; empty for Loaded and NotEquationFile

    // Valid when status is Loaded. Only the fields the file holds are
    // meaningful: frame, items[1..itemCount] (all but usesParam),
    // itemCount, the definitions and their counts (texts above the counts are
    // empty). The view flags and currentItem are left at their defaults.
    Document document;
    std::array<float, 5> params{}; // a, b, c, d, f

    // The 1-based file line of every formula text read (0 for texts the file
    // does not hold), so that messages can name the line of a text.
    struct TextLines {
        std::array<std::array<int, 5>, kMaxItems + 1> items{}; // items[i][t]: text[t] of item i
        std::array<int, kMaxDefinitions + 1> functions{};      // F1..F6
        std::array<int, kMaxDefinitions + 1> constants{};      // Q1..Q6
    } textLines;

    bool ok() const { return status == Loaded; }
};

// Reads the equation file at path.
LoadResult loadEquationFile(const QString &path);
// Reads an equation file already split into lines (line n is lines[n - 1]).
LoadResult readEquationLines(const std::vector<std::string> &lines);

// Puts a Loaded result into the live document: the range,
// the definitions (both lists replaced), the item count and items, and the
// parameters a, b, c, d, f. Each item keeps the usesParam flag the live record
// at its place had (the main window recomputes it); the view flags, the
// current item and the other parameters stay. Does nothing unless result.ok().
void applyEquationFile(const LoadResult &result, Document &doc);

// The lines of the file for doc (of the parameters only a, b, c, d, f are
// written). Fails (returns false, message in error) when the
// document cannot be written faithfully: counts outside their ranges, a
// non-finite number, or a text with a line break.
bool equationFileLines(const Document &doc, std::vector<std::string> &lines, QString &error);

// Writes doc to path atomically (the previous file stays intact on failure).
// Returns an empty string on success, otherwise the Japanese message.
QString saveEquationFile(const QString &path, const Document &doc);

} // namespace gq
