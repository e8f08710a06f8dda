#pragma once
// The picture groups of an RTF file found byte by byte, for tests that take
// pictures out of a file or look at them alone.
#include <QByteArray>

#include <algorithm>
#include <utility>
#include <vector>

// Start and end (one past the closing brace) of each "{\pict" group; the raw
// bytes of \bin are skipped as they stand.
inline std::vector<std::pair<qsizetype, qsizetype>> RtfPictureGroups(const QByteArray& Rtf) {
    std::vector<std::pair<qsizetype, qsizetype>> out;
    qsizetype at = 0;
    while ((at = Rtf.indexOf("{\\pict", at)) >= 0) {
        int depth = 0;
        qsizetype i = at;
        for (; i < Rtf.size(); ++i) {
            const char c = Rtf[i];
            if (c == '\\' && Rtf.mid(i + 1, 3) == "bin") {
                // Raw bytes follow the control word and its blank.
                qsizetype j = i + 4, n = 0;
                while (j < Rtf.size() && Rtf[j] >= '0' && Rtf[j] <= '9')
                    n = n * 10 + (Rtf[j++] - '0');
                i = j + (j < Rtf.size() && Rtf[j] == ' ' ? 1 : 0) + n - 1;
            } else if (c == '\\') {
                ++i;
            } else if (c == '{') {
                ++depth;
            } else if (c == '}' && --depth == 0) {
                break;
            }
        }
        out.emplace_back(at, std::min(i + 1, Rtf.size()));
        at = i + 1;
    }
    return out;
}
