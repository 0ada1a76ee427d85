#pragma once

#include "tests/support/PageFixture.h"
#include "tests/support/TestMedia.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QTableWidget>

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

    // Chooses a picture with this content in a folder beside the installation and adds it to the
    // entry on page (the fixture's page unless another is given), answering OK.
    void attach(const QString& name, const QByteArray& content, QWidget* page = nullptr,
                const QString& folder = QStringLiteral("相册"))
    {
        page = page ? page : &this->page();
        const QString dir = chosen() + QLatin1Char('/') + folder;
        QVERIFY(QDir().mkpath(dir));
        QVERIFY(TestMedia::write(dir + QLatin1Char('/') + name, content));
        Gui::find<QComboBox>(page, QStringLiteral("mediaTypeCombo"))->setCurrentIndex(1);
        this->dialogs().answerFiles({dir + QLatin1Char('/') + name});
        QVERIFY(Gui::click(page, QStringLiteral("browseButton")));
        this->dialogs().answerConfirm(true);
        QVERIFY(Gui::click(page, QStringLiteral("addMediaButton")));
        this->dialogs().take();
    }
    // The names the attachment list of page (the fixture's page unless another is given) shows.
    QStringList attachments(QWidget* page = nullptr)
    {
        QStringList names;
        auto* list = Gui::find<QTableWidget>(page ? page : &this->page(), QStringLiteral("attachmentList"));
        for (int row = 0; row < list->rowCount(); ++row)
            names << list->item(row, 1)->text();
        return names;
    }
    // Moves the keyboard focus into the list as Tab does, then presses the delete button answering
    // OK; gives what was said.
    QStringList deleteWithOnlyTheFocusInTheList()
    {
        this->list()->setFocus(Qt::TabFocusReason);
        if (!this->list()->hasFocus())
            return {QStringLiteral("the list did not take the focus")};
        this->dialogs().answerConfirm(true);
        this->click("deleteButton");
        return this->dialogs().take();
    }

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
