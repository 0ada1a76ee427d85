#include "media/ui/CPictureViewDlg.h"
#include "media/ui/CWMPPlayer4.h"
#include "media/ui/PictureFrame.h"
#include "reelbox/ui/CReelboxDlg.h"
#include "reelbox/ui/CatalogueListModel.h"
#include "tests/support/FixedClock.h"
#include "tests/support/GuiSupport.h"
#include "tests/support/ReelboxWindowTest.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/TestMedia.h"
#include "tests/support/TestPictures.h"

#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableView>

// The catalogue window driven through its buttons, with the dialogs answered from a script and
// a media folder of the test's own.
class TestReelboxWindow : public ReelboxWindowTest
{
    Q_OBJECT

private:
    QLineEdit* edit(const QString& name) const { return Gui::find<QLineEdit>(m_window.get(), name); }
    QTableView* list() const { return m_window->resultList(); }

    // A folder beside the installation with the given files, each holding its own name unless
    // content is given.
    QString folder(const QString& name) const
    {
        const QString path = m_media->chosen() + QLatin1Char('/') + name;
        QDir().mkpath(path);
        return path;
    }
    static QString file(const QString& folder, const QString& name, const QByteArray& content = {})
    {
        const QString path = folder + QLatin1Char('/') + name;
        TestMedia::write(path, content.isEmpty() ? name.toUtf8() : content);
        return path;
    }

    void browse(const QStringList& files)
    {
        m_dialogs->answerFiles(files);
        Gui::click(m_window.get(), QStringLiteral("browseButton"));
    }

    // Files the chosen files under the date 2026\03\07 with a keyword, answering OK.
    void addFiles(const QString& type, const QStringList& files, const QString& keyword = {})
    {
        choose(combo(QStringLiteral("addTypeCombo")), type);
        browse(files);
        choose(combo(QStringLiteral("addYearCombo")), QStringLiteral("2026"));
        choose(combo(QStringLiteral("addMonthCombo")), QStringLiteral("03"));
        choose(combo(QStringLiteral("addDayCombo")), QStringLiteral("07"));
        edit(QStringLiteral("addKeywordEdit"))->setText(keyword);
        m_dialogs->answerConfirm(true);
        Gui::click(m_window.get(), QStringLiteral("addButton"));
    }

    qint64 record(const QString& date, const QString& type, const QString& music, const QString& keyword = {})
    {
        m_db->exec(QStringLiteral("INSERT INTO mplay (riqi, [key], leixing, miaoshu, music) VALUES (?, ?, ?, ?, ?)"),
                   {date, keyword, type, QString(QStringLiteral("描述") + music), music});
        return m_db->scalar(QStringLiteral("SELECT max(id) FROM mplay")).toLongLong();
    }

    void search(const QString& type, const QString& keyword = {})
    {
        QComboBox* types = combo(QStringLiteral("searchTypeCombo"));
        if (type.isEmpty())
            types->setCurrentIndex(-1);
        else
            choose(types, type);
        edit(QStringLiteral("searchKeywordEdit"))->setText(keyword);
        Gui::click(m_window.get(), QStringLiteral("searchButton"));
    }

    QStringList column(int column) const
    {
        QStringList texts;
        for (int row = 0; row < m_window->listModel()->rowCount(); ++row)
            texts << m_window->listModel()->index(row, column).data().toString();
        return texts;
    }

    void clickRow(int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        const QModelIndex index = m_window->listModel()->index(row, CatalogueListModel::NameColumn);
        list()->scrollTo(index);
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, modifiers, list()->visualRect(index).center());
    }

    QString music(qint64 id) const
    {
        return m_db->scalar(QStringLiteral("SELECT music FROM mplay WHERE id=?"), {id}).toString();
    }

    QString stored(const QString& name) const { return m_media->media() + QLatin1Char('/') + name; }

private slots:
    void init() { startFixture(); }
    void cleanup() { endFixture(); }

    void windowAtStart()
    {
        QCOMPARE(m_window->windowTitle(), QStringLiteral("禾岚森儿童成长媒体文件管理系统V1.0"));
        const QStringList types{QStringLiteral("视频文件"), QStringLiteral("图像文件"), QStringLiteral("音频文件")};
        for (const char* name : {"searchTypeCombo", "addTypeCombo", "searchYearCombo", "addYearCombo"}) {
            QComboBox* box = combo(QString::fromLatin1(name));
            QVERIFY(box->currentText().isEmpty());
            // Each list starts with an empty entry, so a choice can be taken back.
            QVERIFY(box->itemText(0).isEmpty());
            if (QByteArray(name).contains("Type")) {
                QCOMPARE(box->count(), 4);
                QCOMPARE(QStringList({box->itemText(1), box->itemText(2), box->itemText(3)}), types);
            } else {
                QCOMPARE(box->itemText(1), QStringLiteral("2000"));
                QCOMPARE(box->itemText(box->count() - 1), QStringLiteral("2027"));
            }
        }
        QCOMPARE(combo(QStringLiteral("addDayCombo"))->count(), 32);
        QCOMPARE(m_window->listModel()->headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(),
                 QStringLiteral("媒体文件"));
        // The first two columns take a quarter of the list each.
        QCOMPARE(list()->horizontalHeader()->sectionSize(0), int(list()->width() * 0.99) / 4);

        // No welcome animation in this media folder: once the window is drawn the player comes,
        // and it is just empty.
        QTRY_VERIFY(m_window->findChild<CWMPPlayer4*>());
        QVERIFY(m_window->player()->isVisible());
        QVERIFY(m_window->player()->URL().isEmpty());
        QVERIFY(m_window->player()->statusLine().isEmpty());

        for (int key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter})
            QTest::keyClick(edit(QStringLiteral("searchKeywordEdit")), Qt::Key(key));
        QVERIFY(m_window->isVisible());
        QVERIFY(m_dialogs->texts().isEmpty());
    }

    void addChecksComeInOrderAndNeedAChosenFile()
    {
        const QStringList steps{QStringLiteral("addTypeCombo"), QStringLiteral("addYearCombo"),
                                QStringLiteral("addMonthCombo"), QStringLiteral("addDayCombo")};
        const QStringList messages{QStringLiteral("请选择媒体文件类型，谢谢！"), QStringLiteral("请选择年，谢谢！"),
                                   QStringLiteral("请选择月，谢谢！"), QStringLiteral("请选择日，谢谢！"),
                                   QStringLiteral("请输入媒体文件路径，谢谢！")};
        for (int step = 0; step <= steps.size(); ++step) {
            Gui::click(m_window.get(), QStringLiteral("addButton"));
            QCOMPARE(m_dialogs->take(), QStringList{messages.at(step)});
            if (step < steps.size())
                combo(steps.at(step))->setCurrentIndex(1);
        }
        // A typed folder without chosen files writes no record.
        edit(QStringLiteral("pathEdit"))->setText(m_media->chosen());
        Gui::click(m_window.get(), QStringLiteral("addButton"));
        QVERIFY(m_dialogs->last().startsWith(QStringLiteral("还没有选择要添加的文件")));
        QCOMPARE(m_db->count(QStringLiteral("mplay")), 0);

        // Browsing needs a type too.
        combo(QStringLiteral("addTypeCombo"))->setCurrentIndex(-1);
        Gui::click(m_window.get(), QStringLiteral("browseButton"));
        QCOMPARE(m_dialogs->last(), QStringLiteral("请选择媒体文件类型，谢谢！"));
    }

    void filesFromTwoFoldersAreEachCopiedFromTheirOwn()
    {
        const QString first = folder(QStringLiteral("相册一"));
        const QString second = folder(QStringLiteral("相册二"));
        choose(combo(QStringLiteral("addTypeCombo")), QStringLiteral("图像文件"));
        browse({file(first, QStringLiteral("a.jpg"))});
        QCOMPARE(edit(QStringLiteral("pathEdit"))->text(), QDir::toNativeSeparators(first));
        Gui::find<QPlainTextEdit>(m_window.get(), QStringLiteral("descriptionEdit"))
            ->setPlainText(QStringLiteral("公园"));
        addFiles(QStringLiteral("图像文件"),
                 {file(second, QStringLiteral("b.jpg")), file(second, QStringLiteral("春游 照片.jpg"))},
                 QStringLiteral("春游"));

        QCOMPARE(m_dialogs->take(), QStringList{QStringLiteral("成功添加文件！")});
        QCOMPARE(m_db->count(QStringLiteral("mplay")), 1);
        QCOMPARE(
            m_db->scalar(QStringLiteral("SELECT riqi || '|' || [key] || '|' || leixing || '|' || miaoshu FROM mplay")),
            QVariant(QStringLiteral("2026\\03\\07|春游|图像文件|公园")));
        QCOMPARE(music(1), QStringLiteral(" a.jpg b.jpg 春游 照片.jpg"));
        for (const QString& name : {QStringLiteral("a.jpg"), QStringLiteral("b.jpg"), QStringLiteral("春游 照片.jpg")})
            QCOMPARE(TestMedia::read(stored(name)), name.toUtf8());

        // The add group is ready for the next filing; the date stays.
        QVERIFY(m_window->chosenFiles().isEmpty());
        QCOMPARE(combo(QStringLiteral("addTypeCombo"))->currentIndex(), -1);
        QVERIFY(edit(QStringLiteral("pathEdit"))->text().isEmpty());
        QVERIFY(edit(QStringLiteral("addKeywordEdit"))->text().isEmpty());
        QCOMPARE(combo(QStringLiteral("addYearCombo"))->currentText(), QStringLiteral("2026"));
    }

    void theSameNameTwiceKeepsBothFiles()
    {
        addFiles(QStringLiteral("音频文件"), {file(folder(QStringLiteral("一")), QStringLiteral("笑声.wav"), "first")});
        addFiles(QStringLiteral("音频文件"),
                 {file(folder(QStringLiteral("二")), QStringLiteral("笑声.wav"), "second")});
        QCOMPARE(music(1), QStringLiteral(" 笑声.wav"));
        QCOMPARE(music(2), QStringLiteral(" 笑声(1).wav"));
        QCOMPARE(TestMedia::read(stored(QStringLiteral("笑声.wav"))), QByteArray("first"));
        QCOMPARE(TestMedia::read(stored(QStringLiteral("笑声(1).wav"))), QByteArray("second"));
    }

    void aFailedCopyIsToldAndNotRecorded()
    {
        const QString source = folder(QStringLiteral("源"));
        const QString gone = file(source, QStringLiteral("没了.wav"));
        choose(combo(QStringLiteral("addTypeCombo")), QStringLiteral("音频文件"));
        browse({gone});
        QFile::remove(gone);
        addFiles(QStringLiteral("音频文件"), {file(source, QStringLiteral("在.wav"))});
        const QStringList shown = m_dialogs->take();
        QCOMPARE(shown.size(), 2);
        QVERIFY(shown.first().contains(QStringLiteral("没了.wav")));
        QCOMPARE(shown.last(), QStringLiteral("成功添加文件！"));
        QCOMPARE(music(1), QStringLiteral(" 在.wav"));

        // Answering Cancel files nothing, keeps the choice and leaves no copy behind.
        choose(combo(QStringLiteral("addTypeCombo")), QStringLiteral("音频文件"));
        browse({file(source, QStringLiteral("新.wav"))});
        m_dialogs->answerConfirm(false);
        Gui::click(m_window.get(), QStringLiteral("addButton"));
        QCOMPARE(m_db->count(QStringLiteral("mplay")), 1);
        QVERIFY(!QFile::exists(stored(QStringLiteral("新.wav"))));
        QCOMPARE(m_window->chosenFiles().names(), QStringList{QStringLiteral("新.wav")});
    }

    // What is filed and searched is what the boxes show, picked or typed; an emptied box, or its
    // empty entry, limits nothing; a typed text that is no year, month, day or type is refused
    // with a message naming the box.
    void theBoxesAreReadAsTheyShow()
    {
        const QString source = folder(QStringLiteral("源"));
        choose(combo(QStringLiteral("addTypeCombo")), QStringLiteral("图像文件"));
        browse({file(source, QStringLiteral("p.jpg"))});
        choose(combo(QStringLiteral("addYearCombo")), QStringLiteral("2005"));
        combo(QStringLiteral("addYearCombo"))->setEditText(QStringLiteral("1998"));
        choose(combo(QStringLiteral("addMonthCombo")), QStringLiteral("03"));
        combo(QStringLiteral("addDayCombo"))->setEditText(QStringLiteral("7"));
        m_dialogs->answerConfirm(true);
        Gui::click(m_window.get(), QStringLiteral("addButton"));
        QCOMPARE(m_dialogs->take(), QStringList{QStringLiteral("成功添加文件！")});
        QCOMPARE(m_db->scalar(QStringLiteral("SELECT riqi FROM mplay")).toString(), QStringLiteral("1998\\03\\07"));

        choose(combo(QStringLiteral("addTypeCombo")), QStringLiteral("图像文件"));
        browse({file(source, QStringLiteral("q.jpg"))});
        combo(QStringLiteral("addYearCombo"))->setEditText(QStringLiteral("19x8"));
        Gui::click(m_window.get(), QStringLiteral("addButton"));
        QCOMPARE(m_dialogs->take(),
                 QStringList{
                     QStringLiteral("增加的“年”框里的“19x8”不是年份。请在列表里选择，或输入四位数的年份，例如2005。")});
        combo(QStringLiteral("addYearCombo"))->setEditText(QStringLiteral("2026"));
        combo(QStringLiteral("addTypeCombo"))->setEditText(QStringLiteral("照片"));
        Gui::click(m_window.get(), QStringLiteral("addButton"));
        QVERIFY(m_dialogs->take().value(0).startsWith(QStringLiteral("增加的“类型”框里的“照片”不是媒体类型。")));
        QCOMPARE(m_db->count(QStringLiteral("mplay")), 1);

        record(QStringLiteral("2026\\05\\01"), QStringLiteral("图像文件"), QStringLiteral(" r.jpg"));
        QComboBox* month = combo(QStringLiteral("searchMonthCombo"));
        choose(month, QStringLiteral("03"));
        search(QStringLiteral("图像文件"));
        QCOMPARE(column(2), QStringList{QStringLiteral("p.jpg")});
        month->setEditText(QString());
        search(QStringLiteral("图像文件"));
        QCOMPARE(column(2), (QStringList{QStringLiteral("r.jpg"), QStringLiteral("p.jpg")}));
        choose(month, QStringLiteral("03"));
        month->setCurrentIndex(0);
        search(QStringLiteral("图像文件"));
        QCOMPARE(column(2).size(), 2);
        combo(QStringLiteral("searchYearCombo"))->setEditText(QStringLiteral("1998"));
        search(QStringLiteral("图像文件"));
        QCOMPARE(column(2), QStringList{QStringLiteral("p.jpg")});
        month->setEditText(QStringLiteral("13"));
        search(QStringLiteral("图像文件"));
        QCOMPARE(m_dialogs->take(),
                 QStringList{QStringLiteral("查找的“月”框里的“13”不是月份。请在列表里选择，或输入1到12之间的数字。")});
        QCOMPARE(column(2).size(), 0);
    }

    // A file chosen twice is filed once, so deleting it leaves no name without its file.
    void aFileChosenTwiceIsFiledOnce()
    {
        const QString source = folder(QStringLiteral("源"));
        const QString song = file(source, QStringLiteral("歌.wav"));
        choose(combo(QStringLiteral("addTypeCombo")), QStringLiteral("音频文件"));
        browse({song});
        addFiles(QStringLiteral("音频文件"), {song});
        QCOMPARE(music(1), QStringLiteral(" 歌.wav"));
        QCOMPARE(m_db->count(QStringLiteral("unsaved_media")), 0);
        search(QStringLiteral("音频文件"));
        QCOMPARE(column(2), QStringList{QStringLiteral("歌.wav")});
        clickRow(0);
        m_dialogs->answerConfirm(true);
        Gui::click(m_window.get(), QStringLiteral("deleteButton"));
        QCOMPARE(m_db->count(QStringLiteral("mplay")), 0);
        QVERIFY(!QFile::exists(stored(QStringLiteral("歌.wav"))));
    }

    void searchesTellWhatTheyFound()
    {
        // A search stops the player at once, also when it is then refused.
        const QString sound = stored(QStringLiteral("歌.wav"));
        QDir().mkpath(m_media->media());
        QVERIFY(TestMedia::write(sound, TestMedia::wav(3000)));
        m_window->player()->setURL(sound);
        search({});
        QCOMPARE(m_dialogs->take(), QStringList{QStringLiteral("请选择类型")});
        QVERIFY(m_window->player()->URL().isEmpty());

        search(QStringLiteral("音频文件"));
        QCOMPARE(m_dialogs->take(), QStringList{QStringLiteral("还没有记录")});
        record(QStringLiteral("2026\\03\\07"), QStringLiteral("音频文件"), QString());
        search(QStringLiteral("音频文件"));
        QCOMPARE(m_dialogs->take(), QStringList{QStringLiteral("没有搜索到你要的记录")});

        record(QStringLiteral("2003\\05\\03"), QStringLiteral("音频文件"), QStringLiteral(" 旧.wav"),
               QStringLiteral("生日"));
        record(QStringLiteral("2005\\03\\07"), QStringLiteral("音频文件"), QStringLiteral(" 三月.wav 歌.MP3"));
        choose(combo(QStringLiteral("searchMonthCombo")), QStringLiteral("03"));
        search(QStringLiteral("音频文件"));
        QCOMPARE(column(2), (QStringList{QStringLiteral("三月.wav"), QStringLiteral("歌.MP3")}));
        QCOMPARE(column(1), (QStringList{QStringLiteral("音频文件"), QStringLiteral("音频文件")}));
        combo(QStringLiteral("searchMonthCombo"))->setCurrentIndex(-1);
        search(QStringLiteral("音频文件"), QStringLiteral("生日"));
        QCOMPARE(column(2), QStringList{QStringLiteral("旧.wav")});
        QCOMPARE(column(0), QStringList{QStringLiteral("2")});
        QVERIFY(m_dialogs->texts().isEmpty());
    }

    void selectingARowPlaysItAndFillsTheAddGroup()
    {
        QDir().mkpath(m_media->media());
        for (const char* name : {"a.wav", "b.wav"})
            QVERIFY(TestMedia::write(stored(QString::fromLatin1(name)), TestMedia::wav(2000)));
        const qint64 id = record(QStringLiteral("2024\\11\\05"), QStringLiteral("音频文件"),
                                 QStringLiteral(" a.wav b.wav"), QStringLiteral("儿歌"));
        search(QStringLiteral("音频文件"));
        clickRow(1);
        QCOMPARE(m_window->player()->URL(), stored(QStringLiteral("b.wav")));
        QCOMPARE(m_window->currentFile(), stored(QStringLiteral("b.wav")));
        QCOMPARE(edit(QStringLiteral("addKeywordEdit"))->text(), QStringLiteral("儿歌"));
        QCOMPARE(Gui::find<QPlainTextEdit>(m_window.get(), QStringLiteral("descriptionEdit"))->toPlainText(),
                 QStringLiteral("描述 a.wav b.wav"));
        QCOMPARE(combo(QStringLiteral("addYearCombo"))->currentText(), QStringLiteral("2024"));
        QCOMPARE(combo(QStringLiteral("addMonthCombo"))->currentText(), QStringLiteral("11"));
        QCOMPARE(combo(QStringLiteral("addDayCombo"))->currentText(), QStringLiteral("05"));
        QCOMPARE(combo(QStringLiteral("addTypeCombo"))->currentText(), QStringLiteral("音频文件"));
        QVERIFY(id > 0);

        // After a new search the row at the same place acts again.
        search(QStringLiteral("音频文件"));
        QVERIFY(m_window->player()->URL().isEmpty());
        clickRow(1);
        QCOMPARE(m_window->player()->URL(), stored(QStringLiteral("b.wav")));
    }

    // A description stored longer than the box takes (by another program or an older version) is
    // shown whole; typing never makes it longer.
    void aLongStoredDescriptionIsShownWhole()
    {
        const QString longText = QString(3000, QChar(0x6587)) + QStringLiteral("尾");
        QDir().mkpath(m_media->media());
        QVERIFY(TestMedia::write(stored(QStringLiteral("a.wav")), TestMedia::wav(2000)));
        record(QStringLiteral("2024\\11\\05"), QStringLiteral("音频文件"), QStringLiteral(" a.wav"));
        m_db->exec(QStringLiteral("UPDATE mplay SET miaoshu = ?"), {longText});
        search(QStringLiteral("音频文件"));
        clickRow(0);
        auto* description = Gui::find<QPlainTextEdit>(m_window.get(), QStringLiteral("descriptionEdit"));
        QCOMPARE(description->toPlainText(), longText);
        description->moveCursor(QTextCursor::End);
        description->insertPlainText(QStringLiteral("多"));
        QCOMPARE(description->toPlainText(), longText);
    }

    // The frame knows a picture by its content, as the viewer does, whatever its name ends in.
    void theFrameShowsPicturesOfAnyName()
    {
        const QDir media(m_media->media());
        QDir().mkpath(media.path());
        TestPictures::write(media, QStringLiteral("p.png"), QSize(100, 100), Qt::green);
        record(QStringLiteral("2025\\06\\02"), QStringLiteral("图像文件"), QStringLiteral(" p.png"));
        search(QStringLiteral("图像文件"));
        clickRow(0);
        QVERIFY(!m_window->pictureFrame()->pictureRect().isEmpty());
    }

    void pictureSearchShowsPicturesInTheFrameAndTheViewer()
    {
        const QDir media(m_media->media());
        QDir().mkpath(media.path());
        TestPictures::write(media, QStringLiteral("WIDE.JPG"), QSize(400, 100), Qt::red, "jpeg");
        TestPictures::write(media, QStringLiteral("tall.b.jpg"), QSize(100, 400), Qt::blue, "jpeg");
        QVERIFY(TestMedia::write(stored(QStringLiteral("song.mp3")), "ID3 not a picture"));
        record(QStringLiteral("2025\\06\\01"), QStringLiteral("图像文件"),
               QStringLiteral(" WIDE.JPG tall.b.jpg song.mp3"));

        search(QStringLiteral("图像文件"));
        QVERIFY(m_window->showingPictures());
        QVERIFY(!m_window->player()->isVisible());
        QVERIFY(m_window->pictureFrame()->isVisible());
        QCOMPARE(column(1),
                 (QStringList{QStringLiteral("图像文件"), QStringLiteral("图像文件"), QStringLiteral("音频文件")}));

        PictureFrame* frame = m_window->pictureFrame();
        clickRow(0);
        QCOMPARE(frame->currentFile(), stored(QStringLiteral("WIDE.JPG")));
        QRect drawn = frame->pictureRect();
        QCOMPARE(drawn.width(), frame->width());
        QVERIFY(drawn.top() > 0); // white bands above and below
        const QImage window = m_window->grab().toImage();
        const QPoint centre = frame->mapTo(m_window.get(), frame->rect().center());
        QCOMPARE(window.pixelColor(centre * window.devicePixelRatio()).red() > 200, true);
        QCOMPARE(
            window.pixelColor(frame->mapTo(m_window.get(), QPoint(frame->width() / 2, 2)) * window.devicePixelRatio()),
            QColor(Qt::white));

        clickRow(1);
        drawn = frame->pictureRect();
        QCOMPARE(drawn.height(), frame->height());
        QVERIFY(drawn.left() > 0);
        clickRow(2); // a sound of a picture record: white
        QVERIFY(frame->pictureRect().isEmpty());

        // "全屏" opens the viewer on the listed names at the marked row.
        clickRow(1);
        bool opened = false;
        Gui::whenModal<CPictureViewDlg>([&](CPictureViewDlg* viewer) {
            opened = true;
            QCOMPARE(viewer->sequence().names(), column(2));
            QCOMPARE(viewer->sequence().index(), 1);
            QCOMPARE(viewer->currentPath(), stored(QStringLiteral("tall.b.jpg")));
            viewer->reject();
        });
        Gui::click(m_window.get(), QStringLiteral("fullScreenButton"));
        QVERIFY(opened);
        // So does a double-click on the picture.
        opened = false;
        Gui::whenModal<CPictureViewDlg>([&](CPictureViewDlg* viewer) {
            opened = true;
            viewer->reject();
        });
        QTest::mouseDClick(frame, Qt::LeftButton);
        QVERIFY(opened);

        search(QStringLiteral("音频文件"));
        QCOMPARE(m_dialogs->take(), QStringList{QStringLiteral("还没有记录")});
        QVERIFY(m_window->player()->isVisible());
        QVERIFY(!Gui::find<QGroupBox>(m_window.get(), QStringLiteral("pictureFrameGroup"))->isVisible());
        QVERIFY(!m_window->showingPictures());
    }

    void deletingRowsOfOneAndOfTwoRecords()
    {
        QDir().mkpath(m_media->media());
        for (const char* name : {"a.jpg", "b.jpg", "c.jpg", "d.jpg", "e.jpg"})
            QVERIFY(TestMedia::write(stored(QString::fromLatin1(name)), name));
        const QString pictures = QStringLiteral("图像文件");
        const qint64 first = record(QStringLiteral("2020\\01\\01"), pictures, QStringLiteral(" a.jpg b.jpg"));
        const qint64 second = record(QStringLiteral("2020\\01\\01"), pictures, QStringLiteral(" c.jpg"));
        const qint64 third = record(QStringLiteral("2020\\01\\01"), pictures, QStringLiteral(" d.jpg a.jpg"));
        const qint64 fourth = record(QStringLiteral("2020\\01\\01"), pictures, QStringLiteral(" e.jpg"));
        // A growth diary entry names e.jpg too.
        m_db->exec(QStringLiteral("INSERT INTO chengzhang (riqi, music) VALUES ('2020-01-01', ' e.jpg')"));

        search(pictures);
        QCOMPARE(column(2), (QStringList{QStringLiteral("e.jpg"), QStringLiteral("d.jpg"), QStringLiteral("a.jpg"),
                                         QStringLiteral("c.jpg"), QStringLiteral("a.jpg"), QStringLiteral("b.jpg")}));

        // Both rows of the first record at once: the record goes, b.jpg with it; a.jpg stays
        // because the third record names it.
        clickRow(4);
        clickRow(5, Qt::ControlModifier);
        m_dialogs->answerConfirm(true);
        Gui::click(m_window.get(), QStringLiteral("deleteButton"));
        QCOMPARE(m_dialogs->take(), (QStringList{QStringLiteral("确定要删除吗？"), QStringLiteral("删除成功")}));
        QCOMPARE(m_db->count(QStringLiteral("mplay"), QStringLiteral("id=?"), {first}), 0);
        QVERIFY(!QFile::exists(stored(QStringLiteral("b.jpg"))));
        QVERIFY(QFile::exists(stored(QStringLiteral("a.jpg"))));
        QCOMPARE(column(2), (QStringList{QStringLiteral("e.jpg"), QStringLiteral("d.jpg"), QStringLiteral("a.jpg"),
                                         QStringLiteral("c.jpg")}));

        // Rows of two records: the second loses its only file and goes; the third keeps a.jpg.
        clickRow(1);
        clickRow(3, Qt::ControlModifier);
        m_dialogs->answerConfirm(true);
        Gui::click(m_window.get(), QStringLiteral("deleteButton"));
        QCOMPARE(m_db->count(QStringLiteral("mplay"), QStringLiteral("id=?"), {second}), 0);
        QCOMPARE(music(third), QStringLiteral(" a.jpg"));
        QVERIFY(!QFile::exists(stored(QStringLiteral("c.jpg"))));
        QVERIFY(!QFile::exists(stored(QStringLiteral("d.jpg"))));

        // The diary still names e.jpg: the record goes, the file stays.
        clickRow(0);
        m_dialogs->answerConfirm(true);
        Gui::click(m_window.get(), QStringLiteral("deleteButton"));
        QCOMPARE(m_db->count(QStringLiteral("mplay"), QStringLiteral("id=?"), {fourth}), 0);
        QVERIFY(QFile::exists(stored(QStringLiteral("e.jpg"))));
        QCOMPARE(column(2), QStringList{QStringLiteral("a.jpg")});

        // Cancel deletes nothing.
        clickRow(0);
        m_dialogs->answerConfirm(false);
        Gui::click(m_window.get(), QStringLiteral("deleteButton"));
        QCOMPARE(music(third), QStringLiteral(" a.jpg"));
    }
};

QTEST_MAIN(TestReelboxWindow)
#include "tst_reelboxwindow.moc"
