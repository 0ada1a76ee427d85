#pragma once

#include "common/Result.h"
#include "report/HealthReport.h"
#include "report/ReportChart.h"

#include <QFont>
#include <QList>
#include <QString>

#include <functional>
#include <memory>

class QPagedPaintDevice;
class QPainter;

// Lays a report out on A4 pages and paints them with QPainter, onto a PDF writer or a printer
// alike. The layout is made once, in tenths of a point, so the page count is known before the
// first page is painted and every header can say "第 N 页，共 M 页".
class ReportRenderer
{
public:
    // A4 in tenths of a point.
    static constexpr double PageWidth = 5953;
    static constexpr double PageHeight = 8419;

    explicit ReportRenderer(const HealthReport& report);
    ~ReportRenderer();
    ReportRenderer(const ReportRenderer&) = delete;
    ReportRenderer& operator=(const ReportRenderer&) = delete;

    int pageCount() const { return int(m_pages.size()); }
    // The typeface the report is set in.
    const QString& fontFamily() const { return m_family; }

    // Where a growth chart went: its page (from 0) and its frame, in tenths of a point.
    struct PlacedChart
    {
        int page;
        ReportChart::Frame frame;
        const GrowthSeries* series;
        // The quantity and its unit, as the y axis is titled: "身高", "厘米".
        QString quantity;
        QString unit;
    };
    const QList<PlacedChart>& charts() const { return m_charts; }

    // Paints every page onto device, which must be set to A4 without margins. The painter is
    // begun and ended here.
    Result paint(QPagedPaintDevice& device) const;

private:
    using Op = std::function<void(QPainter&)>;
    struct Page
    {
        QList<Op> ops;
    };
    struct Column
    {
        QString title;
        double width;
    };

    void layout();
    void newPage();
    // Starts a new page unless height fits below the cursor.
    void ensure(double height);
    double bodyBottom() const;
    QStringList wrap(const QString& text, const QFont& font, double width) const;
    double lineHeight(const QFont& font) const;
    void addText(const QFont& font, double x, double baseline, const QString& text, const QColor& color);

    void title();
    void heading(const QString& text);
    void paragraph(const QString& text, const QFont& font, double indent = 0);
    void table(const QList<Column>& columns, const QList<QStringList>& rows);
    void summary();
    void chartsSection();
    void chart(const QString& caption, const QString& quantity, const QString& unit, const GrowthSeries& series,
               double height);
    void measurements();
    void immunisations();
    void medicalRecords();
    void paintHeader(QPainter& painter, int page) const;
    void paintChart(QPainter& painter, const PlacedChart& chart) const;

    const HealthReport& m_report;
    QString m_family;
    QFont m_body;
    QFont m_bold;
    QFont m_small;
    QFont m_heading;
    QFont m_title;
    QList<Page> m_pages;
    QList<PlacedChart> m_charts;
    double m_y = 0;
};
