// The recovery file: the document as it is while the program runs, kept so
// that a crash or a power cut loses nothing. It is an equation file (the
// same lines as a saved one) followed by a trailer of what a restored
// document needs and an equation file does not keep:
//
//   "[Graphotheque Recovery]"
//   the document's file name, UTF-8 with percent escapes ("" for none)
//   grid flag, scale flag (0 or 1)
//   j, n, θ
//
// An equation file ignores what follows its last item, so the recovery file
// also reads as a plain equation file. The text size is a setting of the
// user, not of the document, and is not kept here.
#pragma once

#include "model/equation_file.h"
#include <QString>
#include <string>
#include <vector>

namespace gq
{

inline constexpr const char *kRecoveryMarker = "[Graphotheque Recovery]";
inline constexpr int kRecoveryTrailerLines = 7; // the marker and six values

// The lines of the recovery file for doc, whose file is documentPath. False
// (message in error) when the document cannot be written as an equation
// file.
bool recoveryFileLines(const Document &doc, const QString &documentPath, std::vector<std::string> &lines,
                       QString &error);

struct RecoveredDocument {
    LoadResult file;      // as a read equation file; file.ok() when usable
    QString documentPath; // "" when the document had no file
    // The trailer's values; without a sound trailer the document keeps its
    // own (hasTrailer false).
    bool hasTrailer = false;
    uint8_t showGrid = 0;
    uint8_t showScale = 1;
    float j = 1, n = 1, theta = 0;
};

// Reads the recovery file at path (its equation part with the checks of any
// equation file).
RecoveredDocument readRecoveryFile(const QString &path);
RecoveredDocument readRecoveryLines(const std::vector<std::string> &lines);

// Puts a usable recovered document into doc, as a read file is put
// (applyEquationFile), and the trailer's values. Does nothing unless
// recovered.file.ok().
void applyRecoveredDocument(const RecoveredDocument &recovered, Document &doc);

} // namespace gq
