#include "health/ui/CPicturScrollView.h"
#include "health/HealthTr.h"

#include "health/ChartGeometry.h"

#include <QPainter>

#include <algorithm>

namespace {

QColor colourOf(ChartGeometry::Pen pen)
{
    switch (pen) {
    case ChartGeometry::Pen::Child:
        return QColor(255, 0, 0);
    case ChartGeometry::Pen::Maximum:
        return QColor(0, 0, 255);
    case ChartGeometry::Pen::Minimum:
        return QColor(249, 246, 0);
    case ChartGeometry::Pen::BrightMinimum:
        return QColor(255, 255, 0);
    case ChartGeometry::Pen::Axis:
        break;
    }
    return Qt::black;
}

} // namespace

CPicturScrollView::CPicturScrollView(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("chartView"));
    setAccessibleName(HealthTr::tr("生长曲线"));
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setMinimumSize(600, 420);
}

QTransform CPicturScrollView::chartTransform() const
{
    const double scale = std::min(double(width()) / LayoutSize.width(), double(height()) / LayoutSize.height());
    QTransform transform;
    transform.translate((width() - LayoutSize.width() * scale) / 2, (height() - LayoutSize.height() * scale) / 2);
    transform.scale(scale, scale);
    return transform;
}

void CPicturScrollView::paint(QPainter& painter) const
{
    painter.setPen(Qt::black);
    painter.setBrush(QColor(192, 192, 192));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));

    painter.save();
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    painter.setTransform(chartTransform(), true);

    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setPixelSize(10);
    // Narrow glyphs, as the chart's 17-pixel year ticks need for labels such as "10.5".
    font.setStretch(QFont::SemiCondensed);
    font.setLetterSpacing(QFont::AbsoluteSpacing, -0.5);
    painter.setFont(font);
    const ChartGeometry::Picture picture = ChartGeometry::draw(m_data);
    for (const ChartGeometry::Line& line : picture.lines) {
        painter.setPen(QPen(colourOf(line.pen), 1));
        painter.drawLine(line.from, line.to);
    }
    painter.setPen(Qt::black);
    const int ascent = painter.fontMetrics().ascent();
    for (const ChartGeometry::Text& text : picture.texts)
        painter.drawText(text.at + QPoint(0, ascent), text.text);
    painter.restore();
}

void CPicturScrollView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    paint(painter);
}
