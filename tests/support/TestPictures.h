#pragma once

#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QString>

// Pictures the tests write for themselves: one colour, a given size, any format Qt writes, under
// any file name (the content decides, not the name).
namespace TestPictures {

inline QString write(const QDir& dir, const QString& name, QSize size, const QColor& colour,
                     const QByteArray& format = "png")
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    const QString path = dir.filePath(name);
    QImageWriter writer(path, format);
    writer.write(image);
    return path;
}

inline QString writeBytes(const QDir& dir, const QString& name, const QByteArray& bytes)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
    return path;
}

// A red 1 × 1 GIF, byte by byte (Qt reads GIF but does not write it).
inline QByteArray redGif()
{
    return QByteArray::fromHex("474946383761" // GIF87a
                               "01000100800000"
                               "ff0000000000" // two colours: red, black
                               "2c000000000100010000"
                               "020244010000" // LZW: clear, colour 0, end
                               "3b");
}

} // namespace TestPictures
