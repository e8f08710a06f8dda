// Properties of a component as a form keeps them: found by name, the others
// passed over, damaged data refused whole.
#include <gtest/gtest.h>

#include "platform/PropertyStream.h"

TEST(PropertyStream, PropertiesAreFoundByNameAndDamagedDataIsRefused) {
    TPropertyWriter w;
    w.DefineBinaryProperty(QStringLiteral("Data"), QByteArray("\0\1\2", 3));
    w.DefineBinaryProperty(QStringLiteral("Leer"), QByteArray());
    const QByteArray data = w.Data();
    EXPECT_EQ(data, QByteArray("\2\0\0\0\4Data\3\0\0\0\0\1\2\4Leer\0\0\0\0", 25));

    TPropertyReader r;
    ASSERT_TRUE(r.Parse(data));
    ASSERT_NE(r.Binary(QStringLiteral("Data")), nullptr);
    EXPECT_EQ(*r.Binary(QStringLiteral("Data")), QByteArray("\0\1\2", 3));
    ASSERT_NE(r.Binary(QStringLiteral("Leer")), nullptr);
    EXPECT_TRUE(r.Binary(QStringLiteral("Leer"))->isEmpty());
    EXPECT_EQ(r.Binary(QStringLiteral("data")), nullptr);

    QByteArray tooBig = data;
    tooBig[9] = '\x7F'; // the first size runs past the end
    QByteArray tooMany = data;
    tooMany[0] = '\3';
    for (const QByteArray& bad : {QByteArray("\1\0", 2), data.left(data.size() - 1), data + 'x', tooBig, tooMany}) {
        EXPECT_FALSE(r.Parse(bad)) << bad.toHex().toStdString();
        EXPECT_EQ(r.Binary(QStringLiteral("Data")), nullptr);
    }
    ASSERT_TRUE(r.Parse(QByteArray(4, '\0')));
    EXPECT_EQ(r.Binary(QStringLiteral("Data")), nullptr);
}
