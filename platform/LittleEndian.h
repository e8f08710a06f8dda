#pragma once
// Little-endian numbers in byte buffers, as the picture and cursor files keep
// them. Reads assume the caller has checked that the bytes are there.
#include <QByteArray>
#include <QtEndian>

#include <cstdint>

inline uint16_t ReadLe16(const QByteArray& data, qsizetype at) {
    return qFromLittleEndian<uint16_t>(data.constData() + at);
}

inline uint32_t ReadLe32(const QByteArray& data, qsizetype at) {
    return qFromLittleEndian<uint32_t>(data.constData() + at);
}

inline void AppendLe16(QByteArray& out, uint16_t v) {
    out.append(char(v & 0xFF));
    out.append(char(v >> 8));
}

inline void AppendLe32(QByteArray& out, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.append(char((v >> (8 * i)) & 0xFF));
}
