#include "platform/sjis.h"

namespace gq
{

namespace
{
constexpr unsigned char kLeadGreek = 0x83;
constexpr unsigned char kTrailPi = 0xCE;
constexpr unsigned char kTrailTheta = 0xC6;
constexpr char16_t kPi = 0x03C0;
constexpr char16_t kTheta = 0x03B8;
constexpr char16_t kReplacement = 0xFFFD;

bool isLeadByte(unsigned char b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
} // namespace

QString sjisToQString(const std::string &bytes)
{
    QString out;
    out.reserve(static_cast<qsizetype>(bytes.size()));
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
            out.append(QChar(b));
        } else if (b >= 0xA1 && b <= 0xDF) {
            out.append(QChar(char16_t(0xFF61 + (b - 0xA1))));
        } else if (isLeadByte(b) && i + 1 < bytes.size()) {
            const auto t = static_cast<unsigned char>(bytes[++i]);
            if (b == kLeadGreek && t == kTrailPi)
                out.append(QChar(kPi));
            else if (b == kLeadGreek && t == kTrailTheta)
                out.append(QChar(kTheta));
            else
                out.append(QChar(kReplacement));
        } else {
            out.append(QChar(kReplacement)); // 0x80, 0xA0, 0xFD..0xFF, or a lead byte at the end
        }
    }
    return out;
}

std::string qStringToSjis(const QString &text)
{
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        if (u < 0x80) {
            out.push_back(static_cast<char>(u));
        } else if (u == kPi) {
            out.push_back(static_cast<char>(kLeadGreek));
            out.push_back(static_cast<char>(kTrailPi));
        } else if (u == kTheta) {
            out.push_back(static_cast<char>(kLeadGreek));
            out.push_back(static_cast<char>(kTrailTheta));
        } else {
            // One "?" per character: a surrogate pair is one character.
            if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
                ++i;
            out.push_back('?');
        }
    }
    return out;
}

} // namespace gq
