#include "richtext/edit/RPClipHTML.h"

#include <cctype>
#include <cstdint>

#include <QString>
#include <QUrl>

namespace {

// A non-negative decimal number, or -1.
long long ParseOffset(const std::string& s) {
    if (s.empty() || s.size() > 18) return -1;
    long long v = 0;
    for (char c : s) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return -1;
        v = v * 10 + (c - '0');
    }
    return v;
}

} // namespace

bool ParseClipboardHTML(const std::string& Block, TRPClipboardHTML& Out) {
    Out = TRPClipboardHTML{};
    long long startHTML = -1, endHTML = -1, startFrag = -1, endFrag = -1;
    size_t pos = 0;
    // Header lines until the first that is not "Name:value".
    while (pos < Block.size() && Block[pos] != '<') {
        size_t eol = Block.find_first_of("\r\n", pos);
        if (eol == std::string::npos) eol = Block.size();
        const std::string line = Block.substr(pos, eol - pos);
        const size_t colon = line.find(':');
        if (colon == std::string::npos || colon == 0) break;
        const std::string name = line.substr(0, colon), value = line.substr(colon + 1);
        if (name == "StartHTML") startHTML = ParseOffset(value);
        else if (name == "EndHTML") endHTML = ParseOffset(value);
        else if (name == "StartFragment") startFrag = ParseOffset(value);
        else if (name == "EndFragment") endFrag = ParseOffset(value);
        else if (name == "SourceURL") Out.SourceURL = value;
        pos = eol;
        while (pos < Block.size() && (Block[pos] == '\r' || Block[pos] == '\n'))
            ++pos;
    }
    const long long size = static_cast<long long>(Block.size());
    const auto valid = [size](long long a, long long b) { return a >= 0 && b >= a && b <= size; };
    if (valid(startFrag, endFrag) && endFrag > startFrag) {
        Out.Fragment = Block.substr(static_cast<size_t>(startFrag), static_cast<size_t>(endFrag - startFrag));
    } else if (valid(startHTML, endHTML) && endHTML > startHTML) {
        Out.Fragment = Block.substr(static_cast<size_t>(startHTML), static_cast<size_t>(endHTML - startHTML));
    } else {
        Out.Fragment = Block.substr(std::min(pos, Block.size()));
    }
    // A fragment cut inside a multi-byte character or holding zeros is still text; cut at the first zero.
    const size_t zero = Out.Fragment.find('\0');
    if (zero != std::string::npos) Out.Fragment.resize(zero);
    return !Out.Fragment.empty();
}

std::string ClipboardBasePath(const std::string& SourceURL) {
    QString url = QString::fromUtf8(SourceURL.data(), static_cast<qsizetype>(SourceURL.size())).trimmed();
    if (const qsizetype zero = url.indexOf(QChar(0)); zero >= 0) url.truncate(zero);
    if (url.isEmpty()) return std::string();
    QString path;
    QString prefix;
    if (url.startsWith(QLatin1String("file://"), Qt::CaseInsensitive)) {
        path = QUrl(url).toLocalFile();
        if (path.isEmpty()) path = url.mid(7);
    } else if (url.startsWith(QLatin1String("http://"), Qt::CaseInsensitive) ||
               url.startsWith(QLatin1String("https://"), Qt::CaseInsensitive)) {
        const qsizetype scheme = url.indexOf(QLatin1String("://")) + 3;
        prefix = url.left(scheme);
        path = url.mid(scheme);
        if (!path.contains(QLatin1Char('/'))) path += QLatin1Char('/');
    } else {
        path = url;
    }
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    if (slash < 0) return std::string();
    return (prefix + path.left(slash + 1)).toStdString();
}
