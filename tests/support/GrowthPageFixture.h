#pragma once

#include "tests/support/PageFixture.h"
#include "tests/support/TestMedia.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>

// A growth page on a fresh database with a media folder of its own, the page keeping its entries
// in table. The media folder is a base so that it outlives the page.
template <typename Page> class GrowthPageFixture : private TestMediaFolder, public PageFixture<Page>
{
public:
    explicit GrowthPageFixture(QString table) : m_table(std::move(table)) {}

    const TestMediaFolder& mediaFolder() const { return *this; }

    // A file in the media folder, as if added earlier.
    void storeFile(const QString& name)
    {
        QVERIFY(QDir().mkpath(media()));
        QVERIFY(TestMedia::write(mediaPath(name), "picture"));
    }
    bool stored(const QString& name) const { return QFileInfo::exists(mediaPath(name)); }

    // Chooses text in a drop-down list as a user would: an empty text chooses the list's empty
    // entry, or nothing where the list has none.
    void choose(const char* list, const QString& text)
    {
        auto* combo = this->template field<QComboBox>(list);
        combo->setCurrentIndex(combo->findText(text));
    }
    bool enabled(const char* button) const { return this->template field<QAbstractButton>(button)->isEnabled(); }

    // One column of the entry with this id, as it reached the file.
    QString column(const QString& name, qint64 id)
    {
        return this->db()
            .scalar(QStringLiteral("SELECT [%1] FROM [%2] WHERE id=?").arg(name, m_table), {id})
            .toString();
    }

private:
    QString mediaPath(const QString& name) const { return media() + QLatin1Char('/') + name; }

    QString m_table;
};
