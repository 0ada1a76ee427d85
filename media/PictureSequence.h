#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The names the picture viewer steps through, in the order of the result list, with the
// position of the picture on show and whether "上一个" and "下一个" are enabled. Stepping and the
// slide show answer which name to show next; the viewer does the loading.
class PictureSequence
{
public:
    // The viewer holds at most this many names; a longer list is cut.
    static constexpr qsizetype maxNames = 5000;

    // Takes the names of a result list and the row the user selected. The position is the last
    // kept row with the selected row's name, or the last kept row when the selection lies beyond
    // the cut. Both step buttons start enabled.
    void reset(const QStringList& names, qsizetype selectedRow);

    const QStringList& names() const { return m_names; }
    qsizetype count() const { return m_names.size(); }
    qsizetype index() const { return m_index; }
    QString name(qsizetype i) const { return m_names.value(i); }
    bool previousEnabled() const { return m_previousEnabled; }
    bool nextEnabled() const { return m_nextEnabled; }

    // One step on: the position to show, or nothing at the end of the list, where the picture
    // on show stays and "下一个" is disabled.
    std::optional<qsizetype> next();
    // One step back: the position to show, or nothing at the start, where "上一个" is disabled.
    std::optional<qsizetype> previous();

    // A slide show always begins with the first name.
    void startSlideShow() { m_index = 0; }
    // One slide-show step: the position to show, or nothing when every name has been shown;
    // the position is then back at the first name.
    std::optional<qsizetype> slideShowStep();

private:
    QStringList m_names;
    qsizetype m_index = 0;
    bool m_previousEnabled = true;
    bool m_nextEnabled = true;
};
