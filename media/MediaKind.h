#pragma once

#include <QString>
#include <QStringList>

// What a media file holds, told by its extension.
enum class MediaKind
{
    Video,
    Picture,
    Sound,
    Other
};

namespace MediaKinds {

// The kinds a user can choose, in the order of the type lists: video, picture, sound.
inline constexpr MediaKind Choosable[] = {MediaKind::Video, MediaKind::Picture, MediaKind::Sound};

// The kind of a file by the last extension of its name, whatever its case: PHOTO.JPG and
// a.b.jpg are pictures; a name without a known extension is Other.
MediaKind fromName(const QString& fileName);

// The type text: "视频文件", "图像文件", "音频文件", and "媒体文件" for Other.
QString typeText(MediaKind kind);
// The type texts of the type lists, in their order.
QStringList typeTexts();
// The kind at a position of the type lists; Other for a position outside them.
MediaKind atTypeIndex(int index);

// The extensions of a kind, lower case, without dots; none for Other.
QStringList extensions(MediaKind kind);
// The file-dialog filter of a kind, e.g. "媒体文件 (*.jpg *.JPG ...)". Both cases are listed
// because some file dialogs match patterns case-sensitively and cameras write upper case.
QString dialogFilter(MediaKind kind);

} // namespace MediaKinds
