#include "health/ChartGeometry.h"
#include "health/ui/CHealthDlg.h"
#include "health/ui/CJIBEN.h"
#include "health/ui/CPicturScrollView.h"
#include "health/ui/GrowthComparisonDialog.h"
#include "health/ui/MeasurementSearchDialog.h"
#include "tests/support/PageFixture.h"

#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>

// The basic health page and the growth comparison, clicked as a user would.
class TestBasicHealth : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<PageFixture<CJIBEN>> m_f;

    void showPage() { m_f->show(); }
    void addMeasurement(const QString& child, const QString& age, double height, double weight, int date)
    {
        m_f->db().exec(
            QStringLiteral("INSERT INTO personinfo ([用户名], [性别], [年龄], [身高], [体重], [心率], [日期]) "
                           "VALUES (?, '男', ?, ?, ?, 100, ?)"),
            {child, age, height, weight, date});
    }
    // Whether the chart drew this colour at a point of its layout: antialiased lines blend into the
    // grey, so a pixel close to the colour within two pixels of the point counts.
    static bool drawnNear(const QImage& image, const CPicturScrollView& view, QPointF at, QColor colour)
    {
        const QPoint centre = view.chartTransform().map(at).toPoint();
        for (int dy = -2; dy <= 2; ++dy) {
            for (int dx = -2; dx <= 2; ++dx) {
                const QColor pixel = image.pixelColor(centre + QPoint(dx, dy));
                if (qAbs(pixel.red() - colour.red()) < 90 && qAbs(pixel.green() - colour.green()) < 90 &&
                    qAbs(pixel.blue() - colour.blue()) < 90)
                    return true;
            }
        }
        return false;
    }
    static QImage render(const CPicturScrollView& view)
    {
        QImage image(view.size(), QImage::Format_RGB32);
        QPainter painter(&image);
        view.paint(painter);
        return image;
    }

private slots:
    void init()
    {
        m_f = std::make_unique<PageFixture<CJIBEN>>();
        m_f->setListName("measurementList");
    }
    void cleanup() { m_f.reset(); }

    void addingAChildTwice()
    {
        showPage();
        m_f->field<QLineEdit>("childNameEdit")->setText(QStringLiteral("小明"));
        QVERIFY(m_f->click("addChildButton"));
        m_f->field<QLineEdit>("childNameEdit")->setText(QStringLiteral("小明"));
        QVERIFY(m_f->click("addChildButton"));
        QCOMPARE(m_f->dialogs().take(), (QStringList{QStringLiteral("添加成功"), QStringLiteral("已经有该用户了")}));
        QCOMPARE(m_f->db().count(QStringLiteral("user")), 1);
        QCOMPARE(m_f->field<QComboBox>("userCombo")->count(), 1);

        // A name with a broken character (half of a pair, as a paste may bring) is refused by name.
        m_f->field<QLineEdit>("childNameEdit")->setText(QStringLiteral("小红") + QChar(0xD83D));
        QVERIFY(m_f->click("addChildButton"));
        const QStringList said = m_f->dialogs().take();
        QCOMPARE(said.size(), 1);
        QVERIFY2(said.first().startsWith(QStringLiteral("“儿童姓名”里有一个无法保存的残缺字符")),
                 qPrintable(said.first()));
        QCOMPARE(m_f->db().count(QStringLiteral("user")), 1);
        QCOMPARE(m_f->field<QComboBox>("userCombo")->count(), 1);
    }

    void deletingAChildRemovesAllItsRecords()
    {
        m_f->db().exec(QStringLiteral("INSERT INTO user (username) VALUES ('小明'), ('小红')"));
        for (int i = 0; i < 3; ++i)
            addMeasurement(QStringLiteral("小明"), QStringLiteral("3个月"), 60, 6, 20260101 + i);
        addMeasurement(QStringLiteral("小红"), QStringLiteral("3个月"), 59, 5.5, 20260101);
        for (const char* child : {"小明", "小明", "小红"}) {
            m_f->db().exec(QStringLiteral("INSERT INTO bnrong (leixing, username, title) VALUES ('感冒', ?, '发烧')"),
                           {QString::fromUtf8(child)});
            m_f->db().exec(
                QStringLiteral("INSERT INTO cfnrong (username, title, leixing) VALUES (?, '第一针', '卡介苗')"),
                {QString::fromUtf8(child)});
        }
        showPage();
        m_f->field<QLineEdit>("childNameEdit")->setText(QStringLiteral("小明"));
        m_f->dialogs().answerConfirm(false);
        QVERIFY(m_f->click("deleteChildButton"));
        QCOMPARE(m_f->dialogs().take(),
                 QStringList{QStringLiteral("确定要删除“小明”以及该儿童的全部测量、病历和防疫记录吗？")});
        QCOMPARE(m_f->db().count(QStringLiteral("personinfo")), 4);

        m_f->dialogs().answerConfirm(true);
        QVERIFY(m_f->click("deleteChildButton"));
        QCOMPARE(m_f->db().count(QStringLiteral("user")), 1);
        for (const char* table : {"personinfo", "bnrong", "cfnrong"}) {
            const QString name = QString::fromLatin1(table);
            const QString user =
                name == QStringLiteral("personinfo") ? QStringLiteral("[用户名]") : QStringLiteral("username");
            QCOMPARE(m_f->db().count(name, user + QStringLiteral("='小明'")), 0);
            QCOMPARE(m_f->db().count(name, user + QStringLiteral("='小红'")), 1);
        }
        auto* users = m_f->field<QComboBox>("userCombo");
        QCOMPARE(users->count(), 1);
        QCOMPARE(users->itemText(0), QStringLiteral("小红"));

        // A name nobody has is told at once, without asking first.
        m_f->dialogs().take();
        m_f->field<QLineEdit>("childNameEdit")->setText(QStringLiteral("小明"));
        QVERIFY(m_f->click("deleteChildButton"));
        QCOMPARE(m_f->dialogs().take(), QStringList{QStringLiteral("没有该用户，请重新输入")});
        QCOMPARE(m_f->db().count(QStringLiteral("user")), 1);
    }

    void afterDeletingAChildNoRecordOfItIsShown()
    {
        m_f->db().exec(QStringLiteral("INSERT INTO user (username) VALUES ('小红'), ('小明')"));
        addMeasurement(QStringLiteral("小明"), QStringLiteral("3个月"), 61.5, 6, 20260101);
        showPage();
        QVERIFY(m_f->click("displayButton"));
        m_f->clickRow(0);
        QCOMPARE(m_f->field<QLineEdit>("heightEdit")->text(), QStringLiteral("61.5"));
        m_f->field<QLineEdit>("childNameEdit")->setText(QStringLiteral("小明"));
        m_f->dialogs().answerConfirm(true);
        QVERIFY(m_f->click("deleteChildButton"));
        QCOMPARE(m_f->field<QComboBox>("userCombo")->currentText(), QStringLiteral("小红"));
        QVERIFY(m_f->field<QLineEdit>("recordNumberEdit")->text().isEmpty());
        QVERIFY(m_f->field<QLineEdit>("heightEdit")->text() != QStringLiteral("61.5"));
        QVERIFY(m_f->field<QLineEdit>("dateEdit")->text().isEmpty());
    }

    void addingAMeasurementAndTheListFormat()
    {
        m_f->db().exec(QStringLiteral("INSERT INTO user (username) VALUES ('小明')"));
        showPage();
        QVERIFY(m_f->click("addButton"));
        QCOMPARE(m_f->field<QLineEdit>("bloodPressureEdit")->text(), QStringLiteral("收缩压=?舒张压=?"));
        QCOMPARE(m_f->field<QLineEdit>("dateEdit")->text(), QStringLiteral("20261207"));
        m_f->field<QComboBox>("ageCombo")->setCurrentText(QStringLiteral("9个月"));
        m_f->field<QLineEdit>("heightEdit")->setText(QStringLiteral("75.56"));
        m_f->field<QLineEdit>("weightEdit")->setText(QStringLiteral("12"));
        m_f->field<QLineEdit>("heartRateEdit")->setText(QStringLiteral("110"));
        QVERIFY(m_f->click("saveButton"));
        QVERIFY(m_f->dialogs().texts().isEmpty());
        QCOMPARE(m_f->db().scalar(QStringLiteral("SELECT [身高] FROM personinfo")).toDouble(), 75.56);
        QCOMPARE(m_f->listed(4), QStringList{QStringLiteral("75.5")});
        QCOMPARE(m_f->listed(5), QStringList{QStringLiteral("12.0")});
        QCOMPARE(m_f->listed(3), QStringList{QStringLiteral("9个月")});
        QCOMPARE(m_f->listed(10), QStringList{QStringLiteral("20261207")});
        QVERIFY(m_f->field<QPushButton>("addButton")->isEnabled());
        QVERIFY(!m_f->field<QPushButton>("saveButton")->isEnabled());
    }

    void measurementsNoChildCanHaveAreRefused_data()
    {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("height") << QStringLiteral("heightEdit") << QStringLiteral("abc") << QStringLiteral("身高");
        QTest::newRow("weight") << QStringLiteral("weightEdit") << QString() << QStringLiteral("体重");
        QTest::newRow("heart rate") << QStringLiteral("heartRateEdit") << QStringLiteral("fast")
                                    << QStringLiteral("心率");
        QTest::newRow("heart rate 201") << QStringLiteral("heartRateEdit") << QStringLiteral("201")
                                        << QStringLiteral("0到200");
        QTest::newRow("height 1e300") << QStringLiteral("heightEdit") << QStringLiteral("1e300")
                                      << QStringLiteral("身高要在30到250厘米之间");
        QTest::newRow("weight 500") << QStringLiteral("weightEdit") << QStringLiteral("500")
                                    << QStringLiteral("体重要在0.5到200公斤之间");
        QTest::newRow("age of 99999999999 months") << QStringLiteral("ageCombo") << QStringLiteral("99999999999个月")
                                                   << QStringLiteral("年龄要在0到21个月或2到18岁之间");
    }

    void measurementsNoChildCanHaveAreRefused()
    {
        QFETCH(QString, edit);
        QFETCH(QString, text);
        QFETCH(QString, expected);
        m_f->db().exec(QStringLiteral("INSERT INTO user (username) VALUES ('小明')"));
        showPage();
        QVERIFY(m_f->click("addButton"));
        if (auto* combo = m_f->page().findChild<QComboBox*>(edit))
            combo->setCurrentText(text);
        else
            Gui::find<QLineEdit>(&m_f->page(), edit)->setText(text);
        QVERIFY(m_f->click("saveButton"));
        QCOMPARE(m_f->dialogs().texts().size(), 1);
        QVERIFY2(m_f->dialogs().last().contains(expected), qPrintable(m_f->dialogs().last()));
        QCOMPARE(m_f->db().count(QStringLiteral("personinfo")), 0);
        QCOMPARE(m_f->page().editMode(), CJIBEN::EditMode::Adding);
    }

    void noChildAtAll()
    {
        showPage();
        QVERIFY(m_f->click("displayButton"));
        QVERIFY(m_f->click("addButton"));
        QCOMPARE(m_f->dialogs().take(), (QStringList{QStringLiteral("请选择用户名"), QStringLiteral("请选择用户")}));
    }

    void searchWithOnlyAChildListsAllItsRecords()
    {
        m_f->db().exec(QStringLiteral("INSERT INTO user (username) VALUES ('小明'), ('小红')"));
        addMeasurement(QStringLiteral("小明"), QStringLiteral("3个月"), 60, 6, 20260101);
        addMeasurement(QStringLiteral("小明"), QStringLiteral("6个月"), 66, 7.5, 20260401);
        addMeasurement(QStringLiteral("小红"), QStringLiteral("0个月"), 50, 3.2, 20260101);
        showPage();
        QString age = QStringLiteral("?");
        Gui::whenModal<MeasurementSearchDialog>([&](MeasurementSearchDialog* dialog) {
            age = Gui::find<QComboBox>(dialog, QStringLiteral("searchAgeCombo"))->currentText();
            Gui::find<QComboBox>(dialog, QStringLiteral("searchUserCombo"))->setCurrentText(QStringLiteral("小明"));
            Gui::click(dialog, QStringLiteral("okButton"));
        });
        QVERIFY(m_f->click("searchButton"));
        QVERIFY(age.isEmpty());
        QCOMPARE(m_f->listed(3), (QStringList{QStringLiteral("6个月"), QStringLiteral("3个月")}));
        QVERIFY(m_f->dialogs().texts().isEmpty());
    }

    void dateSearchOverOneYear()
    {
        m_f->db().exec(QStringLiteral("INSERT INTO user (username) VALUES ('小明'), ('小红')"));
        addMeasurement(QStringLiteral("小明"), QStringLiteral("3个月"), 60, 6, 20041231);
        addMeasurement(QStringLiteral("小明"), QStringLiteral("4个月"), 62, 6.5, 20050101);
        addMeasurement(QStringLiteral("小红"), QStringLiteral("4个月"), 61, 6, 20050601);
        addMeasurement(QStringLiteral("小明"), QStringLiteral("9个月"), 70, 8, 20051231);
        addMeasurement(QStringLiteral("小明"), QStringLiteral("1岁"), 75, 9, 20060101);
        showPage();
        Gui::whenModal<MeasurementSearchDialog>([](MeasurementSearchDialog* dialog) {
            Gui::find<QComboBox>(dialog, QStringLiteral("searchUserCombo"))->setCurrentText(QStringLiteral("小明"));
            Gui::find<QRadioButton>(dialog, QStringLiteral("byDateRadio"))->setChecked(true);
            Gui::find<QLineEdit>(dialog, QStringLiteral("dateFromEdit"))->setText(QStringLiteral("20050101"));
            Gui::find<QLineEdit>(dialog, QStringLiteral("dateToEdit"))->setText(QStringLiteral("20051231"));
            Gui::click(dialog, QStringLiteral("okButton"));
        });
        QVERIFY(m_f->click("searchButton"));
        QCOMPARE(m_f->listed(10), (QStringList{QStringLiteral("20051231"), QStringLiteral("20050101")}));
        QCOMPARE(m_f->listed(1), (QStringList{QStringLiteral("小明"), QStringLiteral("小明")}));
        QVERIFY(m_f->listed(0).at(0).toInt() > m_f->listed(0).at(1).toInt());
    }

    void deletingSeveralSelectedRecords()
    {
        m_f->db().exec(QStringLiteral("INSERT INTO user (username) VALUES ('小明')"));
        for (int i = 0; i < 4; ++i)
            addMeasurement(QStringLiteral("小明"), QStringLiteral("%1个月").arg(i), 50 + i, 4, 20260101);
        showPage();
        QVERIFY(m_f->click("displayButton"));
        auto* list = m_f->field<QTableView>("measurementList");
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(list->model()->index(1, 0)).center());
        list->selectionModel()->select(list->model()->index(3, 0),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
        m_f->dialogs().answerConfirm(true);
        QVERIFY(m_f->click("deleteButton"));
        QCOMPARE(m_f->db().count(QStringLiteral("personinfo")), 2);
        QCOMPARE(m_f->listed(3), (QStringList{QStringLiteral("3个月"), QStringLiteral("1个月")}));
    }

    void aChangeIsNotSavedOverAnotherProgramsChange()
    {
        m_f->db().exec(QStringLiteral("INSERT INTO user (username) VALUES ('小明')"));
        addMeasurement(QStringLiteral("小明"), QStringLiteral("6个月"), 66.0, 7.5, 20260601);
        showPage();
        QVERIFY(m_f->click("displayButton"));
        m_f->clickRow(0);
        QVERIFY(m_f->click("modifyButton"));
        m_f->field<QLineEdit>("heightEdit")->setText(QStringLiteral("67"));
        m_f->db().exec(QStringLiteral("UPDATE personinfo SET [身高]=68"));
        QVERIFY(m_f->click("saveButton"));
        QVERIFY2(m_f->dialogs().last().contains(QStringLiteral("已被其他程序改动")), qPrintable(m_f->dialogs().last()));
        QVERIFY2(m_f->dialogs().last().contains(QStringLiteral("身高：\n    现在保存的：“68”\n    您填写的：“67”")),
                 qPrintable(m_f->dialogs().last()));
        QCOMPARE(m_f->db().scalar(QStringLiteral("SELECT [身高] FROM personinfo")).toDouble(), 68.0);
        QCOMPARE(m_f->field<QLineEdit>("heightEdit")->text(), QStringLiteral("67"));
        QCOMPARE(m_f->field<QPushButton>("deleteButton")->text(), QStringLiteral("删除&D"));
    }

    void heartRateOutOfRangeKeepsThePageShownWhileEditing()
    {
        m_f->db().exec(QStringLiteral("INSERT INTO user (username) VALUES ('小明')"));
        CHealthDlg window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto* page = Gui::find<QWidget>(&window, QStringLiteral("basicHealthPage"));
        QVERIFY(Gui::click(page, QStringLiteral("addButton")));
        Gui::find<QLineEdit>(page, QStringLiteral("heartRateEdit"))->setText(QStringLiteral("201"));
        window.pages()->setCurrentIndex(1);
        QCOMPARE(window.pages()->currentIndex(), 0);
        QCOMPARE(m_f->dialogs().texts().size(), 1);
        QVERIFY(m_f->dialogs().last().contains(QStringLiteral("心率")));
        Gui::find<QLineEdit>(page, QStringLiteral("heartRateEdit"))->setText(QStringLiteral("200"));
        window.pages()->setCurrentIndex(1);
        QCOMPARE(window.pages()->currentIndex(), 1);
    }

    // A heart rate another program stored is only shown; it never keeps the user on the page.
    void aStoredHeartRateOutOfRangeIsOnlyShown()
    {
        m_f->db().exec(QStringLiteral("INSERT INTO user (username) VALUES ('小明')"));
        m_f->db().exec(
            QStringLiteral("INSERT INTO personinfo ([用户名], [性别], [年龄], [身高], [体重], [心率], [日期]) "
                           "VALUES ('小明', '男', '3个月', 60, 6, 250, 20260101)"));
        CHealthDlg window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto* page = Gui::find<QWidget>(&window, QStringLiteral("basicHealthPage"));
        QVERIFY(Gui::click(page, QStringLiteral("displayButton")));
        auto* list = Gui::find<QTableView>(page, QStringLiteral("measurementList"));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(list->model()->index(0, 1)).center());
        QCOMPARE(Gui::find<QLineEdit>(page, QStringLiteral("heartRateEdit"))->text(), QStringLiteral("250"));
        window.pages()->setCurrentIndex(2);
        QCOMPARE(window.pages()->currentIndex(), 2);
        QVERIFY(m_f->dialogs().texts().isEmpty());
    }

    void childrenAddedElsewhereAppearWhenTheTabIsChosenAgain()
    {
        m_f->db().exec(QStringLiteral("INSERT INTO user (username) VALUES ('小明'), ('小红')"));
        CHealthDlg window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto* users = Gui::find<QComboBox>(window.page(0), QStringLiteral("userCombo"));
        QCOMPARE(users->count(), 2);
        users->setCurrentText(QStringLiteral("小明"));

        // Another program adds a child while health is open.
        m_f->db().exec(QStringLiteral("INSERT INTO user (username) VALUES ('小刚')"));
        window.hide(); // minimised and restored: nothing changes
        window.show();
        QCOMPARE(users->count(), 2);
        window.pages()->setCurrentIndex(1);
        window.pages()->setCurrentIndex(0);
        QCOMPARE(users->count(), 3);
        QCOMPARE(users->itemText(0), QStringLiteral("小刚"));
        QCOMPARE(users->currentText(), QStringLiteral("小明")); // the chosen child stays chosen
    }

    void aClickWhereThereIsNoRowSaysSo()
    {
        m_f->db().exec(QStringLiteral("INSERT INTO user (username) VALUES ('小明')"));
        addMeasurement(QStringLiteral("小明"), QStringLiteral("3个月"), 60, 6, 20260101);
        showPage();
        auto* list = m_f->field<QTableView>("measurementList");
        const QPoint below(20, list->viewport()->height() - 5);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, below);
        QCOMPARE(m_f->dialogs().take(), QStringList{QStringLiteral("表格上还没有记录")});

        QVERIFY(m_f->click("displayButton"));
        m_f->clickRow(0);
        QVERIFY(m_f->dialogs().take().isEmpty());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, below);
        QCOMPARE(m_f->dialogs().take(), QStringList{QStringLiteral("表格上还没有记录")});
    }

    void columnsFitTheirTexts()
    {
        m_f->db().exec(QStringLiteral("INSERT INTO user (username) VALUES ('小明')"));
        m_f->db().exec(
            QStringLiteral("INSERT INTO personinfo ([用户名], [性别], [年龄], [身高], [体重], [心率], [血压], "
                           "[日期]) VALUES ('小明', '男', '3个月', 60, 6, 120, '收缩压=95舒张压=60', 20260101)"));
        showPage();
        QVERIFY(m_f->click("displayButton"));
        auto* list = m_f->field<QTableView>("measurementList");
        const QString pressure = m_f->listed(8).value(0);
        QCOMPARE(pressure, QStringLiteral("收缩压=95舒张压=60"));
        QVERIFY2(list->columnWidth(8) >= list->fontMetrics().horizontalAdvance(pressure),
                 qPrintable(QString::number(list->columnWidth(8))));
        // Short columns stay narrow, so the list is not simply widened everywhere.
        QVERIFY(list->columnWidth(2) < list->columnWidth(8));
    }

    void comparisonDrawsTheChildAndTheRanges()
    {
        m_f->db().exec(QStringLiteral("INSERT INTO user (username) VALUES ('小明')"));
        addMeasurement(QStringLiteral("小明"), QStringLiteral("3个月"), 62, 6.5, 20260101);
        addMeasurement(QStringLiteral("小明"), QStringLiteral("1个月"), 55, 4.5, 20260102);
        addMeasurement(QStringLiteral("小明"), QStringLiteral("6个月"), 68, 8, 20260103);
        GrowthComparisonDialog dialog;
        dialog.show();
        QVERIFY(!Gui::find<QPushButton>(&dialog, QStringLiteral("analyseButton"))->isVisible());
        Gui::find<QComboBox>(&dialog, QStringLiteral("nameCombo"))->setCurrentIndex(0);
        auto* ages = Gui::find<QComboBox>(&dialog, QStringLiteral("ageCombo"));
        QCOMPARE(ages->count(), 3);
        QCOMPARE(ages->itemText(0), QStringLiteral("6个月")); // newest record first
        ages->setCurrentIndex(1);                             // "1个月"
        const ChartData& chart = dialog.chart()->data();
        QCOMPARE(chart.child.size(), 3);
        QCOMPARE(chart.selectedMonths, 1);

        const QImage image = render(*dialog.chart());
        QCOMPARE(image.pixelColor(5, 300), QColor(192, 192, 192));
        // The child's line between 1 and 3 months, the reference maximum and minimum at 2 months.
        const CPicturScrollView& view = *dialog.chart();
        const int x = ChartGeometry::ageX(2, true);
        QVERIFY(drawnNear(image, view, QPointF(x, ChartGeometry::heightY((55.0 + 62.0) / 2)), QColor(255, 0, 0)));
        QVERIFY(drawnNear(image, view, QPointF(x, ChartGeometry::heightY(63.3)), QColor(0, 0, 255)));
        QVERIFY(drawnNear(image, view, QPointF(x, ChartGeometry::heightY(54.3)), QColor(249, 246, 0)));
    }

    // On a large screen the charts fill the dialog: the same layout, scaled with its proportions.
    void theChartUsesTheRoomItIsGiven()
    {
        GrowthComparisonDialog dialog;
        dialog.resize(1600, 1100);
        dialog.show();
        const CPicturScrollView& view = *dialog.chart();
        QVERIFY(view.width() > 1500 && view.height() >= 1000);
        const QTransform transform = view.chartTransform();
        QCOMPARE(transform.m11(), transform.m22());
        QVERIFY(transform.m11() > 2);
        const QRectF drawn = transform.mapRect(QRectF(QPointF(0, 0), QSizeF(CPicturScrollView::LayoutSize)));
        QVERIFY(QRectF(view.rect()).adjusted(-1, -1, 1, 1).contains(drawn));
        QVERIFY(drawn.width() > view.width() - 2 || drawn.height() > view.height() - 2);

        const QImage image = render(view);
        // Both ends of the weight chart's x axis, far beyond the unscaled layout.
        QVERIFY(drawnNear(image, view, QPointF(30, 385), Qt::black));
        QVERIFY(drawnNear(image, view, QPointF(500, 385), Qt::black));
        QVERIFY(view.chartTransform().map(QPointF(500, 385)).y() > 900);
    }

    void aSinglePointDrawsNoRedLine()
    {
        CPicturScrollView view;
        view.resize(700, 420);
        view.data().child = {{3, 60, 6}};
        const QImage image = render(view);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor pixel = image.pixelColor(x, y);
                QVERIFY(!(pixel.red() > 200 && pixel.green() < 100 && pixel.blue() < 100));
            }
    }
};

QTEST_MAIN(TestBasicHealth)
#include "tst_basichealth.moc"
