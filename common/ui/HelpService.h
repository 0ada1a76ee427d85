#pragma once

#include <QString>

class QWidget;

// Opens the suite's help at its start page in a window owned by the caller; while that window is
// open, asking again brings it to the front. Without the help files, help requests do nothing.
namespace HelpService {

// The help collection, seen from a program's own folder.
inline const QString DefaultCollection = QStringLiteral("../help/kestrinhelp.qhc");
inline const QString StartPage = QStringLiteral("qthelp://kestrin.help/doc/html/index.html");

// Shows help for owner; returns the help window, or nullptr when there is no help to show.
QWidget* show(QWidget* owner, const QString& page = StartPage);

// Lets tests point help at another collection file.
void setCollectionFile(const QString& path);
QString collectionFile();

} // namespace HelpService
