#include "platform/PropertyStream.h"

#include "platform/LittleEndian.h"

void TPropertyWriter::DefineBinaryProperty(const QString& Name, const QByteArray& Bytes) {
    m_props.emplace_back(Name, Bytes);
}

QByteArray TPropertyWriter::Data() const {
    QByteArray out;
    AppendLe32(out, uint32_t(m_props.size()));
    for (const auto& [name, bytes] : m_props) {
        const QByteArray n = name.toLatin1().left(255);
        out.append(char(n.size()));
        out.append(n);
        AppendLe32(out, uint32_t(bytes.size()));
        out.append(bytes);
    }
    return out;
}

bool TPropertyReader::Parse(const QByteArray& Data) {
    m_props.clear();
    if (Data.size() < 4) return false;
    const uint32_t count = ReadLe32(Data, 0);
    std::vector<std::pair<QString, QByteArray>> read;
    qsizetype pos = 4;
    for (uint32_t i = 0; i < count; ++i) {
        if (Data.size() - pos < 1) return false;
        const qsizetype nameLength = uchar(Data[pos++]);
        if (Data.size() - pos < nameLength + 4) return false;
        QString name = QString::fromLatin1(Data.mid(pos, nameLength));
        pos += nameLength;
        const uint32_t size = ReadLe32(Data, pos);
        pos += 4;
        if (size > uint64_t(Data.size() - pos)) return false;
        read.emplace_back(std::move(name), Data.mid(pos, qsizetype(size)));
        pos += qsizetype(size);
    }
    if (pos != Data.size()) return false;
    m_props = std::move(read);
    return true;
}

const QByteArray* TPropertyReader::Binary(const QString& Name) const {
    for (const auto& [name, bytes] : m_props)
        if (name == Name) return &bytes;
    return nullptr;
}
