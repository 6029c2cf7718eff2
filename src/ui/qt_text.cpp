#include "qt_text.h"

#include "core/windows1252.h"
#include "platform/system_files.h"

namespace velora {

QString toQt(const std::string& cp1252) {
    return QString::fromStdString(windows1252::toUtf8(cp1252));
}

std::string fromQt(const QString& text) {
    return windows1252::fromUtf8(text.toStdString());
}

namespace {

constexpr char16_t kEscapedBytes = 0xDC00;

// The length of the well-formed UTF-8 sequence at `at` (1 for ASCII), 0 when there is none.
std::size_t utf8Length(const std::string& text, std::size_t at) {
    if (static_cast<unsigned char>(text[at]) < 0x80) return 1;
    char32_t character = 0;
    const std::size_t length = windows1252::multiByteAt(text, at, character);
    // A surrogate is no character of its own: its bytes are escaped like any stray byte.
    return character >= 0xD800 && character <= 0xDFFF ? 0 : length;
}

}  // namespace

QString pathToQt(const std::string& systemPath) {
    QString path;
    for (std::size_t at = 0; at < systemPath.size();) {
        const std::size_t length = utf8Length(systemPath, at);
        if (length == 0) {
            path += QChar(char16_t(kEscapedBytes + static_cast<unsigned char>(systemPath[at])));
            ++at;
        } else {
            path += QString::fromUtf8(systemPath.data() + at, static_cast<qsizetype>(length));
            at += length;
        }
    }
    return path;
}

std::string pathFromQt(const QString& path) {
    QByteArray bytes;
    QString run;  // the characters since the last escaped byte
    for (qsizetype at = 0; at < path.size(); ++at) {
        const char16_t unit = path[at].unicode();
        const bool pairedLow = at > 0 && path[at - 1].isHighSurrogate();
        if (unit < kEscapedBytes + 0x80 || unit > kEscapedBytes + 0xFF || pairedLow) {
            run += path[at];
            continue;
        }
        bytes += run.toUtf8();
        run.clear();
        bytes += static_cast<char>(unit - kEscapedBytes);
    }
    bytes += run.toUtf8();
    return bytes.toStdString();
}

std::string pathFromDialog(const QString& path) {
    if (!path.contains(QChar::ReplacementCharacter)) return pathFromQt(path);
    // Each part of the name that Qt could not decode is looked up among its folder's names.
    std::string found;
    bool first = true;
    for (const QString& part : path.split(QLatin1Char('/'))) {
        std::string name = pathFromQt(part);
        if (part.contains(QChar::ReplacementCharacter)) {
            const std::string folder = first ? std::string(".") : found.empty() ? "/" : found;
            for (const std::string& candidate : folderNames(folder)) {
                if (QString::fromUtf8(candidate.data(), qsizetype(candidate.size())) == part) {
                    name = candidate;
                    break;
                }
            }
        }
        if (!first) found.push_back('/');
        first = false;
        found.append(name);
    }
    return found;
}

}  // namespace velora
