#pragma once

#include "media/PictureSequence.h"
#include "media/ui/CPicture.h"

#include <QDialog>

#include <memory>

class CMypic;
class QPushButton;
class QSlider;
class SlideShowTimer;

// The full-screen picture viewer: the picture at its natural size in the middle, zooming, the
// pictures of the result list one by one or as a timed slide show, and dragging the picture
// about. Enter and Escape do not close it; its close box and "关闭" do.
//
// A main window keeps one viewer and opens it with setPictures() and exec(); the slide-show
// speed survives between openings.
class CPictureViewDlg : public QDialog
{
    Q_OBJECT

public:
    // mediaFolder is the installation's media folder, where the listed names lie.
    explicit CPictureViewDlg(const QString& mediaFolder, QWidget* parent = nullptr);
    ~CPictureViewDlg() override;

    // What the next opening shows: the names of the result list in list order (at most 5000
    // are kept), the row the user selected, and the full path of the picture shown first.
    void setPictures(const QStringList& names, qsizetype selectedRow, const QString& firstPath);

    // Replaces the slide show's clock (tests fire it by hand).
    void setSlideShowTimer(std::unique_ptr<SlideShowTimer> timer);
    SlideShowTimer& slideShowTimer() const { return *m_timer; }
    // Milliseconds between slide-show steps, taken when a slide show starts.
    int interval() const { return m_interval; }

    QString mediaFolder() const { return m_mediaFolder; }
    const PictureSequence& sequence() const { return m_sequence; }
    QString currentName() const { return m_currentName; }
    QString currentPath() const { return m_currentPath; }
    const CPicture& picture() const { return m_picture; }
    CMypic* view() const { return m_view; }

public slots:
    void zoomIn();
    void zoomOut();
    void naturalSize();
    void showNext();
    void showPrevious();
    void startSlideShow();
    // Closing stops the slide show and lets go of the full-size picture.
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Puts the viewer in its opening state: the first picture, the slider, both step buttons.
    void showFirstPicture();
    void showPicture(qsizetype index);
    void showFile(const QString& path, const QString& name);
    void centreAtNaturalSize();
    QPoint viewCentre() const;
    void updateStepButtons();
    void slideShowStep();
    void speedChanged(int position);

    QString m_mediaFolder;
    PictureSequence m_sequence;
    QString m_firstPath;
    bool m_openPending = false;
    QString m_currentName;
    QString m_currentPath;
    CPicture m_picture;
    int m_interval = 2000;
    std::unique_ptr<SlideShowTimer> m_timer;

    CMypic* m_view;
    QPushButton* m_previousButton;
    QPushButton* m_nextButton;
    QSlider* m_speedSlider;
};
