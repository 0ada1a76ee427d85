#include "media/ui/CPictureViewDlg.h"

#include "common/ui/DialogService.h"
#include "common/ui/MainWindowBase.h"
#include "media/MediaTr.h"
#include "media/PictureGeometry.h"
#include "media/ui/CMypic.h"
#include "media/ui/SlideShowTimer.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// Each slider step adds this much to the interval; the left end (fast) gives one step too,
// so the fastest slide show still shows every picture for a moment.
constexpr int millisecondsPerStep = 300;

} // namespace

CPictureViewDlg::CPictureViewDlg(const QString& mediaFolder, QWidget* parent)
    : QDialog(parent), m_mediaFolder(mediaFolder), m_view(new CMypic(this)), m_previousButton(nullptr),
      m_nextButton(nullptr), m_speedSlider(new QSlider(this))
{
    setObjectName(QStringLiteral("pictureViewer"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setWindowState(Qt::WindowFullScreen);

    // Zooming, stepping and the way out above the picture; the slide show below it, so both rows
    // fit on a small screen.
    auto* top = new QHBoxLayout;
    auto* bottom = new QHBoxLayout;
    auto addButton = [this](QHBoxLayout* row, const QString& text, const QString& name,
                            void (CPictureViewDlg::*slot)()) {
        auto* button = new QPushButton(text, this);
        button->setObjectName(name);
        // Enter must not press a button the user did not mean: keys go to the focused control only.
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, slot);
        row->addWidget(button);
        return button;
    };
    addButton(top, MediaTr::tr("+ 放大 + "), QStringLiteral("zoomInButton"), &CPictureViewDlg::zoomIn);
    addButton(top, MediaTr::tr("-  缩小 -"), QStringLiteral("zoomOutButton"), &CPictureViewDlg::zoomOut);
    addButton(top, MediaTr::tr("原始大小"), QStringLiteral("naturalSizeButton"), &CPictureViewDlg::naturalSize);
    top->addSpacing(20);
    m_previousButton =
        addButton(top, MediaTr::tr("上一个"), QStringLiteral("previousButton"), &CPictureViewDlg::showPrevious);
    m_nextButton = addButton(top, MediaTr::tr("下一个"), QStringLiteral("nextButton"), &CPictureViewDlg::showNext);
    top->addStretch();
    // Full screen leaves no title bar on some desktops; this way out is always there.
    addButton(top, MediaTr::tr("关闭"), QStringLiteral("closeButton"), &CPictureViewDlg::reject);

    addButton(bottom, MediaTr::tr("换灯片显示"), QStringLiteral("slideShowButton"), &CPictureViewDlg::startSlideShow);
    bottom->addSpacing(20);
    auto* speedLabel = new QLabel(MediaTr::tr("播放速度"), this);
    bottom->addWidget(speedLabel);
    bottom->addSpacing(10);
    bottom->addWidget(new QLabel(MediaTr::tr("快"), this));
    m_speedSlider->setObjectName(QStringLiteral("speedSlider"));
    m_speedSlider->setAccessibleName(speedLabel->text());
    speedLabel->setBuddy(m_speedSlider);
    m_speedSlider->setOrientation(Qt::Horizontal);
    m_speedSlider->setRange(0, 10);
    m_speedSlider->setPageStep(1);
    m_speedSlider->setTickPosition(QSlider::TicksBelow);
    m_speedSlider->setFixedWidth(200);
    connect(m_speedSlider, &QSlider::valueChanged, this, &CPictureViewDlg::speedChanged);
    bottom->addWidget(m_speedSlider);
    bottom->addWidget(new QLabel(MediaTr::tr("慢"), this));
    bottom->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 20, 10);
    layout->setSpacing(10);
    layout->addLayout(top);
    layout->addWidget(m_view, 1);
    layout->addLayout(bottom);

    setSlideShowTimer(std::make_unique<QtSlideShowTimer>());
}

CPictureViewDlg::~CPictureViewDlg() = default;

void CPictureViewDlg::setSlideShowTimer(std::unique_ptr<SlideShowTimer> timer)
{
    m_timer = std::move(timer);
    connect(m_timer.get(), &SlideShowTimer::timeout, this, &CPictureViewDlg::slideShowStep);
}

void CPictureViewDlg::setPictures(const QStringList& names, qsizetype selectedRow, const QString& firstPath)
{
    m_sequence.reset(names, selectedRow);
    m_firstPath = firstPath;
    m_openPending = true;
    if (isVisible())
        showFirstPicture();
}

void CPictureViewDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_openPending)
        showFirstPicture();
}

void CPictureViewDlg::showFirstPicture()
{
    m_openPending = false;
    m_timer->stop();
    showFile(m_firstPath, QFileInfo(m_firstPath).fileName());
    const QSignalBlocker blocker(m_speedSlider);
    m_speedSlider->setValue(5);
    updateStepButtons();
}

void CPictureViewDlg::done(int result)
{
    // Nothing runs on behind a closed viewer, and the full-size picture is not kept in memory.
    m_timer->stop();
    m_view->setPicture(nullptr);
    m_picture.release();
    // Shown again, the viewer opens as it did.
    m_openPending = true;
    QDialog::done(result);
}

void CPictureViewDlg::keyPressEvent(QKeyEvent* event)
{
    if (!swallowClosingKey(event))
        QDialog::keyPressEvent(event);
}

QPoint CPictureViewDlg::viewCentre() const
{
    return PictureGeometry::centreOf(m_view->clientSize());
}

void CPictureViewDlg::centreAtNaturalSize()
{
    m_view->setPlacement(PictureGeometry::naturalSize(viewCentre(), m_picture.size()));
}

void CPictureViewDlg::showFile(const QString& path, const QString& name)
{
    m_currentPath = path;
    m_currentName = name;
    m_picture.load(path);
    m_view->setPicture(&m_picture);
    m_view->setEmptyText(name);
    setWindowTitle(name);
    centreAtNaturalSize();
}

void CPictureViewDlg::showPicture(qsizetype index)
{
    const QString name = m_sequence.name(index);
    showFile(QDir(m_mediaFolder).filePath(name), name);
}

void CPictureViewDlg::updateStepButtons()
{
    m_previousButton->setEnabled(m_sequence.previousEnabled());
    m_nextButton->setEnabled(m_sequence.nextEnabled());
}

void CPictureViewDlg::zoomIn()
{
    m_view->setPlacement(PictureGeometry::zoomIn(viewCentre(), m_view->placement()));
}

void CPictureViewDlg::zoomOut()
{
    m_view->setPlacement(PictureGeometry::zoomOut(viewCentre(), m_view->placement()));
}

void CPictureViewDlg::naturalSize()
{
    centreAtNaturalSize();
}

void CPictureViewDlg::showNext()
{
    if (const auto index = m_sequence.next())
        showPicture(*index);
    updateStepButtons();
}

void CPictureViewDlg::showPrevious()
{
    if (const auto index = m_sequence.previous())
        showPicture(*index);
    updateStepButtons();
}

void CPictureViewDlg::startSlideShow()
{
    m_sequence.startSlideShow();
    slideShowStep();
    // A list with nothing to show has ended at the first step.
    if (m_sequence.index() > 0)
        m_timer->start(m_interval);
}

void CPictureViewDlg::slideShowStep()
{
    if (const auto index = m_sequence.slideShowStep()) {
        showPicture(*index);
        return;
    }
    m_timer->stop();
    Dialogs::message(this, MediaTr::tr("播放结束"));
}

void CPictureViewDlg::speedChanged(int position)
{
    // A running slide show keeps its pace until it is started again.
    m_interval = std::max(1, position) * millisecondsPerStep;
}
