#include "tests/report/ReportFixture.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// kestrin-report as a script runs it: exit status, messages, and never a partial file.
class TestReportTool : public QObject
{
    Q_OBJECT

private:
    struct Run
    {
        int exit;
        QString out;
        QString err;
    };

    static Run tool(const QStringList& args)
    {
        QProcess p;
        p.start(qEnvironmentVariable("KESTRIN_REPORT_TOOL"), args);
        if (!p.waitForFinished(60000))
            return {-1, {}, QStringLiteral("did not finish")};
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
                QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
    }

    QTemporaryDir m_out;

private slots:
    void savesTheReport()
    {
        ReportFixture f;
        f.fill();
        const QString pdf = m_out.filePath(QStringLiteral("小明 报告.pdf"));
        const Run run = tool({QStringLiteral("--database"), f.db().path(), QStringLiteral("小明"), pdf});
        QVERIFY2(run.exit == 0, qPrintable(run.err));
        QVERIFY(run.out.contains(QStringLiteral("报告已保存")));
        const QString text = ReportFixture::text(pdf);
        QVERIFY(text.contains(QStringLiteral("姓名：小明")));
        QVERIFY(text.contains(QStringLiteral("2024-01-15")));
        // Nothing is left beside it.
        QCOMPARE(QDir(m_out.path()).entryList(QDir::Files), QStringList{QStringLiteral("小明 报告.pdf")});
    }

    void theRootAndThePeriod()
    {
        ReportFixture f;
        f.fill();
        const QString pdf = m_out.filePath(QStringLiteral("2025.pdf"));
        const Run run =
            tool({QStringLiteral("--root"), f.db().folder(), QStringLiteral("--from"), QStringLiteral("2025-01-01"),
                  QStringLiteral("--to"), QStringLiteral("20251231"), QStringLiteral("小明"), pdf});
        QVERIFY2(run.exit == 0, qPrintable(run.err));
        const QString text = ReportFixture::text(pdf);
        QVERIFY(text.contains(QStringLiteral("2025-01-01 至 2025-12-31")));
        QVERIFY(text.contains(QStringLiteral("2025-12-15")));
        QVERIFY(!text.contains(QStringLiteral("2024-01-15")));
    }

    void anUnknownChildListsTheChildrenAndKeepsTheOldFile()
    {
        ReportFixture f;
        f.fill();
        const QString pdf = m_out.filePath(QStringLiteral("old.pdf"));
        QFile old(pdf);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("the old report");
        old.close();
        const Run run = tool({QStringLiteral("--database"), f.db().path(), QStringLiteral("小刚"), pdf});
        QCOMPARE(run.exit, 1);
        QVERIFY(run.err.contains(QStringLiteral("没有名叫“小刚”的孩子")));
        QVERIFY(run.err.contains(QStringLiteral("小明")));
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("the old report"));
    }

    void failures_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exit");
        QTest::addColumn<QString>("message");
        QTest::newRow("unwritable") << QStringList{QStringLiteral("小明"), QStringLiteral("/no such folder/r.pdf")} << 1
                                    << QStringLiteral("不能写入");
        QTest::newRow("no database") << QStringList{QStringLiteral("--database"), QStringLiteral("/no such/kestrin.db"),
                                                    QStringLiteral("小明"), QStringLiteral("r.pdf")}
                                     << 1 << QStringLiteral("找不到数据库文件");
        QTest::newRow("bad date") << QStringList{QStringLiteral("--from"), QStringLiteral("昨天"),
                                                 QStringLiteral("小明"), QStringLiteral("r.pdf")}
                                  << 2 << QStringLiteral("不是日期");
        QTest::newRow("missing output") << QStringList{QStringLiteral("小明")} << 2 << QStringLiteral("PDF 文件");
        QTest::newRow("period backwards")
            << QStringList{QStringLiteral("--from"),     QStringLiteral("2026-01-01"), QStringLiteral("--to"),
                           QStringLiteral("2025-01-01"), QStringLiteral("小明"),       QStringLiteral("r.pdf")}
            << 1 << QStringLiteral("晚于结束日期");
    }
    void failures()
    {
        QFETCH(QStringList, args);
        QFETCH(int, exit);
        QFETCH(QString, message);
        ReportFixture f;
        f.fill();
        // Every case names a database unless it tests a missing one.
        if (!args.contains(QStringLiteral("--database")))
            args = QStringList{QStringLiteral("--database"), f.db().path()} + args;
        QDir::setCurrent(m_out.path());
        const Run run = tool(args);
        QCOMPARE(run.exit, exit);
        QVERIFY2(run.err.contains(message), qPrintable(run.err));
        QVERIFY(!QFile::exists(m_out.filePath(QStringLiteral("r.pdf"))));
    }
};

QTEST_MAIN(TestReportTool)
#include "tst_reporttool.moc"
