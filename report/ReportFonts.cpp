#include "report/ReportFonts.h"

#include <QFontDatabase>
#include <QHash>
#include <QMutex>
#include <QRawFont>

#include <vector>

namespace ReportFonts {

namespace {

// For each glyph of a font, the first character of the Basic Multilingual Plane that maps to it:
// what the PDF writer will name that glyph's character.
class GlyphNames
{
public:
    explicit GlyphNames(const QRawFont& font)
    {
        QString all;
        all.reserve(0x10000);
        for (uint uc = 1; uc < 0x10000; ++uc)
            all.append(QChar::isSurrogate(uc) ? QChar(u' ') : QChar(char16_t(uc)));
        const QList<quint32> glyphs = font.glyphIndexesForString(all);
        for (qsizetype i = 0; i < glyphs.size(); ++i) {
            const quint32 glyph = glyphs.at(i);
            if (glyph == 0 || QChar::isSurrogate(uint(i + 1)))
                continue;
            if (glyph >= m_first.size())
                m_first.resize(glyph + 1, 0);
            if (m_first[glyph] == 0)
                m_first[glyph] = char16_t(i + 1);
        }
        m_glyphs = glyphs;
    }

    // The character the writer will name for uc's glyph; uc itself when the font lacks it.
    char16_t nameOf(char16_t uc) const
    {
        if (uc == 0 || uc - 1 >= m_glyphs.size())
            return uc;
        const quint32 glyph = m_glyphs.at(uc - 1);
        return glyph == 0 || glyph >= m_first.size() ? uc : m_first[glyph];
    }

private:
    QList<quint32> m_glyphs;
    std::vector<char16_t> m_first;
};

const GlyphNames& namesOf(const QString& family)
{
    static QMutex mutex;
    static QHash<QString, std::shared_ptr<GlyphNames>> cache;
    QMutexLocker lock(&mutex);
    std::shared_ptr<GlyphNames>& names = cache[family];
    if (!names)
        names = std::make_shared<GlyphNames>(QRawFont::fromFont(font(family, 100)));
    return *names;
}

bool installed(const QString& family)
{
    return QFontDatabase::hasFamily(family);
}

} // namespace

const QStringList& candidates()
{
    static const QStringList families = {
        QStringLiteral("Droid Sans Fallback"), QStringLiteral("WenQuanYi Zen Hei"), QStringLiteral("AR PL UMing CN"),
        QStringLiteral("Noto Sans CJK SC"),    QStringLiteral("Noto Serif CJK SC"),
    };
    return families;
}

QString misread(const QString& family, const QString& text)
{
    const GlyphNames& names = namesOf(family);
    QString wrong;
    for (const QChar c : text) {
        if (c.isSurrogate())
            continue;
        if (names.nameOf(c.unicode()) != c.unicode() && !wrong.contains(c))
            wrong.append(c);
    }
    return wrong;
}

QString familyFor(const QString& text)
{
    QString best;
    qsizetype fewest = -1;
    for (const QString& family : candidates()) {
        if (!installed(family))
            continue;
        const qsizetype wrong = misread(family, text).size();
        if (wrong == 0)
            return family;
        if (fewest < 0 || wrong < fewest) {
            fewest = wrong;
            best = family;
        }
    }
    return best.isEmpty() ? QFont().defaultFamily() : best;
}

QFont font(const QString& family, int tenthsOfPoint, bool bold)
{
    QFont f(family);
    // The report is laid out in tenths of a point, so a pixel is a tenth of a point.
    f.setPixelSize(tenthsOfPoint);
    f.setBold(bold);
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setKerning(false);
    return f;
}

} // namespace ReportFonts
