#include <QColor>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QTest>

#include <cmath>

// Every text of every shipped skin stands out from what it is drawn on: each pair of text and
// background colour that skin.qss.in puts together reaches a contrast of 4.5:1 (WCAG AA) in each
// palette of palettes.cmake.
class TestSkinContrast : public QObject
{
    Q_OBJECT

private:
    struct Pair
    {
        QString text;
        QString background;
        QString where;
    };
    using Palette = QHash<QString, QString>;

    static QString source(const QString& file)
    {
        QFile f(qEnvironmentVariable("KESTRIN_SOURCE_DIR") + QStringLiteral("/skin/") + file);
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }
    static QStringList words(const QString& text)
    {
        QStringList list;
        static const QRegularExpression word(QStringLiteral("\"([^\"]*)\"|(\\S+)"));
        for (const QRegularExpressionMatch& m : word.globalMatch(text))
            list << (m.captured(1).isEmpty() ? m.captured(2) : m.captured(1));
        return list;
    }
    static QString listOf(const QString& cmake, const QString& name)
    {
        const QRegularExpression set(QStringLiteral("set\\(") + QRegularExpression::escape(name) +
                                     QStringLiteral("\\s([^)]*)\\)"));
        return set.match(cmake).captured(1);
    }

    // WCAG relative luminance and contrast ratio.
    static double luminance(const QColor& colour)
    {
        auto linear = [](double c) { return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
        return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) + 0.0722 * linear(colour.blueF());
    }
    static double contrast(const QColor& a, const QColor& b)
    {
        const double la = luminance(a);
        const double lb = luminance(b);
        return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
    }

    // The text/background pairs of the template. A rule with a text colour and a background of its
    // own pairs the two; a rule with only a text colour (or a transparent background) is drawn
    // over the window and the group boxes; a state rule with only a background ("QPushButton:hover")
    // keeps the text colour of its widget's rule.
    static QList<Pair> pairsOf(const QString& sheet)
    {
        QHash<QString, QHash<QString, QString>> rules;
        QList<QPair<QString, QHash<QString, QString>>> ordered;
        static const QRegularExpression block(QStringLiteral("([^{}]+)\\{([^}]*)\\}"));
        static const QRegularExpression property(QStringLiteral("([\\w-]+)\\s*:\\s*([^;]+);"));
        for (const QRegularExpressionMatch& b : block.globalMatch(sheet)) {
            QHash<QString, QString> props;
            for (const QRegularExpressionMatch& p : property.globalMatch(b.captured(2)))
                props.insert(p.captured(1), p.captured(2).trimmed());
            const QStringList selectors = b.captured(1).split(QLatin1Char(','));
            for (const QString& selector : selectors)
                rules.insert(selector.trimmed(), props);
            ordered.append({selectors.first().trimmed(), props});
        }
        static const QRegularExpression state(QStringLiteral("(?<!:):(?!:)[!\\w-]+"));
        static const QRegularExpression key(QStringLiteral("^@(\\w+)@$"));
        QList<Pair> pairs;
        for (const auto& [selector, props] : ordered) {
            QString text = props.value(QStringLiteral("color"));
            QString background =
                props.value(QStringLiteral("background"), props.value(QStringLiteral("background-color")));
            if (text.isEmpty() && key.match(background).hasMatch())
                text = rules.value(QString(selector).remove(state).trimmed()).value(QStringLiteral("color"));
            if (key.match(text).hasMatch()) {
                if (key.match(background).hasMatch()) {
                    pairs.append({key.match(text).captured(1), key.match(background).captured(1), selector});
                } else {
                    pairs.append({key.match(text).captured(1), QStringLiteral("BG"), selector});
                    pairs.append({key.match(text).captured(1), QStringLiteral("PANEL"), selector});
                }
            }
            const auto selectedText = key.match(props.value(QStringLiteral("selection-color")));
            const auto selectedBackground = key.match(props.value(QStringLiteral("selection-background-color")));
            if (selectedText.hasMatch() && selectedBackground.hasMatch())
                pairs.append({selectedText.captured(1), selectedBackground.captured(1),
                              selector + QStringLiteral(" (selection)")});
        }
        return pairs;
    }

private slots:
    void everyTextReachesFourAndAHalfToOne_data()
    {
        const QString palettes = source(QStringLiteral("palettes.cmake"));
        const QStringList keys = words(listOf(source(QStringLiteral("CMakeLists.txt")), QStringLiteral("_keys")));
        const QList<Pair> pairs = pairsOf(source(QStringLiteral("skin.qss.in")));
        QVERIFY(keys.contains(QStringLiteral("ACCENT_TEXT")));
        // The rules that matter most are among the pairs found.
        QVERIFY(std::any_of(pairs.begin(), pairs.end(), [](const Pair& p) {
            return p.text == QStringLiteral("ACCENT_TEXT") && p.background == QStringLiteral("HOVER_ACCENT");
        }));
        QVERIFY(pairs.size() >= 15);

        QTest::addColumn<QColor>("text");
        QTest::addColumn<QColor>("background");
        const QStringList skins = words(listOf(palettes, QStringLiteral("KESTRIN_SKINS")));
        QCOMPARE(skins.size(), 4);
        for (const QString& skin : skins) {
            const QStringList colours = words(listOf(palettes, skin + QStringLiteral("_COLOURS")));
            QCOMPARE(colours.size(), keys.size());
            Palette palette;
            for (int i = 0; i < keys.size(); ++i)
                palette.insert(keys[i], colours[i]);
            for (const Pair& pair : pairs) {
                QVERIFY2(palette.contains(pair.text) && palette.contains(pair.background), qPrintable(pair.where));
                QTest::addRow("%s %s: %s on %s", qPrintable(skin), qPrintable(pair.where), qPrintable(pair.text),
                              qPrintable(pair.background))
                    << QColor(palette.value(pair.text)) << QColor(palette.value(pair.background));
            }
        }
    }
    void everyTextReachesFourAndAHalfToOne()
    {
        QFETCH(QColor, text);
        QFETCH(QColor, background);
        QVERIFY(text.isValid() && background.isValid());
        const double ratio = contrast(text, background);
        QVERIFY2(
            ratio >= 4.5,
            qPrintable(QStringLiteral("%1 on %2: %3:1").arg(text.name(), background.name()).arg(ratio, 0, 'f', 2)));
    }

    void contrastOfKnownColours()
    {
        QCOMPARE(qRound(contrast(Qt::black, Qt::white) * 10), 210);
        QCOMPARE(qRound(contrast(QColor(0x77, 0x77, 0x77), Qt::white) * 100), 448);
    }
};

QTEST_GUILESS_MAIN(TestSkinContrast)
#include "tst_skincontrast.moc"
