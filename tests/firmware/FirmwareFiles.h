#pragma once
// Firmware container files made by hand from the documented layout: "QX", the index text up
// to "@", two separator bytes, then each 65536-byte image followed by two separator bytes.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QTemporaryDir>
#include <QFile>

namespace dunmere::test {

// Image k: a byte pattern of its own with the firmware text it starts as at offset 1000.
inline QByteArray firmwareImage(int k, const QByteArray& firmwareText)
{
    QByteArray image(65536, '\0');
    for (int j = 0; j < image.size(); ++j)
        image[j] = char((k * 37 + j * 7) & 0x7F);
    image.replace(1000, firmwareText.size(), firmwareText);
    return image;
}

inline QByteArray firmwareContainer(const QByteArray& index, const QList<QByteArray>& images)
{
    QByteArray file = "QX" + index + "\r\n";
    for (const QByteArray& image : images)
        file += image + "\r\n";
    return file;
}

// Three images: QX0077, QX0089 (image 2) and the Brix edition's QX0070.
inline const QByteArray ThreeImageIndex = "=QX0077 standard#01=QX0089 rev B#02=QX0070 brix#03@";

inline QList<QByteArray> threeImages()
{
    return {firmwareImage(1, "QX0077 v2.11"), firmwareImage(2, "QX0089 v1.13"), firmwareImage(3, "QX0070 v1.02")};
}

// Writes bytes to a file in the directory and returns its path.
inline QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write(bytes);
    return path;
}

}  // namespace dunmere::test
