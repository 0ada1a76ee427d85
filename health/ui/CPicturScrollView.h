#pragma once

#include "health/GrowthAssessment.h"

#include <QFrame>
#include <QTransform>

// The growth charts of the comparison dialog: height above, weight below, on grey. The charts'
// pixel layout is scaled to fill the view with its proportions kept, so a larger dialog shows
// larger charts, drawn smoothly.
class CPicturScrollView : public QFrame
{
    Q_OBJECT

public:
    // The size of the charts' layout in their own pixels, axis captions and labels included.
    static constexpr QSize LayoutSize{600, 410};

    explicit CPicturScrollView(QWidget* parent = nullptr);

    // From layout pixels to view pixels: one scale for both directions, centred.
    QTransform chartTransform() const;

    ChartData& data() { return m_data; }
    const ChartData& data() const { return m_data; }

    // Draws both charts; the view paints through this, and tests render with it.
    void paint(QPainter& painter) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ChartData m_data;
};
