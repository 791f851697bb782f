#include "control/recovery_file.h"

#include "platform/number_text.h"
#include "platform/text_file.h"
#include <QByteArray>
#include <cfloat>
#include <cmath>

namespace gq
{

namespace
{
bool readFlag(const std::string &line, uint8_t &flag)
{
    int value = 0;
    if (!parseInteger(line, value) || (value != 0 && value != 1))
        return false;
    flag = static_cast<uint8_t>(value);
    return true;
}

bool readParameter(const std::string &line, float &value)
{
    long double v = 0;
    if (!parseReal(line, v) || !(std::fabs(v) <= FLT_MAX))
        return false;
    value = static_cast<float>(v);
    return true;
}

// The trailer's six values after the marker; false when one is unsound.
bool readTrailer(const std::string *values, RecoveredDocument &r)
{
    r.documentPath = QString::fromUtf8(QByteArray::fromPercentEncoding(QByteArray::fromStdString(values[0])));
    return readFlag(values[1], r.showGrid) && readFlag(values[2], r.showScale) &&
           readParameter(values[3], r.j) && readParameter(values[4], r.n) && readParameter(values[5], r.theta);
}
} // namespace

bool recoveryFileLines(const Document &doc, const QString &documentPath, std::vector<std::string> &lines,
                       QString &error)
{
    std::vector<std::string> out;
    if (!equationFileLines(doc, out, error))
        return false;
    out.push_back(kRecoveryMarker);
    // Percent escapes keep any name on one line of plain bytes.
    out.push_back(documentPath.toUtf8().toPercentEncoding("/").toStdString());
    out.push_back(doc.showGrid == 1 ? "1" : "0");
    out.push_back(doc.showScale == 0 ? "0" : "1");
    for (char letter : {'j', 'n', 's'})
        out.push_back(formatGeneral(doc.parameters[letter]));
    lines = std::move(out);
    return true;
}

RecoveredDocument readRecoveryLines(const std::vector<std::string> &lines)
{
    RecoveredDocument r;
    std::vector<std::string> body = lines;
    const std::size_t size = lines.size();
    if (size >= static_cast<std::size_t>(kRecoveryTrailerLines) &&
        lines[size - kRecoveryTrailerLines] == kRecoveryMarker) {
        RecoveredDocument trailer;
        if (readTrailer(&lines[size - kRecoveryTrailerLines + 1], trailer)) {
            r = trailer;
            r.hasTrailer = true;
        }
        body.resize(size - kRecoveryTrailerLines);
    }
    r.file = readEquationLines(body);
    return r;
}

RecoveredDocument readRecoveryFile(const QString &path)
{
    TextFileRead file = readTextLines(path);
    if (!file.ok) {
        RecoveredDocument r;
        r.file.status = LoadResult::ReadError;
        r.file.message = file.error;
        return r;
    }
    return readRecoveryLines(file.lines);
}

void applyRecoveredDocument(const RecoveredDocument &recovered, Document &doc)
{
    if (!recovered.file.ok())
        return;
    applyEquationFile(recovered.file, doc);
    if (!recovered.hasTrailer)
        return;
    doc.showGrid = recovered.showGrid;
    doc.showScale = recovered.showScale;
    doc.parameters['j'] = recovered.j;
    doc.parameters['n'] = recovered.n;
    doc.parameters['s'] = recovered.theta;
}

} // namespace gq
