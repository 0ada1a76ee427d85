#include "data/ProgramSettings.h"
#include "media/ThumbnailCache.h"
#include "media/ui/ThumbnailSource.h"
#include "reelbox/ui/CReelboxDlg.h"
#include "reelbox/ui/CatalogueListModel.h"
#include "tests/support/FileDrops.h"
#include "tests/support/FixedClock.h"
#include "tests/support/GuiSupport.h"
#include "tests/support/ReelboxWindowTest.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/TestMedia.h"
#include "tests/support/TestPictures.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QListView>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTableView>

// Reelbox's list with thumbnails, as a report and as a grid, and files dropped on its add group
// from a file manager, through real drag-and-drop events.
class TestReelboxThumbnails : public ReelboxWindowTest
{
    Q_OBJECT

private:
    ThumbnailLoader& loader() const { return ThumbnailSource::shared().loader(); }

    // A record of pictures stored in the media folder, each of one colour.
    void pictures(const QStringList& names, const QString& keyword, const QColor& colour = Qt::red)
    {
        QVERIFY(MediaFolder::ensureExists());
        QString music;
        for (const QString& name : names) {
            TestPictures::write(QDir(m_media->media()), name, {320, 240}, colour, "jpg");
            music += QLatin1Char(' ') + name;
        }
        m_db->exec(QStringLiteral("INSERT INTO mplay (riqi, [key], leixing, miaoshu, music) VALUES (?, ?, ?, ?, ?)"),
                   {QStringLiteral("2026\\03\\07"), keyword, QStringLiteral("图像文件"), QString(), music});
    }

    void search(const QString& keyword)
    {
        choose(combo(QStringLiteral("searchTypeCombo")), QStringLiteral("图像文件"));
        Gui::find<QLineEdit>(m_window.get(), QStringLiteral("searchKeywordEdit"))->setText(keyword);
        Gui::click(m_window.get(), QStringLiteral("searchButton"));
    }

    // Paints the list shown, as the screen would, so it asks for the thumbnails of its rows.
    void paintList() const
    {
        QAbstractItemView* shown = m_window->showingThumbnailGrid()
                                       ? static_cast<QAbstractItemView*>(m_window->thumbnailGrid())
                                       : m_window->resultList();
        (void)shown->viewport()->grab();
    }

    int thumbnailsMade(const QStringList& names) const
    {
        int made = 0;
        for (const QString& name : names)
            made += QFileInfo::exists(
                        ThumbnailCache().thumbnailPath(MediaFolder::filePath(name), ThumbnailCache::Size::Normal))
                        ? 1
                        : 0;
        return made;
    }

    static bool drop(QWidget* target, const QList<QUrl>& urls) { return FileDrops::drop(target, urls); }

    QString chosenFile(const QString& name, const QByteArray& content) const
    {
        const QString path = m_media->chosen() + QLatin1Char('/') + name;
        TestMedia::write(path, content);
        return path;
    }

private slots:
    void init() { startFixture(); }

    void cleanup()
    {
        m_window.reset();
        loader().waitForIdle();
        endFixture();
    }

    void thumbnailsInReportAndGrid()
    {
        pictures({QStringLiteral("红.jpg")}, QStringLiteral("a"), Qt::red);
        pictures({QStringLiteral("蓝 色.jpg")}, QStringLiteral("a"), Qt::blue);
        search(QStringLiteral("a"));
        QCOMPARE(m_window->listModel()->rowCount(), 2);
        QVERIFY(m_window->resultList()->isVisible());
        QVERIFY(!m_window->thumbnailGrid()->isVisible());

        // Beside each name its picture, once made; the columns stay as they were.
        paintList();
        loader().waitForIdle();
        QCOMPARE(thumbnailsMade({QStringLiteral("红.jpg"), QStringLiteral("蓝 色.jpg")}), 2);
        CatalogueListModel* model = m_window->listModel();
        const auto colourOf = [model](int row) {
            const QImage shown =
                qvariant_cast<QIcon>(model->index(row, CatalogueListModel::NameColumn).data(Qt::DecorationRole))
                    .pixmap(32, 24)
                    .toImage();
            return shown.pixelColor(shown.width() / 2, shown.height() / 2);
        };
        // The newer record's rows come first.
        QVERIFY(colourOf(0).blue() > 200 && colourOf(0).red() < 60);
        QVERIFY(colourOf(1).red() > 200 && colourOf(1).blue() < 60);
        QCOMPARE(model->index(0, CatalogueListModel::NameColumn).data().toString(), QStringLiteral("蓝 色.jpg"));
        QVERIFY(!model->index(0, CatalogueListModel::IdColumn).data(Qt::DecorationRole).isValid());

        // "缩略图" shows the grid, with the same selection, and the choice is remembered.
        Gui::click(m_window.get(), QStringLiteral("thumbnailGridCheck"));
        QListView* grid = m_window->thumbnailGrid();
        QVERIFY(grid->isVisible());
        QVERIFY(!m_window->resultList()->isVisible());
        QCOMPARE(ProgramSettings::value(CReelboxDlg::GridSetting, {}), QStringLiteral("1"));
        const QModelIndex second = model->index(1, CatalogueListModel::NameColumn);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(second).center());
        QCOMPARE(m_window->currentFile(), MediaFolder::filePath(QStringLiteral("红.jpg")));
        QCOMPARE(m_window->resultList()->selectionModel()->selectedRows().size(), 1);

        // The viewer and deleting act on what the grid selected.
        m_dialogs->answerConfirm(true);
        Gui::click(m_window.get(), QStringLiteral("deleteButton"));
        QCOMPARE(m_dialogs->take().first(), QStringLiteral("确定要删除吗？"));
        QVERIFY(!QFileInfo::exists(MediaFolder::filePath(QStringLiteral("红.jpg"))));
        QCOMPARE(model->rowCount(), 1);

        openWindow();
        QVERIFY(m_window->showingThumbnailGrid());
        QVERIFY(m_window->thumbnailGrid()->isVisible());
        Gui::click(m_window.get(), QStringLiteral("thumbnailGridCheck"));
        QVERIFY(m_window->resultList()->isVisible());
        QCOMPARE(ProgramSettings::value(CReelboxDlg::GridSetting, {}), QStringLiteral("0"));
    }

    void searchDropsStaleThumbnails()
    {
        QStringList first;
        for (int i = 0; i < 40; ++i)
            first << QStringLiteral("first%1.jpg").arg(i);
        pictures(first, QStringLiteral("first"));
        pictures({QStringLiteral("second.jpg")}, QStringLiteral("second"), Qt::green);

        search(QStringLiteral("first"));
        paintList();
        QVERIFY(loader().queued() + loader().inFlight() > ThumbnailLoader::MaxInFlight);
        // Searched again while the first list's thumbnails load: only those already being made
        // are finished.
        search(QStringLiteral("second"));
        QCOMPARE(loader().queued(), 0);
        paintList();
        loader().waitForIdle();
        QVERIFY(thumbnailsMade(first) <= ThumbnailLoader::MaxInFlight);
        QCOMPARE(thumbnailsMade({QStringLiteral("second.jpg")}), 1);
    }

    void filesDroppedOnTheAddGroup()
    {
        auto* addGroup = Gui::find<QGroupBox>(m_window.get(), QStringLiteral("addGroup"));
        auto* path = Gui::find<QLineEdit>(m_window.get(), QStringLiteral("pathEdit"));
        const QString spaced = chosenFile(QStringLiteral("my photo.jpg"), "one");
        // A file the catalogue holds already, named by a record.
        QVERIFY(MediaFolder::ensureExists());
        TestMedia::write(MediaFolder::filePath(QStringLiteral("宝宝.jpg")), "stored");
        m_db->exec(QStringLiteral("INSERT INTO mplay (riqi, [key], leixing, miaoshu, music) VALUES (?, ?, ?, ?, ?)"),
                   {QStringLiteral("2026\\03\\01"), QString(), QStringLiteral("图像文件"), QString(),
                    QStringLiteral(" 宝宝.jpg")});
        const QString same = chosenFile(QStringLiteral("宝宝.jpg"), "stored");

        // As with "浏览...": a type first.
        QVERIFY(drop(addGroup, {QUrl::fromLocalFile(spaced)}));
        QCOMPARE(m_dialogs->take(), QStringList{QStringLiteral("请选择媒体文件类型，谢谢！")});
        QVERIFY(m_window->chosenFiles().isEmpty());

        // Dropped on the path box, which would otherwise take the address as text.
        choose(combo(QStringLiteral("addTypeCombo")), QStringLiteral("图像文件"));
        QVERIFY(drop(path, {QUrl::fromLocalFile(spaced), QUrl::fromLocalFile(same)}));
        QVERIFY(m_dialogs->take().isEmpty());
        QCOMPARE(m_window->chosenFiles().names(),
                 QStringList({QStringLiteral("my photo.jpg"), QStringLiteral("宝宝.jpg")}));
        QCOMPARE(path->text(), QDir::toNativeSeparators(m_media->chosen()));
        // Dropped on the description or a date box: chosen too, and no address is typed in.
        auto* description = Gui::find<QPlainTextEdit>(m_window.get(), QStringLiteral("descriptionEdit"));
        QVERIFY(drop(description->viewport(), {QUrl::fromLocalFile(spaced)}));
        QVERIFY(drop(combo(QStringLiteral("addYearCombo"))->lineEdit(), {QUrl::fromLocalFile(same)}));
        QVERIFY(description->toPlainText().isEmpty());
        QVERIFY(combo(QStringLiteral("addYearCombo"))->currentText().isEmpty());
        QCOMPARE(m_window->chosenFiles().count(), 2);

        choose(combo(QStringLiteral("addYearCombo")), QStringLiteral("2026"));
        choose(combo(QStringLiteral("addMonthCombo")), QStringLiteral("03"));
        choose(combo(QStringLiteral("addDayCombo")), QStringLiteral("07"));
        m_dialogs->answerConfirm(true);
        Gui::click(m_window.get(), QStringLiteral("addButton"));
        QCOMPARE(m_dialogs->take(), QStringList{QStringLiteral("成功添加文件！")});
        QCOMPARE(m_db->scalar(QStringLiteral("SELECT music FROM mplay ORDER BY id DESC LIMIT 1")).toString(),
                 QStringLiteral(" my photo.jpg 宝宝.jpg"));
        // The stored file was reused, not copied a second time.
        QCOMPARE(m_media->stored(), QStringList({QStringLiteral("my photo.jpg"), QStringLiteral("宝宝.jpg")}));
        QCOMPARE(TestMedia::read(MediaFolder::filePath(QStringLiteral("my photo.jpg"))), QByteArray("one"));
    }

    void foldersAndForeignDrops()
    {
        auto* addGroup = Gui::find<QGroupBox>(m_window.get(), QStringLiteral("addGroup"));
        choose(combo(QStringLiteral("addTypeCombo")), QStringLiteral("图像文件"));
        const QString folder = m_media->chosen() + QStringLiteral("/假期");
        QDir().mkpath(folder);
        for (const char* name : {"a.jpg", "b.JPG", "c.mp3"})
            TestMedia::write(folder + QLatin1Char('/') + QLatin1String(name), "x");
        const QString sound = chosenFile(QStringLiteral("song.mp3"), "la");

        // A folder asks first; declined, nothing is chosen.
        m_dialogs->answerConfirm(false);
        QVERIFY(drop(addGroup, {QUrl::fromLocalFile(folder)}));
        QVERIFY(m_dialogs->take().first().contains(QStringLiteral("里面有2个图像文件")));
        QVERIFY(m_window->chosenFiles().isEmpty());
        m_dialogs->answerConfirm(true);
        QVERIFY(drop(addGroup, {QUrl::fromLocalFile(folder)}));
        m_dialogs->take();
        QCOMPARE(m_window->chosenFiles().names(), QStringList({QStringLiteral("a.jpg"), QStringLiteral("b.JPG")}));

        // What a picture dialog would not offer, and what is not on this computer, is said.
        QVERIFY(drop(addGroup, {QUrl::fromLocalFile(sound), QUrl(QStringLiteral("https://example.org/x.jpg"))}));
        const QStringList said = m_dialogs->take();
        QCOMPARE(said.size(), 2);
        QVERIFY(said.at(0).contains(QStringLiteral("https://example.org/x.jpg")));
        QVERIFY(said.at(0).contains(QStringLiteral("不是这台电脑上的文件")));
        QVERIFY(said.at(1).contains(QStringLiteral("“song.mp3”不是图像文件")));
        QCOMPARE(m_window->chosenFiles().count(), 2);

        // Text dragged from elsewhere is no file drop.
        QMimeData text;
        text.setText(QStringLiteral("hello"));
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(addGroup, &enter);
        QVERIFY(!enter.isAccepted());
    }
};

QTEST_MAIN(TestReelboxThumbnails)
#include "tst_reelboxthumbnails.moc"
