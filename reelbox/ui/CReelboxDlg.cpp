#include "reelbox/ui/CReelboxDlg.h"
#include "reelbox/ReelboxTr.h"

#include "backup/ui/BackupActions.h"
#include "common/Clock.h"
#include "common/TextOrder.h"
#include "common/ui/CSkinDlg.h"
#include "common/ui/DialogService.h"
#include "common/ui/HelpService.h"
#include "common/ui/LimitedTextEdit.h"
#include "common/ui/SkinEngine.h"
#include "data/ProgramSettings.h"
#include "data/UnsavedMedia.h"
#include "data/tables/Skins.h"
#include "media/MediaFolder.h"
#include "media/MediaStore.h"
#include "media/ui/CPictureViewDlg.h"
#include "media/ui/CWMPPlayer4.h"
#include "media/ui/FileDrop.h"
#include "media/ui/MediaCopier.h"
#include "media/ui/PictureFrame.h"
#include "media/ui/ThumbnailSource.h"
#include "reelbox/Catalogue.h"
#include "reelbox/ui/CReelboxAboutDlg.h"
#include "reelbox/ui/CatalogueListModel.h"
#include "reelbox/ui/DialogUnitLayout.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

using Height = DialogUnitLayout::Height;

// The window is designed on a grid of 512 × 365 dialog units.
const QSizeF Grid(512, 365);

// Thumbnails beside the names of the report, and in the grid with the names under them.
const QSize RowThumbnail(32, 24);
const QSize GridThumbnail(96, 72);

const QString HelpPage = QStringLiteral("qthelp://kestrin.help/doc/html/reelbox.html");

QString addTypeBox()
{
    return ReelboxTr::tr("增加的“类型”");
}

// Pixels per dialog unit: what the font asks for, grown on a large screen so the player gets
// room, and shrunk on a small one so the whole window fits.
qreal unitForScreen(const QWidget* window)
{
    const qreal fromFont = QFontInfo(window->font()).pixelSize() / 7.5;
    const QScreen* screen = window->screen();
    if (!screen)
        return fromFont;
    const QRect available = screen->availableGeometry();
    const qreal fitting = std::min(0.92 * available.height() / Grid.height(), 0.95 * available.width() / Grid.width());
    const qreal roomy = 0.62 * available.height() / Grid.height();
    return std::min(std::max(fromFont, roomy), fitting);
}

MediaKind kindOfType(const QString& type)
{
    for (MediaKind kind : MediaKinds::Choosable) {
        if (MediaKinds::typeText(kind) == type)
            return kind;
    }
    return MediaKind::Other;
}

// The cells of the grid: one size whatever a cell shows, the type's icon while its thumbnail
// is made or the thumbnail once it is there, so that the grid's layout never changes.
class GridDelegate : public QStyledItemDelegate
{
public:
    GridDelegate(QListView* grid, QSize icon) : QStyledItemDelegate(grid), m_grid(grid), m_icon(icon) {}

    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override
    {
        return m_grid->gridSize() - QSize(4, 4);
    }

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        option->decorationSize = m_icon;
    }

private:
    QListView* m_grid;
    QSize m_icon;
};

// Several failures in one message: the first few whole, the rest counted.
QString joined(const QStringList& messages)
{
    constexpr int shown = 5;
    QStringList lines = messages.mid(0, shown);
    if (messages.size() > shown)
        lines << ReelboxTr::tr("另有%1个文件也是这样。").arg(messages.size() - shown);
    return lines.join(QStringLiteral("\n\n"));
}

} // namespace

CReelboxDlg::CReelboxDlg(QWidget* parent)
    : MainWindowBase(parent), m_layout(new DialogUnitLayout(Grid, unitForScreen(this), this)),
      m_model(new CatalogueListModel(this))
{
    setObjectName(QStringLiteral("reelboxWindow"));
    setWindowTitle(ReelboxTr::tr("禾岚森儿童成长媒体文件管理系统V1.0"));
    setWindowIcon(programIcon(QStringLiteral(":/reelbox/reelbox-64.png")));
    // The window takes the dialog scheme of the skin itself, with its own setting.
    SkinEngine::applySchemeToWindow(this, QStringLiteral("Dialog"));
    SkinEngine::setWindowSetting(this, 3);

    buildControls();
    buildGrid();
    fillLists();
    // "备份…" and "恢复…" beside the About item, as in every program of the suite.
    BackupActions::install(*this);
    // The frame would show through the gaps of the player's controls: it waits, hidden, for
    // the first picture search.
    showPlayer(true);
    resize(m_layout->sizeHint());
}

CReelboxDlg::~CReelboxDlg() = default;

void CReelboxDlg::buildControls()
{
    const auto label = [this](const QString& text, qreal x, qreal y, QWidget* buddy = nullptr) {
        auto* l = new QLabel(text, this);
        if (buddy) {
            l->setBuddy(buddy);
            buddy->setAccessibleName(text);
        }
        m_layout->place(l, QRectF(x, y, 0, 8), Height::Natural);
        return l;
    };
    const auto button = [this](const QString& text, const QString& name, QRectF rect) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        b->setAccessibleName(text);
        // Enter never presses a button of this window.
        b->setAutoDefault(false);
        m_layout->place(b, rect);
        return b;
    };
    const auto combo = [this](const QString& name, QRectF rect) {
        auto* c = new QComboBox(this);
        c->setObjectName(name);
        c->setEditable(true);
        c->setInsertPolicy(QComboBox::NoInsert);
        c->setMaxVisibleItems(12);
        c->setMinimumContentsLength(2);
        c->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        m_layout->place(c, rect, Height::Natural);
        return c;
    };
    const auto edit = [this](const QString& name, QRectF rect) {
        auto* e = new QLineEdit(this);
        e->setObjectName(name);
        m_layout->place(e, rect, Height::Natural);
        return e;
    };

    // Group boxes first: the controls drawn over them come later.
    auto* searchGroup = new QGroupBox(ReelboxTr::tr("查找"), this);
    searchGroup->setObjectName(QStringLiteral("searchGroup"));
    m_layout->place(searchGroup, QRectF(13, 15, 169, 87));
    auto* addGroup = new QGroupBox(ReelboxTr::tr("增加"), this);
    addGroup->setObjectName(QStringLiteral("addGroup"));
    m_layout->place(addGroup, QRectF(189, 259, 311, 99));

    // The picture frame and the player share one place; the player lies over the frame.
    m_frameGroup = new QGroupBox(this);
    m_frameGroup->setObjectName(QStringLiteral("pictureFrameGroup"));
    m_frame = new PictureFrame(m_frameGroup);
    m_frame->installEventFilter(this);
    auto* frameLayout = new QVBoxLayout(m_frameGroup);
    frameLayout->setContentsMargins(3, 3, 3, 3);
    frameLayout->addWidget(m_frame);
    m_layout->place(m_frameGroup, QRectF(196, 25, 296, 212));

    // Search group.
    m_searchKeyword = edit(QStringLiteral("searchKeywordEdit"), QRectF(55, 26, 117, 13));
    label(ReelboxTr::tr("关键字"), 19, 30, m_searchKeyword);
    m_layout->place(new QLabel(ReelboxTr::tr("日期"), this), QRectF(18, 48, 0, 8), Height::Natural);
    m_searchYear = combo(QStringLiteral("searchYearCombo"), QRectF(54, 46, 36, 13));
    label(ReelboxTr::tr("年"), 91, 48, m_searchYear);
    m_searchMonth = combo(QStringLiteral("searchMonthCombo"), QRectF(99, 46, 28, 13));
    label(ReelboxTr::tr("月"), 128, 48, m_searchMonth);
    m_searchDay = combo(QStringLiteral("searchDayCombo"), QRectF(137, 46, 27, 13));
    label(ReelboxTr::tr("日"), 165, 48, m_searchDay);
    m_searchType = combo(QStringLiteral("searchTypeCombo"), QRectF(55, 66, 78, 13));
    label(ReelboxTr::tr("类型"), 24, 68, m_searchType);
    auto* help = button(ReelboxTr::tr("帮助"), QStringLiteral("helpButton"), QRectF(17, 85, 38, 16));
    auto* skin = button(ReelboxTr::tr("换皮肤"), QStringLiteral("changeSkinButton"), QRectF(59, 85, 38, 16));
    auto* searchButton = button(ReelboxTr::tr("搜索"), QStringLiteral("searchButton"), QRectF(101, 85, 38, 16));
    m_deleteButton = button(ReelboxTr::tr("删除"), QStringLiteral("deleteButton"), QRectF(141, 85, 38, 16));

    // Result list: one row per file, several rows may be selected for deleting.
    m_list = new QTableView(this);
    m_list->setObjectName(QStringLiteral("resultList"));
    m_list->setAccessibleName(ReelboxTr::tr("媒体文件列表"));
    m_list->setModel(m_model);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setShowGrid(true);
    m_list->setWordWrap(false);
    m_list->setTextElideMode(Qt::ElideMiddle);
    m_list->verticalHeader()->hide();
    m_list->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_list->setIconSize(RowThumbnail);
    m_list->verticalHeader()->setDefaultSectionSize(
        std::max(m_list->fontMetrics().height() + 6, RowThumbnail.height() + 4));
    m_list->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    m_list->horizontalHeader()->setStretchLastSection(true);
    m_list->horizontalHeader()->setHighlightSections(false);
    m_list->installEventFilter(this);
    m_layout->place(m_list, QRectF(11, 104, 170, 242));
    m_gridCheck = new QCheckBox(ReelboxTr::tr("缩略图"), this);
    m_gridCheck->setObjectName(QStringLiteral("thumbnailGridCheck"));
    m_gridCheck->setAccessibleName(m_gridCheck->text());
    m_layout->place(m_gridCheck, QRectF(13, 349, 60, 12), Height::Natural);
    connect(m_list, &QTableView::clicked, this, &CReelboxDlg::selectRow);
    connect(m_list->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &CReelboxDlg::selectRow);

    auto* full = button(ReelboxTr::tr("全屏"), QStringLiteral("fullScreenButton"), QRectF(196, 238, 300, 19));

    // Add group: files dragged onto any of its controls are chosen files.
    const QList<QWidget*> before = findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    m_addType = combo(QStringLiteral("addTypeCombo"), QRectF(229, 269, 53, 13));
    label(ReelboxTr::tr("类型"), 196, 271, m_addType);
    m_addYear = combo(QStringLiteral("addYearCombo"), QRectF(294, 269, 42, 13));
    label(ReelboxTr::tr("年"), 338, 271, m_addYear);
    m_addMonth = combo(QStringLiteral("addMonthCombo"), QRectF(348, 269, 32, 13));
    label(ReelboxTr::tr("月"), 382, 271, m_addMonth);
    m_addDay = combo(QStringLiteral("addDayCombo"), QRectF(398, 269, 32, 13));
    label(ReelboxTr::tr("日"), 432, 271, m_addDay);
    // Shows the folder of the files chosen last; each chosen file keeps its own folder.
    m_path = edit(QStringLiteral("pathEdit"), QRectF(229, 287, 91, 15));
    label(ReelboxTr::tr("路径"), 196, 291, m_path);
    auto* browseButton = button(ReelboxTr::tr("浏览..."), QStringLiteral("browseButton"), QRectF(328, 288, 41, 15));
    m_addKeyword = edit(QStringLiteral("addKeywordEdit"), QRectF(403, 288, 88, 16));
    m_addKeyword->setMaxLength(MaxKeyword);
    label(ReelboxTr::tr("关键字"), 374, 292, m_addKeyword);
    m_description = new LimitedTextEdit(MaxDescription, this);
    m_description->setObjectName(QStringLiteral("descriptionEdit"));
    m_description->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_description->setTabChangesFocus(true);
    m_layout->place(m_description, QRectF(229, 308, 220, 47));
    label(ReelboxTr::tr("描述"), 199, 322, m_description);
    auto* addButton = button(ReelboxTr::tr("添加"), QStringLiteral("addButton"), QRectF(453, 323, 42, 20));

    auto* drop = new FileDrop(this, [this](const QList<QUrl>& urls) { dropFiles(urls); });
    drop->watch(addGroup);
    for (QWidget* part : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!before.contains(part))
            drop->watch(part);
    }

    // Without a system menu, the About item sits behind a button above the player.
    m_layout->place(windowMenuButton(), QRectF(456, 7, 40, 14));

    connect(help, &QPushButton::clicked, this, &CReelboxDlg::showHelp);
    connect(skin, &QPushButton::clicked, this, &CReelboxDlg::changeSkin);
    connect(searchButton, &QPushButton::clicked, this, &CReelboxDlg::search);
    connect(m_deleteButton, &QPushButton::clicked, this, &CReelboxDlg::deleteSelected);
    connect(full, &QPushButton::clicked, this, &CReelboxDlg::fullScreen);
    connect(browseButton, &QPushButton::clicked, this, &CReelboxDlg::browse);
    connect(addButton, &QPushButton::clicked, this, &CReelboxDlg::addFiles);
}

void CReelboxDlg::buildGrid()
{
    // The grid shows the same rows with the same selection, so every button acts on it alike.
    m_grid = new QListView(this);
    m_grid->setObjectName(QStringLiteral("thumbnailGrid"));
    m_grid->setAccessibleName(ReelboxTr::tr("媒体文件列表"));
    m_grid->setModel(m_model);
    m_grid->setModelColumn(CatalogueListModel::NameColumn);
    m_grid->setSelectionModel(m_list->selectionModel());
    m_grid->setSelectionMode(QAbstractItemView::ExtendedSelection);
    // Whole rows, as the report selects them, so deleting finds them.
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setViewMode(QListView::IconMode);
    m_grid->setMovement(QListView::Static);
    m_grid->setResizeMode(QListView::Adjust);
    m_grid->setUniformItemSizes(true);
    m_grid->setLayoutMode(QListView::Batched);
    m_grid->setIconSize(GridThumbnail);
    m_grid->setGridSize(GridThumbnail + QSize(12, m_grid->fontMetrics().height() + 12));
    m_grid->setItemDelegate(new GridDelegate(m_grid, GridThumbnail));
    m_grid->installEventFilter(this);
    m_grid->setTextElideMode(Qt::ElideMiddle);
    m_grid->setWordWrap(false);
    m_grid->setSpacing(2);
    m_layout->place(m_grid, QRectF(11, 104, 170, 242));
    connect(m_grid, &QListView::clicked, this, &CReelboxDlg::selectRow);

    m_model->setThumbnails(&ThumbnailSource::shared(), thumbnailPixels(false));
    // A finished thumbnail repaints the rows on screen; no row changes size.
    connect(&ThumbnailSource::shared(), &ThumbnailSource::changed, this, [this] {
        m_list->viewport()->update();
        m_grid->viewport()->update();
    });

    const bool grid = ProgramSettings::value(GridSetting, QStringLiteral("0")) == QStringLiteral("1");
    m_gridCheck->setChecked(grid);
    m_grid->setVisible(grid);
    m_list->setVisible(!grid);
    m_model->setThumbnailPixels(thumbnailPixels(grid));
    connect(m_gridCheck, &QCheckBox::toggled, this, &CReelboxDlg::showThumbnailGrid);
}

int CReelboxDlg::thumbnailPixels(bool grid) const
{
    // On a high-density screen the grid takes the large thumbnails.
    return qRound((grid ? GridThumbnail : RowThumbnail).width() * devicePixelRatioF());
}

bool CReelboxDlg::showingThumbnailGrid() const
{
    return m_gridCheck->isChecked();
}

void CReelboxDlg::showThumbnailGrid(bool grid)
{
    if (m_gridCheck->isChecked() != grid) {
        // The box calls back here.
        m_gridCheck->setChecked(grid);
        return;
    }
    m_model->setThumbnailPixels(thumbnailPixels(grid));
    m_grid->setVisible(grid);
    m_list->setVisible(!grid);
    QAbstractItemView* shown = grid ? static_cast<QAbstractItemView*>(m_grid) : m_list;
    if (m_list->currentIndex().isValid())
        shown->scrollTo(m_list->currentIndex());
    if (const Result saved = ProgramSettings::setValue(GridSetting, grid ? QStringLiteral("1") : QStringLiteral("0"));
        !saved)
        warning(saved.error());
}

void CReelboxDlg::fillLists()
{
    // Both type lists are kept in pinyin order: 视频文件, 图像文件, 音频文件.
    const QStringList types =
        TextOrder::sortedByPinyin({MediaKinds::typeText(MediaKind::Sound), MediaKinds::typeText(MediaKind::Video),
                                   MediaKinds::typeText(MediaKind::Picture)});
    const QStringList years = Catalogue::years(Clock::current().today());
    const QList<QComboBox*> lists{m_searchType,  m_addType,  m_searchYear, m_addYear,
                                  m_searchMonth, m_addMonth, m_searchDay,  m_addDay};
    // Each list starts with an empty entry, so a choice can be taken back. It goes in first: the
    // box then shows it while the texts are added, instead of laying out a text it drops again.
    for (QComboBox* c : lists)
        c->addItem(QString());
    for (QComboBox* c : {m_searchType, m_addType})
        c->addItems(types);
    for (QComboBox* c : {m_searchYear, m_addYear})
        c->addItems(years);
    for (QComboBox* c : {m_searchMonth, m_addMonth})
        c->addItems(Catalogue::months());
    for (QComboBox* c : {m_searchDay, m_addDay})
        c->addItems(Catalogue::days());
    for (QComboBox* c : lists)
        c->setCurrentIndex(-1);
}

void CReelboxDlg::paintEvent(QPaintEvent* event)
{
    MainWindowBase::paintEvent(event);
    // The player and its animation start once the window has been drawn: the window shows at
    // once, and the media framework starts while the user looks at it.
    if (!m_welcomed) {
        m_welcomed = true;
        QTimer::singleShot(0, this, &CReelboxDlg::startWelcomeAnimation);
    }
}

void CReelboxDlg::startWelcomeAnimation()
{
    // Without the file the player shows its empty display, as it does with nothing to play.
    CWMPPlayer4* display = player();
    const QString path = MediaFolder::filePath(WelcomeAnimation);
    if (!QFileInfo(path).isFile())
        return;
    display->setURL(path);
    display->play();
}

CWMPPlayer4* CReelboxDlg::player()
{
    // Made on first use, which is right after the window first shows: starting the media
    // framework takes a while, and the window need not wait for it.
    if (!m_player) {
        m_player = new CWMPPlayer4(this);
        m_player->setObjectName(QStringLiteral("player"));
        m_player->setMinimumSize(0, 0);
        m_layout->place(m_player, QRectF(196, 32, 296, 203));
        connect(m_player, &CWMPPlayer4::doubleClicked, this, &CReelboxDlg::fullScreen);
        // The player lies over the picture frame.
        m_player->raise();
        m_player->setVisible(!m_showingPictures);
    }
    return m_player;
}

void CReelboxDlg::showPlayer(bool player)
{
    if (m_player)
        m_player->setVisible(player);
    m_frameGroup->setVisible(!player);
}

bool CReelboxDlg::readBox(const QComboBox* combo, BoxReader reader, const QString& box, QString& value)
{
    // What the box shows, whether picked from its list or typed over it.
    const ResultOf<QString> read = reader(combo->currentText(), box);
    if (!read) {
        message(read.error());
        return false;
    }
    value = *read;
    return true;
}

void CReelboxDlg::message(const QString& text)
{
    DialogService::current().message(this, text);
}

void CReelboxDlg::warning(const QString& text)
{
    DialogService::current().message(this, text, DialogService::Icon::Warning);
}

bool CReelboxDlg::addKind(MediaKind& kind)
{
    QString type;
    if (!readBox(m_addType, &Catalogue::typeIn, addTypeBox(), type))
        return false;
    if (type.isEmpty()) {
        message(ReelboxTr::tr("请选择媒体文件类型，谢谢！"));
        return false;
    }
    kind = kindOfType(type);
    return true;
}

void CReelboxDlg::browse()
{
    MediaKind kind = MediaKind::Other;
    if (!addKind(kind))
        return;
    choose(DialogService::current().chooseFiles(this, ReelboxTr::tr("打开"), MediaKinds::dialogFilter(kind)));
}

void CReelboxDlg::dropFiles(const QList<QUrl>& urls)
{
    MediaKind kind = MediaKind::Other;
    if (!addKind(kind))
        return;
    const QStringList files = FileDrop::filesToTake(this, urls, kind);
    // A drop that brings nothing to take leaves the path as it was.
    if (!files.isEmpty())
        choose(files);
}

void CReelboxDlg::choose(const QStringList& files)
{
    if (files.isEmpty()) {
        m_path->clear();
        return;
    }
    if (const Result added = m_chosen.append(files, MediaFolder::path()); !added) {
        warning(added.error());
        return;
    }
    m_path->setText(QDir::toNativeSeparators(QFileInfo(files.last()).absolutePath()));
}

void CReelboxDlg::addFiles()
{
    // What is filed is what the boxes show, each checked in turn.
    QString type;
    QString year;
    QString month;
    QString day;
    const struct
    {
        QComboBox* combo;
        BoxReader reader;
        QString box;
        QString* value;
        QString missing;
    } boxes[] = {
        {m_addType, &Catalogue::typeIn, addTypeBox(), &type, ReelboxTr::tr("请选择媒体文件类型，谢谢！")},
        {m_addYear, &Catalogue::yearIn, ReelboxTr::tr("增加的“年”"), &year, ReelboxTr::tr("请选择年，谢谢！")},
        {m_addMonth, &Catalogue::monthIn, ReelboxTr::tr("增加的“月”"), &month, ReelboxTr::tr("请选择月，谢谢！")},
        {m_addDay, &Catalogue::dayIn, ReelboxTr::tr("增加的“日”"), &day, ReelboxTr::tr("请选择日，谢谢！")},
    };
    for (const auto& b : boxes) {
        if (!readBox(b.combo, b.reader, b.box, *b.value))
            return;
        if (b.value->isEmpty()) {
            message(b.missing);
            return;
        }
    }
    if (m_path->text().isEmpty()) {
        message(ReelboxTr::tr("请输入媒体文件路径，谢谢！"));
        return;
    }
    if (m_chosen.isEmpty()) {
        message(ReelboxTr::tr("还没有选择要添加的文件，没有添加任何记录。请先按“浏览...”选择文件，谢谢！"));
        return;
    }

    const MediaStore store;
    if (const Result made = store.ensureFolder(); !made) {
        warning(made.error());
        return;
    }
    const MediaCopier::Report report = MediaCopier(store).copy(this, m_chosen.paths());

    // Each copied file is recorded under the name it was stored as; a file that could not be
    // copied is not recorded.
    QStringList stored;
    QStringList fresh;
    QStringList failures;
    for (size_t i = 0; i < report.results.size(); ++i) {
        const ResultOf<MediaStore::Stored>& result = report.results[i];
        if (result.ok()) {
            stored << result->name;
            if (!result->reused)
                fresh << result->name;
        } else if (!(report.cancelled && i + 1 == report.results.size())) {
            failures << result.error();
        }
    }
    // Until the record is written, no program deletes the files it is to name.
    const QString pageKey = UnsavedMedia::newPageKey();
    (void)UnsavedMedia::add(pageKey, stored);
    const auto release = qScopeGuard([&pageKey] { (void)UnsavedMedia::remove(pageKey); });
    // Copies that end up in no record do not stay behind in the media folder.
    const auto dropFresh = [&store, &fresh, &pageKey] {
        (void)UnsavedMedia::remove(pageKey);
        for (const QString& name : std::as_const(fresh))
            (void)store.removeIfUnused(name);
    };
    if (report.cancelled) {
        dropFresh();
        return;
    }
    if (!failures.isEmpty())
        warning(joined(failures));
    if (stored.isEmpty())
        return;
    if (!DialogService::current().confirm(this, ReelboxTr::tr("成功添加文件！"), ReelboxTr::tr("系统提示"))) {
        dropFresh();
        return;
    }

    const CatalogueRecord entry{0,    Catalogue::dateText(year, month, day), m_addKeyword->text(),
                                type, m_description->toPlainText(),          stored};
    if (const ResultOf<qint64> id = Catalogue::add(entry); !id) {
        dropFresh();
        warning(id.error());
        return;
    }
    m_chosen.clear();
    m_addType->setCurrentIndex(-1);
    m_path->clear();
    m_description->clear();
    m_addKeyword->clear();
}

void CReelboxDlg::search()
{
    player()->close();
    m_model->clear();
    // A new list: its first row is new too, whatever row was selected before.
    m_lastSelectedRow = -1;
    m_currentFile.clear();
    m_frame->clear();

    // What is searched is what the boxes show; an emptied box limits nothing.
    CatalogueSearch criteria;
    criteria.keyword = m_searchKeyword->text();
    const bool read = readBox(m_searchType, &Catalogue::typeIn, ReelboxTr::tr("查找的“类型”"), criteria.type);
    m_showingPictures = read && criteria.type == MediaKinds::typeText(MediaKind::Picture);
    showPlayer(!m_showingPictures);
    if (!read)
        return;
    if (criteria.type.isEmpty()) {
        message(ReelboxTr::tr("请选择类型"));
        return;
    }
    if (!readBox(m_searchYear, &Catalogue::yearIn, ReelboxTr::tr("查找的“年”"), criteria.year) ||
        !readBox(m_searchMonth, &Catalogue::monthIn, ReelboxTr::tr("查找的“月”"), criteria.month) ||
        !readBox(m_searchDay, &Catalogue::dayIn, ReelboxTr::tr("查找的“日”"), criteria.day))
        return;
    ResultOf<CatalogueResult> found = Catalogue::search(criteria);
    if (!found) {
        warning(found.error());
        return;
    }
    if (found->records == 0) {
        message(ReelboxTr::tr("还没有记录"));
        return;
    }
    m_model->setRows(std::move(found->rows));
    if (m_model->rowCount() == 0)
        message(ReelboxTr::tr("没有搜索到你要的记录"));
}

void CReelboxDlg::selectRow()
{
    const QModelIndex mark = m_list->currentIndex();
    const int row = mark.isValid() ? mark.row() : -1;
    if (row == m_lastSelectedRow)
        return;
    m_lastSelectedRow = row;
    if (row < 0)
        return;

    const CatalogueRow& selected = m_model->row(row);
    m_currentFile = MediaFolder::filePath(selected.name);
    if (m_showingPictures) {
        // The frame knows a picture by its content, as the viewer does, whatever the name ends
        // in; a sound or video a picture record names leaves it white.
        m_frame->showFile(m_currentFile);
    } else {
        player()->setURL(m_currentFile);
    }
    fillAddGroup(selected.id);
    m_deleteButton->setEnabled(true);
}

void CReelboxDlg::fillAddGroup(qint32 id)
{
    const ResultOf<CatalogueRecord> record = Catalogue::record(id);
    if (!record) {
        warning(record.error());
        return;
    }
    m_addKeyword->setText(record->keyword);
    m_description->setStoredText(record->description);
    // A value the list lacks (a year before 2000, say) is shown as it is stored.
    const auto select = [](QComboBox* combo, const QString& text) {
        const int index = combo->findText(text);
        if (index >= 0)
            combo->setCurrentIndex(index);
        else
            combo->setEditText(text);
    };
    select(m_addYear, Catalogue::yearOf(record->date));
    select(m_addMonth, Catalogue::monthOf(record->date));
    select(m_addDay, Catalogue::dayOf(record->date));
    // The type shown is the type the next filing takes.
    select(m_addType, record->type);
}

void CReelboxDlg::deleteSelected()
{
    if (!DialogService::current().confirm(this, ReelboxTr::tr("确定要删除吗？"), ReelboxTr::tr("系统提示")))
        return;
    QModelIndexList selected = m_list->selectionModel()->selectedRows();
    std::sort(selected.begin(), selected.end());
    std::vector<CatalogueRow> rows;
    for (const QModelIndex& index : std::as_const(selected))
        rows.push_back(m_model->row(index.row()));

    QStringList problems;
    if (!rows.empty()) {
        // The player and the frame let go of the files before they go.
        player()->close();
        m_frame->clear();
        const ResultOf<CatalogueDeletion> done = Catalogue::removeFiles(rows, MediaStore());
        if (!done) {
            warning(done.error());
            return;
        }
        problems = done->problems;
    }
    message(ReelboxTr::tr("删除成功"));
    if (!problems.isEmpty())
        warning(joined(problems));

    search();
    m_description->clear();
    m_addKeyword->clear();
    for (QComboBox* c : {m_addType, m_addYear, m_addMonth, m_addDay})
        c->setCurrentIndex(-1);
}

void CReelboxDlg::fullScreen()
{
    if (m_showingPictures)
        openViewer();
    else
        player()->setFullScreen(true);
}

void CReelboxDlg::openViewer()
{
    const QModelIndex mark = m_list->currentIndex();
    if (m_currentFile.isEmpty() || !mark.isValid())
        return;
    CPictureViewDlg* pictures = viewer();
    pictures->setPictures(m_model->names(), mark.row(), m_currentFile);
    pictures->exec();
}

CPictureViewDlg* CReelboxDlg::viewer()
{
    // Made when first opened; it then keeps its slide-show speed for the rest of the run.
    if (!m_viewer)
        m_viewer = new CPictureViewDlg(MediaFolder::path(), this);
    return m_viewer;
}

void CReelboxDlg::changeSkin()
{
    CSkinDlg::changeSkin(std::make_unique<CSKIN>(), ReelboxTr::tr("皮肤文件对话框"), this);
}

void CReelboxDlg::showHelp()
{
    HelpService::show(this, HelpPage);
}

void CReelboxDlg::showAbout()
{
    CReelboxAboutDlg about(this);
    about.exec();
}

bool CReelboxDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_frame && event->type() == QEvent::MouseButtonDblClick) {
        fullScreen();
        return true;
    }
    if (watched == m_grid && event->type() == QEvent::Resize) {
        // As many columns as the list's width takes, sharing what is left over.
        const int width = m_grid->maximumViewportSize().width() - m_grid->verticalScrollBar()->sizeHint().width();
        const int columns = std::max(1, width / (GridThumbnail.width() + 12));
        m_grid->setGridSize({std::max(GridThumbnail.width() + 12, width / columns), m_grid->gridSize().height()});
    }
    if (watched == m_list && event->type() == QEvent::Resize) {
        // Beside the name sits its thumbnail.
        // "编号" and "媒体类型" take a quarter of the list each; the name takes the rest.
        const int column = int(m_list->width() * 0.99) / 4;
        m_list->horizontalHeader()->resizeSection(CatalogueListModel::IdColumn, column);
        m_list->horizontalHeader()->resizeSection(CatalogueListModel::TypeColumn, column);
    }
    return MainWindowBase::eventFilter(watched, event);
}
