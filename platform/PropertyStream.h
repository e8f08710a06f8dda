#pragma once
// The stored properties of one component, as a form keeps them. There are no
// form files here; this is the program's own form of the data (integers
// little-endian):
//
//   properties := int32 count, count x property
//   property   := uint8 name length, name (Latin-1), int32 size, size raw bytes
//
// A reader finds properties by name and passes over those it does not ask for.
#include <QByteArray>
#include <QString>

#include <utility>
#include <vector>

class TPropertyWriter {
public:
    // A property held as raw bytes (the component writes and reads them itself).
    void DefineBinaryProperty(const QString& Name, const QByteArray& Bytes);
    int Count() const { return int(m_props.size()); }
    QByteArray Data() const;

private:
    std::vector<std::pair<QString, QByteArray>> m_props;
};

class TPropertyReader {
public:
    // False for data that ends early, holds more than it should or names
    // properties longer than a name can be; nothing is kept then.
    bool Parse(const QByteArray& Data);
    // The bytes of the property, nullptr when the data does not hold it.
    const QByteArray* Binary(const QString& Name) const;

private:
    std::vector<std::pair<QString, QByteArray>> m_props;
};
