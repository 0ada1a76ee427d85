#include "media/PictureSequence.h"

#include <algorithm>

void PictureSequence::reset(const QStringList& names, qsizetype selectedRow)
{
    m_names = names.mid(0, maxNames);
    const QString selected = names.value(selectedRow);
    m_index = m_names.lastIndexOf(selected);
    if (m_index < 0 || selected.isNull())
        m_index = std::max<qsizetype>(0, count() - 1);
    m_previousEnabled = true;
    m_nextEnabled = true;
}

std::optional<qsizetype> PictureSequence::next()
{
    ++m_index;
    if (m_index >= count()) {
        m_nextEnabled = false;
        m_previousEnabled = true;
        m_index = std::max<qsizetype>(0, count() - 1);
        return std::nullopt;
    }
    m_previousEnabled = true;
    return m_index;
}

std::optional<qsizetype> PictureSequence::previous()
{
    --m_index;
    if (m_index < 0) {
        m_nextEnabled = true;
        m_previousEnabled = false;
        m_index = 0;
        return std::nullopt;
    }
    m_nextEnabled = true;
    return m_index;
}

std::optional<qsizetype> PictureSequence::slideShowStep()
{
    if (m_index >= count()) {
        m_index = 0;
        return std::nullopt;
    }
    return m_index++;
}
