#pragma once

#include "health/GrowthAssessment.h"

#include <QFrame>

// The growth charts of the comparison dialog: height above, weight below, on grey.
class CPicturScrollView : public QFrame
{
    Q_OBJECT

public:
    explicit CPicturScrollView(QWidget* parent = nullptr);

    ChartData& data() { return m_data; }
    const ChartData& data() const { return m_data; }

    // Draws both charts; the view paints through this, and tests render with it.
    void paint(QPainter& painter) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ChartData m_data;
};
