#pragma once
// Text output of the writers (RPF, RTF, HTML, plain text): a stream is a byte
// string that grows at its end. Bytes are written as they are, or followed by
// CR LF.
#include <string>
#include <string_view>

inline void RPWrite(std::string& Stream, std::string_view s) {
    Stream.append(s);
}

inline void RPWriteLn(std::string& Stream, std::string_view s) {
    Stream.append(s);
    Stream.append("\r\n", 2);
}

inline void RPWriteX(std::string& Stream, std::string_view s, bool Multiline) {
    Stream.append(s);
    if (Multiline) Stream.append("\r\n", 2);
}
