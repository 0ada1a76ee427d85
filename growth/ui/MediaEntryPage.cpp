#include "growth/ui/MediaEntryPage.h"
#include "growth/GrowthTr.h"

#include "common/ui/HelpService.h"
#include "data/Recordset.h"
#include "data/ui/PageButton.h"
#include "media/AttachmentText.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

MediaEntryPage::MediaEntryPage(QWidget* parent, Table table, QString helpPage)
    : EditingPage(parent), m_table(std::move(table)), m_helpPage(std::move(helpPage))
{
}

MediaEntryPage::~MediaEntryPage() = default;

MediaGroup* MediaEntryPage::makeMediaGroup(MediaGroup::Settings settings, QWidget* parent)
{
    m_media = new MediaGroup(std::move(settings), parent);
    m_media->setEntry(
        {[this] { return m_loadedId > 0; }, [this](const QString& text) { return saveAttachments(text); }});
    return m_media;
}

Result MediaEntryPage::readEntry(Recordset& row, qint64 id) const
{
    if (Result r = row.open(m_table.byId(id)); !r)
        return r;
    if (row.isEOF())
        return Result::failure(goneMessage());
    return {};
}

void MediaEntryPage::showLoaded(qint64 id, Recordset& row)
{
    m_loadedId = id;
    rememberShown(row);
    m_media->setAttachmentText(m_table.attachments(row));
}

void MediaEntryPage::beginChanging()
{
    m_modifying = true;
    save();
}

bool MediaEntryPage::changeEntry(Recordset& row, qint64 id, const Records::Writer& write)
{
    const bool shown = id == m_loadedId;
    const ResultOf<Records::ChangeOutcome> changed = Records::change(
        row, QStringLiteral("id"), id, write, goneMessage(), shown ? shownVersion() : Records::RowVersion());
    if (!changed) {
        message(changed.error());
        return false;
    }
    if (*changed == Records::ChangeOutcome::ChangedMeanwhile) {
        reportChangedMeanwhile(row, write);
        return false;
    }
    m_media->markSaved();
    if (shown)
        rememberLoaded();
    return true;
}

Result MediaEntryPage::saveAttachments(const QString& text)
{
    const std::unique_ptr<Recordset> row = m_table.newRow();
    const ResultOf<Records::ChangeOutcome> changed = Records::change(
        *row, QStringLiteral("id"), m_loadedId, [&](Recordset& r) { m_table.attachments(r) = text; }, goneMessage());
    if (!changed)
        return changed;
    rememberLoaded();
    return {};
}

void MediaEntryPage::rememberLoaded()
{
    const std::unique_ptr<Recordset> row = m_table.newRow();
    if (!row->open(m_table.byId(m_loadedId)) || row->isEOF())
        return;
    rememberShown(*row);
    loadedRowWritten(*row);
}

QList<qint64> MediaEntryPage::idsToDelete()
{
    // The chosen hit: a row the keyboard focus merely rests on is not chosen.
    return selectedIds().mid(0, 1);
}

Result MediaEntryPage::deleteRecords(const QList<qint64>& ids)
{
    const qint64 id = ids.value(0);
    const std::unique_ptr<Recordset> row = m_table.newRow();
    if (Result r = readEntry(*row, id); !r)
        return r;
    const QStringList names = AttachmentText::read(m_table.attachments(*row));
    if (Result r = Records::deleteByIds(row->table(), QStringLiteral("id"), ids, goneMessage()); !r)
        return r;
    m_deletedId = id;
    m_deletedNames = names;
    return {};
}

void MediaEntryPage::closeDeletedEntry()
{
    // A file goes only once no row names it any more.
    if (m_deletedId == m_loadedId) {
        m_media->removeFilesWithEntry();
    } else {
        for (const QString& name : std::as_const(m_deletedNames))
            (void)m_media->store().removeIfUnused(name);
    }
    m_loadedId = 0;
    m_media->clearAttachments();
}

QLineEdit* MediaEntryPage::lineEdit(QWidget* parent, const QString& name, const QString& label, int maxLength)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setAccessibleName(label);
    edit->setMaxLength(maxLength);
    return edit;
}

QLabel* MediaEntryPage::labelFor(QWidget* field, const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setBuddy(field);
    return label;
}

QHBoxLayout* MediaEntryPage::dateRow(QWidget* parent, QComboBox* year, QComboBox* month, QComboBox* day)
{
    auto* row = new QHBoxLayout;
    for (auto [combo, text] : {std::pair{year, GrowthTr::tr("年")}, std::pair{month, GrowthTr::tr("月")},
                               std::pair{day, GrowthTr::tr("日")}}) {
        row->addWidget(combo, 1);
        row->addWidget(labelFor(combo, text, parent));
    }
    return row;
}

QHBoxLayout* MediaEntryPage::makeEntryButtons(QWidget* parent, const QStringList& captions)
{
    Q_ASSERT(captions.size() == 4);
    makeEditButtons(parent, QStringList{QString()} + captions);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    for (Button b : {SaveButton, ModifyButton, DeleteButton, UndoButton})
        row->addWidget(button(b));
    return row;
}

QPushButton* MediaEntryPage::makeHelpButton(QWidget* parent, const QString& caption)
{
    auto* help = makePageButton(caption, QStringLiteral("helpButton"), parent);
    connect(help, &QPushButton::clicked, this, &MediaEntryPage::showHelp);
    return help;
}

void MediaEntryPage::showHelp()
{
    HelpService::show(this, m_helpPage);
}
