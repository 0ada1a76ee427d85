// Showing a 24-megapixel photograph fitted into an 800 × 600 picture frame, against the image
// reader decoding the same file straight at the frame's size; and opening it at natural size
// for the viewer, against a plain full decode.
#include "bench/BenchSupport.h"
#include "media/ui/CPicture.h"
#include "media/ui/PictureFrame.h"

#include <QApplication>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QTemporaryDir>

#include <cstdint>

namespace {

// A photograph-like picture: smooth colour gradients with fine noise, so the JPEG carries as
// much detail as a camera's would.
QImage photograph(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    std::uint32_t seed = 12345;
    for (int y = 0; y < size.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            seed = seed * 1664525u + 1013904223u;
            const int noise = int(seed >> 28) - 8;
            line[x] = qRgb(std::clamp(x * 255 / size.width() + noise, 0, 255),
                           std::clamp(y * 255 / size.height() + noise, 0, 255),
                           std::clamp(128 + ((x / 40 + y / 40) % 2) * 60 + noise, 0, 255));
        }
    }
    return image;
}

} // namespace

int main(int argc, char* argv[])
{
    offscreenUnlessAsked();
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("photo.jpg"));
    QImageWriter writer(path, "jpeg");
    writer.setQuality(90);
    if (!writer.write(photograph(QSize(6000, 4000)))) {
        QTextStream(stdout) << "cannot write the test photograph: " << writer.errorString() << '\n';
        return 1;
    }

    PictureFrame frame;
    frame.resize(800, 600);
    QImage shown(frame.size(), QImage::Format_RGB32);
    QImage baselineImage;
    const Figure frameFigure = compareWork(
        QStringLiteral("picture_frame"), QStringLiteral("Show a 6000 x 4000 JPEG in an 800 x 600 frame"), 7, 1.5,
        [&] {
            frame.showFile(path);
            frame.render(&shown);
        },
        [&] {
            QImageReader reader(path);
            reader.setScaledSize(QSize(800, 533));
            baselineImage = reader.read();
        });
    if (frame.picture().image().size() != baselineImage.size())
        QTextStream(stdout) << "sizes differ: " << frame.picture().image().width() << " against "
                            << baselineImage.width() << '\n';
    report(frameFigure);

    CPicture picture;
    const Figure natural = compareWork(
        QStringLiteral("picture_natural"), QStringLiteral("Load a 6000 x 4000 JPEG at natural size for the viewer"), 5,
        1.5, [&] { picture.load(path); }, [&] { baselineImage = QImageReader(path).read(); });
    report(natural);
    QTextStream(stdout) << "(decoding at full size and scaling down for the frame would take "
                        << QString::number(natural.baseline.median() / frameFigure.baseline.median(), 'f', 1)
                        << " times the frame's time)\n";
    return 0;
}
