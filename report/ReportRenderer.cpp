#include "report/ReportRenderer.h"

#include "health/Measurements.h"
#include "report/ReportFonts.h"
#include "report/ReportTr.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace {

// Page geometry, in tenths of a point.
constexpr double Left = 500;
constexpr double Right = ReportRenderer::PageWidth - 500;
constexpr double BodyWidth = Right - Left;
constexpr double HeaderBaseline = 380;
constexpr double HeaderRule = 450;
constexpr double BodyTop = 620;
constexpr double BottomMargin = 550;
constexpr double CellPadX = 30;
constexpr double CellPadY = 22;

const QColor Ink(0x20, 0x20, 0x20);
const QColor Muted(0x55, 0x5b, 0x62);
const QColor Rule(0xa8, 0xb0, 0xb8);
const QColor HeaderFill(0xe6, 0xec, 0xf2);
const QColor BandFill(0xd3, 0xeb, 0xd3);
const QColor BandEdge(0x3a, 0x7b, 0xd5);
const QColor ChildInk(0xd0, 0x10, 0x1b);
const QColor Grid(0xe2, 0xe2, 0xe2);

QString valueText(double value)
{
    return value > 0 ? Measurements::cutToOneDecimal(value) : QString();
}

// Every text the report prints goes into one string, to choose a typeface that reads all of it back.
QString allText(const HealthReport& r)
{
    QString text = r.child + r.sex +
                   ReportTr::tr("儿童健康报告姓名性别报告日期记录期间全部至以前以后第页共概况生长曲线测量记录预防接种病"
                                "历身高体重年龄月岁厘米公斤"
                                "心率血压饮食睡眠评估疫苗剂次备注症状诊断处方参考范围上限下限孩子的测量值最近一次时没有"
                                "本期间无法绘制条未记录"
                                "偏低正常偏高，、：（）—0123456789.-");
    for (const ReportMeasurement& m : r.measurements)
        text += m.age + m.bloodPressure + m.diet + m.sleep;
    for (const ReportImmunisation& i : r.immunisations)
        text += i.vaccine + i.dose + i.notes;
    for (const ReportMedicalRecord& m : r.medicalRecords)
        text += m.category + m.title + m.symptoms + m.diagnosis + m.treatment;
    return text;
}

QString sexText(const QString& sex)
{
    return sex.isEmpty() ? ReportTr::tr("未记录") : sex;
}

} // namespace

ReportRenderer::ReportRenderer(const HealthReport& report) : m_report(report)
{
    m_family = ReportFonts::familyFor(allText(report));
    m_body = ReportFonts::font(m_family, 95);
    m_bold = ReportFonts::font(m_family, 95, true);
    m_small = ReportFonts::font(m_family, 78);
    m_heading = ReportFonts::font(m_family, 135, true);
    m_title = ReportFonts::font(m_family, 190, true);
    layout();
}

ReportRenderer::~ReportRenderer() = default;

double ReportRenderer::bodyBottom() const
{
    return PageHeight - BottomMargin;
}

double ReportRenderer::lineHeight(const QFont& font) const
{
    return std::ceil(font.pixelSize() * 1.45);
}

void ReportRenderer::newPage()
{
    m_pages.append(Page{});
    m_y = BodyTop;
}

void ReportRenderer::ensure(double height)
{
    if (m_y + height > bodyBottom() && m_y > BodyTop)
        newPage();
}

QStringList ReportRenderer::wrap(const QString& text, const QFont& font, double width) const
{
    QStringList lines;
    QString normalised = text;
    normalised.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    for (const QString& paragraph : normalised.split(QLatin1Char('\n'))) {
        if (paragraph.isEmpty()) {
            lines << QString();
            continue;
        }
        QTextLayout layout(paragraph, font);
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            lines << paragraph.mid(line.textStart(), line.textLength());
        }
        layout.endLayout();
    }
    while (lines.size() > 1 && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

void ReportRenderer::addText(const QFont& font, double x, double baseline, const QString& text, const QColor& color)
{
    const QString shown = text.trimmed().isEmpty() ? QString() : text;
    if (shown.isEmpty())
        return;
    m_pages.last().ops.append([font, x, baseline, shown, color](QPainter& p) {
        p.setFont(font);
        p.setPen(color);
        p.drawText(QPointF(x, baseline), shown);
    });
}

void ReportRenderer::layout()
{
    newPage();
    title();
    if (m_report.sections & ReportSection::Summary)
        summary();
    if (m_report.sections & ReportSection::Charts)
        chartsSection();
    if (m_report.sections & ReportSection::Measurements)
        measurements();
    if (m_report.sections & ReportSection::Immunisations)
        immunisations();
    if (m_report.sections & ReportSection::MedicalRecords)
        medicalRecords();
}

void ReportRenderer::title()
{
    m_y += lineHeight(m_title) * 0.8;
    addText(m_title, Left, m_y, ReportTr::tr("儿童健康报告"), Ink);
    m_y += lineHeight(m_title) * 0.6;
    const QString facts = ReportTr::tr("姓名：%1　　性别：%2　　记录期间：%3　　报告日期：%4")
                              .arg(m_report.child, sexText(m_report.sex), m_report.periodText(),
                                   m_report.reportDate.toString(QStringLiteral("yyyy-MM-dd")));
    paragraph(facts, m_body);
}

void ReportRenderer::heading(const QString& text)
{
    const double lh = lineHeight(m_heading);
    // A heading never stands alone at the foot of a page.
    ensure(lh * 1.6 + lineHeight(m_body) * 4);
    m_y += lh * 0.9;
    addText(m_heading, Left, m_y, text, Ink);
    const double ruleY = m_y + lh * 0.25;
    m_pages.last().ops.append([ruleY](QPainter& p) {
        p.setPen(QPen(Rule, 6));
        p.drawLine(QPointF(Left, ruleY), QPointF(Right, ruleY));
    });
    m_y += lh * 0.7;
}

void ReportRenderer::paragraph(const QString& text, const QFont& font, double indent)
{
    const double lh = lineHeight(font);
    for (const QString& line : wrap(text, font, BodyWidth - indent)) {
        ensure(lh);
        m_y += lh;
        addText(font, Left + indent, m_y - lh * 0.27, line, Ink);
    }
}

void ReportRenderer::table(const QList<Column>& columns, const QList<QStringList>& rows)
{
    const double lh = lineHeight(m_body);
    const double baselineInLine = lh * 0.73;

    auto rowFrame = [this, columns](double top, double height, bool header) {
        m_pages.last().ops.append([columns, top, height, header](QPainter& p) {
            double x = Left;
            if (header)
                p.fillRect(QRectF(Left, top, BodyWidth, height), HeaderFill);
            p.setPen(QPen(Rule, 5));
            p.setBrush(Qt::NoBrush);
            for (const Column& c : columns) {
                p.drawRect(QRectF(x, top, c.width, height));
                x += c.width;
            }
        });
    };
    auto header = [&] {
        ensure(lh * 2 + CellPadY * 4);
        rowFrame(m_y, lh + 2 * CellPadY, true);
        double x = Left;
        for (const Column& c : columns) {
            addText(m_bold, x + CellPadX, m_y + CellPadY + baselineInLine, c.title, Ink);
            x += c.width;
        }
        m_y += lh + 2 * CellPadY;
    };

    header();
    const double pageRoom = bodyBottom() - BodyTop - lh - 4 * CellPadY;
    for (const QStringList& row : rows) {
        QList<QStringList> cells;
        qsizetype lines = 1;
        for (qsizetype i = 0; i < columns.size(); ++i) {
            cells << wrap(row.value(i), m_body, columns.at(i).width - 2 * CellPadX);
            lines = std::max(lines, cells.last().size());
        }
        // A row that fits on a page is kept whole; a longer one runs on over the pages.
        if (m_y + lines * lh + 2 * CellPadY > bodyBottom() && lines * lh <= pageRoom) {
            newPage();
            header();
        }
        qsizetype done = 0;
        while (done < lines) {
            const auto fit = qsizetype(std::floor((bodyBottom() - m_y - 2 * CellPadY) / lh));
            if (fit < std::min<qsizetype>(3, lines - done)) {
                newPage();
                header();
                continue;
            }
            const qsizetype take = std::min(fit, lines - done);
            const double height = take * lh + 2 * CellPadY;
            rowFrame(m_y, height, false);
            double x = Left;
            for (qsizetype i = 0; i < columns.size(); ++i) {
                const QStringList& cell = cells.at(i);
                for (qsizetype l = done; l < std::min(done + take, cell.size()); ++l)
                    addText(m_body, x + CellPadX, m_y + CellPadY + (l - done) * lh + baselineInLine, cell.at(l), Ink);
                x += columns.at(i).width;
            }
            m_y += height;
            done += take;
        }
    }
    m_y += lh * 0.5;
}

void ReportRenderer::summary()
{
    heading(ReportTr::tr("概况"));
    auto latest = [this](const LatestValue& v, const QString& quantity, const QString& unit) {
        if (!v.known)
            return ReportTr::tr("本期间没有%1的测量。").arg(quantity);
        return ReportTr::tr("最近一次%1：%2 %3，%4时（%5 测量），评估：%6")
            .arg(quantity, valueText(v.value), unit, v.age, HealthReports::dateText(v.date),
                 GrowthAssessment::verdictText(v.verdict));
    };
    paragraph(latest(m_report.latestHeight, ReportTr::tr("身高"), ReportTr::tr("厘米")), m_body);
    paragraph(latest(m_report.latestWeight, ReportTr::tr("体重"), ReportTr::tr("公斤")), m_body);
    paragraph(ReportTr::tr("本期间共有测量记录 %1 条、预防接种记录 %2 条、病历记录 %3 条。")
                  .arg(m_report.measurements.size())
                  .arg(m_report.immunisations.size())
                  .arg(m_report.medicalRecords.size()),
              m_body);
    paragraph(ReportTr::tr("评估与“对比分析”的图表使用同一套中国儿童生长参考值：低于同龄参考范围为“偏低”，"
                           "高于为“偏高”，在范围内为“正常”。"),
              m_small);
}

void ReportRenderer::chartsSection()
{
    heading(ReportTr::tr("生长曲线"));
    if (m_report.heightSeries.child.isEmpty() && m_report.weightSeries.child.isEmpty()) {
        paragraph(ReportTr::tr("本期间没有身高和体重的测量，无法绘制生长曲线。"), m_body);
        return;
    }
    // Two charts fill one page, one in each half.
    const double half = std::floor((bodyBottom() - BodyTop) / 2) - 60;
    chart(ReportTr::tr("身高"), ReportTr::tr("身高"), ReportTr::tr("厘米"), m_report.heightSeries, half);
    chart(ReportTr::tr("体重"), ReportTr::tr("体重"), ReportTr::tr("公斤"), m_report.weightSeries, half);
}

void ReportRenderer::chart(const QString& caption, const QString& quantity, const QString& unit,
                           const GrowthSeries& series, double height)
{
    if (series.child.isEmpty()) {
        paragraph(ReportTr::tr("本期间没有%1的测量，无法绘制%1曲线。").arg(caption), m_body);
        return;
    }
    ensure(height);
    const double top = m_y + 60;
    addText(m_bold, Left, top + 110, ReportTr::tr("%1曲线（年龄别%1）").arg(caption), Ink);

    // The legend, on the line below the caption.
    const double legendY = top + 260;
    const QFontMetricsF metrics(m_small);
    double x = Left;
    const QString bandText = ReportTr::tr("参考范围（下限至上限）");
    const QString edgeText = ReportTr::tr("参考上限、下限");
    const QString childText = ReportTr::tr("孩子的测量值");
    const double bandX = x;
    x += 180 + 40;
    addText(m_small, x, legendY, bandText, Muted);
    x += metrics.horizontalAdvance(bandText) + 160;
    const double edgeX = x;
    x += 220 + 40;
    addText(m_small, x, legendY, edgeText, Muted);
    x += metrics.horizontalAdvance(edgeText) + 160;
    const double childX = x;
    x += 220 + 40;
    addText(m_small, x, legendY, childText, Muted);
    m_pages.last().ops.append([bandX, edgeX, childX, legendY](QPainter& p) {
        const double mid = legendY - 28;
        p.fillRect(QRectF(bandX, mid - 50, 180, 100), BandFill);
        p.setPen(QPen(BandEdge, 8));
        p.drawLine(QPointF(edgeX, mid), QPointF(edgeX + 220, mid));
        p.setPen(QPen(ChildInk, 12));
        p.drawLine(QPointF(childX, mid), QPointF(childX + 220, mid));
        p.setBrush(ChildInk);
        p.setPen(Qt::NoPen);
        p.drawEllipse(QPointF(childX + 110, mid), 26, 26);
    });

    const QRectF plot(Left + 620, top + 520, BodyWidth - 620 - 150, height - 520 - 520);
    m_charts.append({int(m_pages.size() - 1), ReportChart::fit(series, plot), &series, quantity, unit});
    const PlacedChart placed = m_charts.last();
    m_pages.last().ops.append([this, placed](QPainter& p) { paintChart(p, placed); });
    m_y += height;
}

void ReportRenderer::paintChart(QPainter& p, const PlacedChart& chart) const
{
    const ReportChart::Frame& f = chart.frame;
    const QRectF& plot = f.plot;
    const QFontMetricsF metrics(m_small);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);

    p.setPen(QPen(Grid, 4));
    for (const double v : f.y.ticks())
        p.drawLine(f.map(f.x.min, v), f.map(f.x.max, v));
    for (const double a : f.x.ticks())
        p.drawLine(f.map(a, f.y.min), f.map(a, f.y.max));

    p.save();
    p.setClipRect(plot);
    p.setPen(Qt::NoPen);
    p.setBrush(BandFill);
    p.drawPolygon(ReportChart::band(f, chart.series->reference));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(BandEdge, 8));
    p.drawPolyline(ReportChart::edge(f, chart.series->reference, true));
    p.drawPolyline(ReportChart::edge(f, chart.series->reference, false));
    p.restore();

    p.setPen(QPen(Ink, 8));
    p.drawLine(plot.bottomLeft(), plot.topLeft());
    p.drawLine(plot.bottomLeft(), plot.bottomRight());

    p.setFont(m_small);
    p.setPen(Ink);
    for (const double v : f.y.ticks()) {
        const QString label = QString::number(v, 'g', 5);
        const QPointF at = f.map(f.x.min, v);
        p.drawLine(at, at - QPointF(50, 0));
        p.drawText(QPointF(at.x() - 80 - metrics.horizontalAdvance(label), at.y() + 28), label);
    }
    for (const double a : f.x.ticks()) {
        const QString label = f.ageLabel(a);
        const QPointF at = f.map(a, f.y.min);
        p.drawLine(at, at + QPointF(0, 50));
        p.drawText(QPointF(at.x() - metrics.horizontalAdvance(label) / 2, at.y() + 150), label);
    }
    const QString xTitle = f.years ? ReportTr::tr("年龄（岁）") : ReportTr::tr("年龄（月）");
    p.drawText(QPointF(plot.center().x() - metrics.horizontalAdvance(xTitle) / 2, plot.bottom() + 300), xTitle);
    p.drawText(QPointF(plot.left() - 600, plot.top() - 110), ReportTr::tr("%1（%2）").arg(chart.quantity, chart.unit));

    QPolygonF line;
    for (const GrowthSeries::Point& point : chart.series->child)
        line << f.map(point.months, point.value);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(ChildInk, 12));
    p.drawPolyline(line);
    p.setPen(Qt::NoPen);
    p.setBrush(ChildInk);
    for (const QPointF& at : line)
        p.drawEllipse(at, 26, 26);

    // Each point is labelled with its value unless the label would run into the previous one.
    p.setPen(ChildInk);
    double freeFrom = -1e9;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QString label = valueText(chart.series->child.at(i).value);
        const double width = metrics.horizontalAdvance(label);
        const double left = line.at(i).x() - width / 2;
        if (left < freeFrom)
            continue;
        p.drawText(QPointF(left, line.at(i).y() - 60), label);
        freeFrom = left + width + 40;
    }
    p.restore();
}

void ReportRenderer::measurements()
{
    heading(ReportTr::tr("测量记录"));
    if (m_report.measurements.isEmpty()) {
        paragraph(ReportTr::tr("本期间没有测量记录。"), m_body);
        return;
    }
    QList<QStringList> rows;
    for (const ReportMeasurement& m : m_report.measurements)
        rows << QStringList{HealthReports::dateText(m.date),
                            m.age,
                            valueText(m.height),
                            valueText(m.weight),
                            m.heartRate > 0 ? QString::number(m.heartRate) : QString(),
                            m.bloodPressure,
                            m.diet,
                            m.sleep,
                            GrowthAssessment::assessmentText(m.heightVerdict, m.weightVerdict)};
    // The assessment column holds "身高正常，体重偏高" on one line.
    table({{ReportTr::tr("日期"), 660},
           {ReportTr::tr("年龄"), 420},
           {ReportTr::tr("身高(厘米)"), 505},
           {ReportTr::tr("体重(公斤)"), 505},
           {ReportTr::tr("心率"), 300},
           {ReportTr::tr("血压"), 620},
           {ReportTr::tr("饮食"), 500},
           {ReportTr::tr("睡眠"), 500},
           {ReportTr::tr("评估"), BodyWidth - 4010}},
          rows);
}

void ReportRenderer::immunisations()
{
    heading(ReportTr::tr("预防接种记录"));
    if (m_report.immunisations.isEmpty()) {
        paragraph(ReportTr::tr("本期间没有预防接种记录。"), m_body);
        return;
    }
    QList<QStringList> rows;
    for (const ReportImmunisation& i : m_report.immunisations)
        rows << QStringList{HealthReports::dateText(i.date), i.vaccine, i.dose, i.notes};
    table({{ReportTr::tr("日期"), 700},
           {ReportTr::tr("疫苗"), 1100},
           {ReportTr::tr("剂次"), 1100},
           {ReportTr::tr("备注"), BodyWidth - 2900}},
          rows);
}

void ReportRenderer::medicalRecords()
{
    heading(ReportTr::tr("病历记录"));
    if (m_report.medicalRecords.isEmpty()) {
        paragraph(ReportTr::tr("本期间没有病历记录。"), m_body);
        return;
    }
    const double lh = lineHeight(m_body);
    for (const ReportMedicalRecord& m : m_report.medicalRecords) {
        const QString head =
            m.category.isEmpty()
                ? ReportTr::tr("%1　%2").arg(HealthReports::dateText(m.date), m.title)
                : ReportTr::tr("%1　%2（%3）").arg(HealthReports::dateText(m.date), m.title, m.category);
        const QStringList headLines = wrap(head, m_bold, BodyWidth - 2 * CellPadX);
        ensure(lh * (headLines.size() + 3) + 2 * CellPadY);
        const double top = m_y;
        const double height = headLines.size() * lh + 2 * CellPadY;
        m_pages.last().ops.append(
            [top, height](QPainter& p) { p.fillRect(QRectF(Left, top, BodyWidth, height), HeaderFill); });
        for (qsizetype i = 0; i < headLines.size(); ++i)
            addText(m_bold, Left + CellPadX, top + CellPadY + i * lh + lh * 0.73, headLines.at(i), Ink);
        m_y += height;
        bool any = false;
        const QList<std::pair<QString, QString>> parts = {{ReportTr::tr("症状："), m.symptoms},
                                                          {ReportTr::tr("诊断："), m.diagnosis},
                                                          {ReportTr::tr("处方："), m.treatment}};
        for (const auto& [label, text] : parts) {
            if (text.trimmed().isEmpty())
                continue;
            any = true;
            paragraph(label + text, m_body, CellPadX);
        }
        if (!any)
            paragraph(ReportTr::tr("（没有填写症状、诊断和处方）"), m_body, CellPadX);
        m_y += lh * 0.6;
    }
}

void ReportRenderer::paintHeader(QPainter& p, int page) const
{
    const QString pageText = ReportTr::tr("第 %1 页，共 %2 页").arg(page + 1).arg(m_pages.size());
    const QFontMetricsF metrics(m_small);
    const double pageWidth = metrics.horizontalAdvance(pageText);
    const QString facts =
        ReportTr::tr("儿童健康报告　姓名：%1　性别：%2　报告日期：%3")
            .arg(m_report.child, sexText(m_report.sex), m_report.reportDate.toString(QStringLiteral("yyyy-MM-dd")));
    p.setFont(m_small);
    p.setPen(Muted);
    p.drawText(QPointF(Left, HeaderBaseline), metrics.elidedText(facts, Qt::ElideMiddle, BodyWidth - pageWidth - 200));
    p.drawText(QPointF(Right - pageWidth, HeaderBaseline), pageText);
    p.setPen(QPen(Rule, 5));
    p.drawLine(QPointF(Left, HeaderRule), QPointF(Right, HeaderRule));
}

Result ReportRenderer::paint(QPagedPaintDevice& device) const
{
    QPainter painter;
    if (!painter.begin(&device))
        return Result::failure(ReportTr::tr("无法开始输出报告。请检查打印机或目标文件后再试。"));
    // The layout is in tenths of a point; the device may have any resolution.
    const double scale = device.logicalDpiX() / 720.0;
    for (qsizetype i = 0; i < m_pages.size(); ++i) {
        if (i > 0 && !device.newPage()) {
            painter.end();
            return Result::failure(ReportTr::tr("输出报告的第 %1 页时出错。请检查打印机或目标文件后再试。").arg(i + 1));
        }
        painter.save();
        painter.scale(scale, scale);
        paintHeader(painter, int(i));
        for (const Op& op : m_pages.at(i).ops)
            op(painter);
        painter.restore();
    }
    if (!painter.end())
        return Result::failure(ReportTr::tr("报告没有输出完整。请检查打印机或目标文件后再试。"));
    return {};
}
