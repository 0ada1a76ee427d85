#include "media/ui/MediaGroup.h"

#include "common/ui/DialogService.h"
#include "data/UnsavedMedia.h"
#include "media/AttachmentText.h"
#include "media/MediaKind.h"
#include "media/MediaTr.h"
#include "media/ui/CWMPPlayer4.h"
#include "media/ui/FileDrop.h"
#include "media/ui/MediaCopier.h"
#include "media/ui/ThumbnailSource.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QPushButton* button(const QString& text, const QString& name, QWidget* parent)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAccessibleName(text);
    return b;
}

// Failure messages shown at once: the first few whole, the rest counted.
QString joined(const QStringList& messages)
{
    constexpr int shown = 5;
    QStringList lines = messages.mid(0, shown);
    if (messages.size() > shown)
        lines << MediaTr::tr("另有%1个文件也没有添加。").arg(messages.size() - shown);
    return lines.join(QStringLiteral("\n\n"));
}

// Thumbnails beside the names of the attachment list.
const QSize ThumbnailSize(32, 24);

// The name cell of an attachment: the name and, once made, the file's thumbnail. The list asks
// for it only while the row is on screen.
class AttachmentItem : public QTableWidgetItem
{
public:
    AttachmentItem(const QString& name, QString path) : QTableWidgetItem(name), m_path(std::move(path)) {}

    QVariant data(int role) const override
    {
        if (role == Qt::DecorationRole)
            return ThumbnailSource::shared().icon(m_path, ThumbnailSize.width());
        return QTableWidgetItem::data(role);
    }

private:
    QString m_path;
};

} // namespace

MediaGroup::Settings MediaGroup::Settings::diary()
{
    return {
        MediaTr::tr("影音媒体"), MediaTr::tr("删除媒体文件"), true, MediaTr::tr("请选择要删除的项，谢谢！"), true, 70};
}

MediaGroup::Settings MediaGroup::Settings::honours()
{
    return {MediaTr::tr("影音资源"), MediaTr::tr("删除媒体文件"), false, MediaTr::tr("请选择要删除的项目"), true, 70};
}

MediaGroup::Settings MediaGroup::Settings::birthday()
{
    return {MediaTr::tr("影音媒体"), MediaTr::tr("删除媒体"), true, MediaTr::tr("请选择要删除的项，谢谢！"), false, 70};
}

MediaGroup::MediaGroup(Settings settings, QWidget* parent)
    : QGroupBox(settings.title, parent), m_settings(std::move(settings)), m_pageKey(UnsavedMedia::newPageKey()),
      m_typeCombo(new QComboBox(this)), m_folderEdit(new QLineEdit(this)),
      m_browseButton(button(MediaTr::tr("浏览"), QStringLiteral("browseButton"), this)),
      m_addButton(button(MediaTr::tr("添加媒体"), QStringLiteral("addMediaButton"), this)),
      m_deleteButton(button(m_settings.deleteText, QStringLiteral("deleteMediaButton"), this)),
      m_list(new QTableWidget(0, 2, this)), m_player(new CWMPPlayer4(this))
{
    setObjectName(QStringLiteral("mediaGroup"));

    m_typeCombo->setObjectName(QStringLiteral("mediaTypeCombo"));
    m_typeCombo->addItems(MediaKinds::typeTexts());
    m_typeCombo->setCurrentIndex(-1);
    auto* typeLabel = new QLabel(MediaTr::tr("媒体类型"), this);
    typeLabel->setBuddy(m_typeCombo);
    m_typeCombo->setAccessibleName(typeLabel->text());

    m_folderEdit->setObjectName(QStringLiteral("mediaFolderEdit"));
    m_folderEdit->setReadOnly(true);
    auto* folderLabel = new QLabel(MediaTr::tr("文件路径"), this);
    folderLabel->setBuddy(m_folderEdit);
    m_folderEdit->setAccessibleName(folderLabel->text());

    m_list->setObjectName(QStringLiteral("attachmentList"));
    m_list->setAccessibleName(MediaTr::tr("媒体文件列表"));
    m_list->setHorizontalHeaderLabels({MediaTr::tr("媒体类型"), MediaTr::tr("媒体文件名")});
    m_list->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    m_list->horizontalHeader()->resizeSection(0, m_settings.typeColumnWidth);
    m_list->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    // Long names keep their extension in sight; the tooltip has the whole name.
    m_list->setTextElideMode(Qt::ElideMiddle);
    m_list->verticalHeader()->hide();
    m_list->setIconSize(ThumbnailSize);
    m_list->verticalHeader()->setDefaultSectionSize(
        std::max(m_list->fontMetrics().height() + 6, ThumbnailSize.height() + 4));
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setShowGrid(true);
    m_list->setWordWrap(false);
    m_list->setMinimumWidth(m_settings.typeColumnWidth + 120);

    m_player->setObjectName(QStringLiteral("player"));

    auto* playButton = button(MediaTr::tr("播放"), QStringLiteral("playButton"), this);
    auto* pauseButton = button(MediaTr::tr("暂停"), QStringLiteral("pauseButton"), this);
    auto* stopButton = button(MediaTr::tr("停止"), QStringLiteral("stopButton"), this);
    auto* fastForwardButton = button(MediaTr::tr("快进"), QStringLiteral("fastForwardButton"), this);
    auto* fullScreenButton = button(MediaTr::tr("全屏"), QStringLiteral("fullScreenButton"), this);

    auto* choose = new QHBoxLayout;
    choose->addWidget(typeLabel);
    choose->addWidget(m_typeCombo);
    choose->addSpacing(6);
    choose->addWidget(folderLabel);
    choose->addWidget(m_folderEdit, 1);
    choose->addWidget(m_browseButton);

    auto* listButtons = new QHBoxLayout;
    listButtons->addWidget(m_addButton);
    listButtons->addWidget(m_deleteButton);
    listButtons->addStretch(1);

    auto* transport = new QHBoxLayout;
    transport->addStretch(1);
    for (QPushButton* b : {playButton, pauseButton, stopButton, fastForwardButton, fullScreenButton})
        transport->addWidget(b);

    auto* grid = new QGridLayout;
    grid->addLayout(listButtons, 0, 0);
    grid->addWidget(m_list, 1, 0);
    grid->addWidget(m_player, 0, 1, 2, 1);
    grid->addLayout(transport, 2, 0, 1, 2);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(choose);
    layout->addLayout(grid, 1);

    connect(m_browseButton, &QPushButton::clicked, this, &MediaGroup::browse);
    connect(m_addButton, &QPushButton::clicked, this, &MediaGroup::addMedia);
    connect(m_deleteButton, &QPushButton::clicked, this, &MediaGroup::deleteAttachment);
    connect(playButton, &QPushButton::clicked, this, &MediaGroup::play);
    connect(pauseButton, &QPushButton::clicked, this, &MediaGroup::pause);
    connect(stopButton, &QPushButton::clicked, this, &MediaGroup::stop);
    connect(fastForwardButton, &QPushButton::clicked, this, &MediaGroup::fastForward);
    connect(fullScreenButton, &QPushButton::clicked, this, &MediaGroup::fullScreen);
    connect(m_list, &QTableWidget::cellDoubleClicked, this, &MediaGroup::play);
    connect(&ThumbnailSource::shared(), &ThumbnailSource::changed, m_list->viewport(), qOverload<>(&QWidget::update));

    // Files dragged onto any part of the group are chosen files.
    auto* drop = new FileDrop(this, [this](const QList<QUrl>& urls) { dropFiles(urls); });
    drop->watch(this);
}

MediaGroup::~MediaGroup()
{
    // Closing the program abandons what was not saved, as leaving the entry does.
    if (Database::connection().isOpen())
        abandonUnsaved();
}

QString MediaGroup::attachmentText() const
{
    return AttachmentText::write(attachmentNames());
}

void MediaGroup::setAttachmentText(const QString& text)
{
    clearAttachments();
    const QStringList names = AttachmentText::read(text);
    for (const QString& name : names) {
        // A text that names a file twice lists it once.
        if (!attachmentNames().contains(name))
            insertRow(m_list->rowCount(), MediaKinds::typeText(MediaKinds::fromName(name)), name);
    }
}

QStringList MediaGroup::chosenFiles() const
{
    QStringList names;
    for (const QString& path : m_chosen)
        names << QFileInfo(path).fileName();
    return names;
}

QStringList MediaGroup::attachmentNames() const
{
    QStringList names;
    for (int row = 0; row < m_list->rowCount(); ++row)
        names << m_list->item(row, 1)->text();
    return names;
}

void MediaGroup::clearAttachments()
{
    abandonUnsaved();
    m_list->setRowCount(0);
}

void MediaGroup::markSaved()
{
    if (m_unsaved.isEmpty())
        return;
    m_unsaved.clear();
    (void)UnsavedMedia::remove(m_pageKey);
}

void MediaGroup::abandonUnsaved()
{
    if (m_unsaved.isEmpty())
        return;
    const QList<Unsaved> abandoned = std::exchange(m_unsaved, {});
    // Forgotten first, so that the store no longer counts this page among those listing them.
    (void)UnsavedMedia::remove(m_pageKey);
    for (const Unsaved& attachment : abandoned) {
        if (attachment.copied)
            (void)m_store.removeIfUnused(attachment.name);
    }
}

std::optional<MediaGroup::Unsaved> MediaGroup::forgetUnsaved(const QString& name)
{
    for (qsizetype i = 0; i < m_unsaved.size(); ++i) {
        if (m_unsaved.at(i).name == name) {
            const Unsaved attachment = m_unsaved.takeAt(i);
            (void)UnsavedMedia::remove(m_pageKey, {name});
            return attachment;
        }
    }
    return std::nullopt;
}

void MediaGroup::removeFilesWithEntry()
{
    const QStringList names = attachmentNames();
    const QList<Unsaved> unsaved = std::exchange(m_unsaved, {});
    (void)UnsavedMedia::remove(m_pageKey);
    for (const QString& name : names) {
        // A reused file was never the entry's own.
        const bool reused =
            std::any_of(unsaved.begin(), unsaved.end(), [&](const Unsaved& u) { return u.name == name && !u.copied; });
        // A file still named elsewhere, or that cannot be checked now, stays: never lose one.
        if (!reused)
            (void)m_store.removeIfUnused(name);
    }
}

void MediaGroup::clearChoice()
{
    m_chosen.clear();
    m_folderEdit->clear();
    m_typeCombo->setCurrentIndex(-1);
}

void MediaGroup::browse()
{
    if (m_typeCombo->currentIndex() < 0) {
        message(MediaTr::tr("请选择媒体文件类型，谢谢！"));
        return;
    }
    m_chosen.clear();
    const MediaKind kind = MediaKinds::atTypeIndex(m_typeCombo->currentIndex());
    choose(DialogService::current().chooseFiles(this, MediaTr::tr("打开"), MediaKinds::dialogFilter(kind)));
}

void MediaGroup::dropFiles(const QList<QUrl>& urls)
{
    if (m_typeCombo->currentIndex() < 0) {
        message(MediaTr::tr("请选择媒体文件类型，谢谢！"));
        return;
    }
    const QStringList files = FileDrop::filesToTake(this, urls, MediaKinds::atTypeIndex(m_typeCombo->currentIndex()));
    // A drop that brings nothing to take leaves the files chosen before as they are.
    if (files.isEmpty())
        return;
    m_chosen.clear();
    choose(files);
}

void MediaGroup::choose(const QStringList& files)
{
    if (files.isEmpty()) {
        m_folderEdit->clear();
        return;
    }
    if (files.size() > MaxChosenFiles) {
        m_folderEdit->clear();
        message(MediaTr::tr("一次最多可以选择%1个文件，您选择了%2个。请分几次选择和添加。")
                    .arg(MaxChosenFiles)
                    .arg(files.size()));
        return;
    }
    // Each file keeps its folder: a drop may bring files of several.
    for (const QString& file : files)
        m_chosen << QFileInfo(file).absoluteFilePath();
    m_folderEdit->setText(QDir::toNativeSeparators(QFileInfo(files.last()).absolutePath()));
}

void MediaGroup::addMedia()
{
    const QString folder = QDir::fromNativeSeparators(m_folderEdit->text());
    const int typeIndex = m_typeCombo->currentIndex();
    if (typeIndex < 0) {
        message(MediaTr::tr("请选择媒体文件类型，谢谢！"));
        return;
    }
    if (folder.isEmpty()) {
        message(MediaTr::tr("请输入媒体文件路径，谢谢！"));
        return;
    }
    const QString type = m_typeCombo->itemText(typeIndex);
    if (const Result made = m_store.ensureFolder(); !made) {
        DialogService::current().message(this, made.error(), DialogService::Icon::Warning);
        return;
    }

    const MediaCopier::Report report = MediaCopier(m_store).copy(window(), m_chosen);

    // Each copied file is listed under the name it was stored as; the rest stay chosen, so
    // that "添加媒体" after fixing the cause adds only those.
    QStringList notAdded;
    QStringList failures;
    QStringList listed;
    for (size_t i = 0; i < report.results.size(); ++i) {
        const ResultOf<MediaStore::Stored>& result = report.results[i];
        if (result.ok()) {
            // A file chosen again, or the same content chosen from another folder, is listed once.
            if (attachmentNames().contains(result->name))
                continue;
            const int row = std::clamp(m_rowCounter, 0, m_list->rowCount());
            insertRow(row, type, result->name);
            m_rowCounter = row + 1;
            m_unsaved.append({result->name, !result->reused});
            listed << result->name;
            continue;
        }
        notAdded << m_chosen.at(int(i));
        // The file the user cancelled needs no message.
        if (!(report.cancelled && i + 1 == report.results.size()))
            failures << result.error();
    }
    notAdded << m_chosen.mid(int(report.results.size()));
    if (const Result recorded = UnsavedMedia::add(m_pageKey, listed); !recorded)
        failures << recorded.error();
    if (!failures.isEmpty() || report.cancelled) {
        m_chosen = notAdded;
        if (!failures.isEmpty())
            DialogService::current().message(this, joined(failures), DialogService::Icon::Warning);
        return;
    }

    if (DialogService::current().confirm(this, MediaTr::tr("成功添加文件！"), MediaTr::tr("系统提示")))
        clearChoice();
}

void MediaGroup::deleteAttachment()
{
    const int row = selectedRow();
    if (row < 0) {
        message(m_settings.noSelectionMessage);
        return;
    }
    if (m_settings.confirmDelete &&
        !DialogService::current().confirm(this, MediaTr::tr("确定要删除吗？"), MediaTr::tr("系统提示")))
        return;

    const QString type = m_list->item(row, 0)->text();
    const QString name = m_list->item(row, 1)->text();
    const std::optional<Unsaved> unsaved = forgetUnsaved(name);
    const auto putBack = [&] {
        insertRow(row, type, name);
        m_list->selectRow(row);
        if (unsaved) {
            m_unsaved.append(*unsaved);
            (void)UnsavedMedia::add(m_pageKey, {name});
        }
    };
    const bool entryOpen = m_entry.isOpen && m_entry.isOpen();
    m_list->removeRow(row);
    if (entryOpen && m_entry.saveAttachmentText) {
        // The row follows the list first; the file goes only once no row names it.
        if (const Result saved = m_entry.saveAttachmentText(attachmentText()); !saved) {
            putBack();
            DialogService::current().message(this, saved.error(), DialogService::Icon::Warning);
            return;
        }
        markSaved();
    }
    const auto removed = [this](bool said) {
        if (said)
            message(MediaTr::tr("成功删除"));
        if (m_settings.deleteLowersRowCounter)
            m_rowCounter = std::max(0, m_rowCounter - 1);
    };
    if (m_player->URL() == m_store.filePath(name))
        m_player->close();
    // A file the store reused rather than copied for this entry belongs to others: it stays.
    if (unsaved && !unsaved->copied) {
        removed(true);
        return;
    }
    const ResultOf<MediaStore::Removal> removal = m_store.removeIfUnused(name);
    if (!removal) {
        // Without an entry the list is all there is: keep the row, so that nothing is lost.
        if (!entryOpen)
            putBack();
        DialogService::current().message(this, removal.error(), DialogService::Icon::Warning);
        return;
    }
    removed(*removal != MediaStore::Removal::Missing);
}

void MediaGroup::play()
{
    const int row = selectedRow();
    if (row < 0)
        return;
    const QString path = m_store.filePath(m_list->item(row, 1)->text());
    // Resume only the file that was paused; another chosen row starts that one.
    if (m_playState && m_player->URL() == path) {
        m_playState = false;
        m_player->play();
        return;
    }
    m_playState = false;
    m_player->setURL(path);
}

void MediaGroup::pause()
{
    m_playState = true;
    m_player->pause();
}

void MediaGroup::stop()
{
    m_playState = false;
    m_player->close();
}

void MediaGroup::fastForward()
{
    m_playState = true;
    m_player->fastForward();
}

void MediaGroup::fullScreen()
{
    m_player->setFullScreen(true);
}

int MediaGroup::selectedRow() const
{
    const QList<QTableWidgetSelectionRange> ranges = m_list->selectedRanges();
    return ranges.isEmpty() ? -1 : ranges.first().topRow();
}

void MediaGroup::insertRow(int row, const QString& type, const QString& name)
{
    m_list->insertRow(row);
    for (int column = 0; column < 2; ++column) {
        auto* item = column == 0 ? new QTableWidgetItem(type) : new AttachmentItem(name, m_store.filePath(name));
        item->setTextAlignment(Qt::AlignCenter);
        item->setToolTip(name);
        m_list->setItem(row, column, item);
    }
}

void MediaGroup::message(const QString& text)
{
    DialogService::current().message(this, text);
}
