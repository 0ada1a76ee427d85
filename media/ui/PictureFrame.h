#pragma once

#include "media/ui/CPicture.h"

#include <QWidget>

// The picture frame of a main window: one picture fitted into the frame and centred, white
// around it. The picture is decoded once at the size it is shown at and kept, so repaints only
// copy pixels; a new size of the frame decodes it again at the new size.
class PictureFrame : public QWidget
{
    Q_OBJECT

public:
    explicit PictureFrame(QWidget* parent = nullptr);

    // Shows the file fitted into the frame. A file that cannot be opened or is no picture
    // leaves the frame white; nothing is reported.
    void showFile(const QString& path);
    // Empties the frame (white) and forgets the file.
    void clear();

    QString currentFile() const { return m_file; }
    const CPicture& picture() const { return m_picture; }
    // Where the picture is drawn; empty when nothing is.
    QRect pictureRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void decode();
    // Decodes again when the frame's size changes where the picture is drawn.
    void refit();

    QString m_file;
    CPicture m_picture;
    // The size the picture was decoded for; a resize to a size that draws it the same is free.
    QSize m_decodedFor;
};
