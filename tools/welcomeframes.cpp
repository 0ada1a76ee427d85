// Draws the frames of Reelbox's welcome animation and writes them, uncompressed (32 bits per
// pixel, blue-green-red-unused), to standard output; scripts/make-welcome-animation.sh encodes
// them into a video file. Arguments: width, height, frame count, frames per second.
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

struct Scene
{
    int width;
    int height;
    int frames;
    int rate;
};

// 0 before from, 1 after from + length, smoothly between.
double ease(double t, double from, double length)
{
    const double x = std::clamp((t - from) / length, 0.0, 1.0);
    return x * x * (3 - 2 * x);
}

void cloud(QPainter& p, QPointF at, double scale)
{
    p.setBrush(Qt::white);
    p.drawEllipse(at + QPointF(0, -4) * scale, 16 * scale, 12 * scale);
    p.drawEllipse(at + QPointF(-16, 3) * scale, 14 * scale, 9 * scale);
    p.drawEllipse(at + QPointF(17, 3) * scale, 15 * scale, 9 * scale);
    p.drawRoundedRect(QRectF(at.x() - 28 * scale, at.y(), 58 * scale, 12 * scale), 6 * scale, 6 * scale);
}

void drawFrame(QPainter& p, const Scene& s, int frame)
{
    const double t = double(frame) / s.rate; // seconds
    const double w = s.width;
    const double h = s.height;
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);

    QLinearGradient sky(0, 0, 0, h);
    sky.setColorAt(0, QColor(0x7e, 0xc8, 0xf2));
    sky.setColorAt(1, QColor(0xe6, 0xf6, 0xff));
    p.fillRect(QRectF(0, 0, w, h), sky);

    // The sun rises and its rays turn.
    const QPointF sun(w * 0.82, h * (0.34 - 0.12 * ease(t, 0, 2)));
    p.save();
    p.translate(sun);
    p.rotate(t * 40);
    p.setBrush(QColor(0xff, 0xd2, 0x3f));
    for (int i = 0; i < 10; ++i) {
        p.rotate(36);
        p.drawRoundedRect(QRectF(h * 0.09, -3, h * 0.06, 6), 3, 3);
    }
    p.restore();
    p.setBrush(QColor(0xff, 0xc1, 0x07));
    p.drawEllipse(sun, h * 0.07, h * 0.07);

    cloud(p, QPointF(std::fmod(40 + t * 18, w + 80) - 40, h * 0.16), h / 240);
    cloud(p, QPointF(std::fmod(w * 0.55 + t * 10, w + 80) - 40, h * 0.30), h / 300);

    // Two hills.
    p.setBrush(QColor(0x8b, 0xc3, 0x4a));
    p.drawEllipse(QPointF(w * 0.2, h * 1.05), w * 0.55, h * 0.32);
    p.setBrush(QColor(0x68, 0xa8, 0x3a));
    p.drawEllipse(QPointF(w * 0.85, h * 1.1), w * 0.5, h * 0.3);

    // A ball bounces across the hills.
    const double x = w * (0.08 + 0.84 * std::fmod(t / 4.0, 1.0));
    const double ground = h * 0.86;
    const double bounce = std::abs(std::sin(t * M_PI * 1.5));
    const double r = h * 0.055;
    const QPointF ball(x, ground - r - bounce * h * 0.33);
    p.setBrush(QColor(0, 0, 0, 40));
    p.drawEllipse(QPointF(x, ground), r * (1.2 - 0.5 * bounce), r * 0.25);
    p.save();
    p.translate(ball);
    p.rotate(t * 200);
    p.setBrush(QColor(0xe5, 0x39, 0x35));
    p.drawPie(QRectF(-r, -r, 2 * r, 2 * r), 0, 180 * 16);
    p.setBrush(QColor(0x1e, 0x88, 0xe5));
    p.drawPie(QRectF(-r, -r, 2 * r, 2 * r), 180 * 16, 180 * 16);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(0, 0), r * 0.3, r * 0.3);
    p.restore();

    // The greeting fades in, then the program's name under it.
    QFont title(QStringLiteral("Noto Sans CJK SC"));
    title.setPixelSize(int(h * 0.13));
    title.setBold(true);
    QFont line(title);
    line.setPixelSize(int(h * 0.07));
    line.setBold(false);
    const auto text = [&](const QFont& font, const QString& words, double top, double alpha) {
        if (alpha <= 0)
            return;
        p.setFont(font);
        const QRectF box(0, top, w, font.pixelSize() * 1.5);
        p.setPen(QColor(255, 255, 255, int(200 * alpha)));
        p.drawText(box.translated(1.5, 1.5), Qt::AlignCenter, words);
        p.setPen(QColor(0x3e, 0x27, 0x23, int(255 * alpha)));
        p.drawText(box, Qt::AlignCenter, words);
        p.setPen(Qt::NoPen);
    };
    text(title, QStringLiteral("欢迎使用"), h * 0.36, ease(t, 0.4, 0.8));
    text(line, QStringLiteral("儿童成长媒体文件管理"), h * 0.56, ease(t, 1.4, 0.8));
}

} // namespace

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 5) {
        qWarning("usage: kestrin-welcome-frames WIDTH HEIGHT FRAMES RATE");
        return 2;
    }
    const Scene scene{std::atoi(argv[1]), std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4])};
    if (scene.width <= 0 || scene.height <= 0 || scene.frames <= 0 || scene.rate <= 0) {
        qWarning("kestrin-welcome-frames: sizes and counts must be positive");
        return 2;
    }
    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly))
        return 1;
    QImage image(scene.width, scene.height, QImage::Format_RGB32);
    for (int frame = 0; frame < scene.frames; ++frame) {
        image.fill(Qt::white);
        QPainter painter(&image);
        drawFrame(painter, scene, frame);
        painter.end();
        for (int y = 0; y < scene.height; ++y) {
            const auto* row = reinterpret_cast<const char*>(image.constScanLine(y));
            if (out.write(row, qint64(scene.width) * 4) != qint64(scene.width) * 4)
                return 1;
        }
    }
    return out.flush() ? 0 : 1;
}
