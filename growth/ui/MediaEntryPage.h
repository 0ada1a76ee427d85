#pragma once

#include "data/Records.h"
#include "data/Statement.h"
#include "data/ui/EditingPage.h"
#include "media/ui/MediaGroup.h"

#include <QStringList>

#include <functional>
#include <memory>

class QComboBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;

// What the diary, honours and birthday pages share: one entry at a time is shown in the fields,
// known by its id, with its pictures, sounds and videos listed in the page's media group. Adding
// or deleting an attachment rewrites the shown entry's row at once; a change is written only
// while the row is still as shown; deleting an entry takes its files along once no other row
// names them. Each page says which table it keeps and how one of its rows reads.
//
// The rows the page and its hooks are handed are always bindings of the page's table.
class MediaEntryPage : public EditingPage
{
    Q_OBJECT

public:
    ~MediaEntryPage() override;

    MediaGroup* mediaGroup() const { return m_media; }
    // The entry shown in the fields; 0 when none is.
    qint64 loadedId() const { return m_loadedId; }
    // Whether saving writes into an entry rather than adding one.
    bool isModifying() const { return m_modifying; }

public slots:
    void beginAdding() override {}
    // "修改": saving writes into an entry from now on, and it saves at once.
    void beginChanging() override;
    void showHelp();

protected:
    // How the page reaches its table: a new binding, the attachment text of a row, and the
    // statement that reads the row with an id.
    struct Table
    {
        std::function<std::unique_ptr<Recordset>()> newRow;
        std::function<QString&(Recordset&)> attachments;
        Statement (*byId)(qint64);

        // The table bound by Row, whose attachment text is m_music.
        template <typename Row> static Table of(Statement (*byId)(qint64))
        {
            return {[] { return std::make_unique<Row>(); },
                    [](Recordset& row) -> QString& { return static_cast<Row&>(row).m_music; }, byId};
        }
    };

    MediaEntryPage(QWidget* parent, Table table, QString helpPage);

    // What a write or a deletion says when the entry's row is gone.
    virtual QString goneMessage() const = 0;
    // The shown entry's row as read back after the page wrote it; a page that lists its entries
    // shows it there again.
    virtual void loadedRowWritten(const Recordset& /*row*/) {}

    // Makes the page's media group, whose list the shown entry's row follows.
    MediaGroup* makeMediaGroup(MediaGroup::Settings settings, QWidget* parent);
    // Reads the entry with this id into row, a binding of the page's table; fails with
    // goneMessage() when there is no such row.
    Result readEntry(Recordset& row, qint64 id) const;
    // The entry with this id, read as row, is now the one shown: its attachments are listed and
    // it counts as shown as read.
    void showLoaded(qint64 id, Recordset& row);
    void forgetLoaded() { m_loadedId = 0; }
    void setModifying(bool modifying) { m_modifying = modifying; }

    // Writes into the entry with this id through write, row being a binding of the page's table.
    // The shown entry is written only while it is as shown, and counts as shown again afterwards;
    // another entry is written whatever it holds. Tells the user what went wrong; true when the
    // row was written.
    bool changeEntry(Recordset& row, qint64 id, const Records::Writer& write);

    // One entry is deleted at a time: the chosen (selected) hit.
    QList<qint64> idsToDelete() override;
    Result deleteRecords(const QList<qint64>& ids) override;
    // After a deletion: the deleted entry's files go once no row names them any more, and no
    // entry is shown.
    void closeDeletedEntry();

    // The pieces the pages are laid out with.
    static QLineEdit* lineEdit(QWidget* parent, const QString& name, const QString& label, int maxLength = 32767);
    static QLabel* labelFor(QWidget* field, const QString& text, QWidget* parent);
    // Year, month and day lists side by side, each followed by its unit.
    static QHBoxLayout* dateRow(QWidget* parent, QComboBox* year, QComboBox* month, QComboBox* day);
    // The save, modify, delete and undo buttons with these captions (there is no add button),
    // right-aligned in a row.
    QHBoxLayout* makeEntryButtons(QWidget* parent, const QStringList& captions);
    // A button named helpButton that opens the page's help.
    QPushButton* makeHelpButton(QWidget* parent, const QString& caption);

private:
    Result saveAttachments(const QString& text);
    // Reads the shown entry back after a write: it is now as shown.
    void rememberLoaded();

    Table m_table;
    QString m_helpPage;
    MediaGroup* m_media = nullptr;
    bool m_modifying = false;
    qint64 m_loadedId = 0;
    // The entry deleted last and the files its row named.
    qint64 m_deletedId = 0;
    QStringList m_deletedNames;
};
