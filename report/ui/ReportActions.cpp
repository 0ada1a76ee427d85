#include "report/ui/ReportActions.h"

#include "common/Clock.h"
#include "common/ui/DialogService.h"
#include "common/ui/MainWindowBase.h"
#include "data/Children.h"
#include "report/PdfReport.h"
#include "report/ReportRenderer.h"
#include "report/ReportTr.h"
#include "report/ui/ReportDialog.h"

#include <QAction>
#include <QDir>
#include <QPrinter>
#include <QRegularExpression>
#include <QStandardPaths>

namespace {

void showFailure(QWidget* parent, const Result& result)
{
    DialogService::current().message(parent, result.error(), DialogService::Icon::Warning);
}

// The proposed file: the child's name and today's date, in the documents folder. Characters
// that no file name may hold become "_".
QString suggestedPath(const QString& child)
{
    static const QRegularExpression unsafe(QStringLiteral("[/\\\\:*?\"<>|\\x00-\\x1f]"));
    QString name = child;
    name.replace(unsafe, QStringLiteral("_"));
    const QString file =
        ReportTr::tr("%1-健康报告-%2.pdf").arg(name, Clock::current().today().toString(QStringLiteral("yyyy-MM-dd")));
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QDir::homePath();
    return QDir(folder).filePath(file);
}

void print(QWidget* parent, const HealthReport& report)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setFullPage(true);
    printer.setDocName(ReportTr::tr("%1的健康报告").arg(report.child));
    if (!DialogService::current().choosePrinter(parent, printer))
        return;
    const ReportRenderer renderer(report);
    if (Result r = renderer.paint(printer); !r)
        showFailure(parent, Result::failure(ReportTr::tr("报告没有打印出来。") + r.message()));
}

void save(QWidget* parent, const HealthReport& report)
{
    QString path = DialogService::current().chooseSaveFile(
        parent, ReportTr::tr("导出PDF报告"), suggestedPath(report.child), ReportTr::tr("PDF 文件 (*.pdf)"));
    if (path.isEmpty())
        return;
    if (!path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
        path += QStringLiteral(".pdf");
    if (Result r = PdfReport::save(report, path); !r) {
        showFailure(parent, r);
        return;
    }
    Dialogs::message(parent, ReportTr::tr("报告已保存：%1").arg(QDir::toNativeSeparators(path)));
}

} // namespace

ReportActions* ReportActions::install(MainWindowBase& window)
{
    return new ReportActions(window);
}

ReportActions::ReportActions(MainWindowBase& window)
    : QObject(&window),
      m_printAction(window.addWindowMenuItem(ReportTr::tr("打印报告…"), QStringLiteral("printReportAction"))),
      m_exportAction(window.addWindowMenuItem(ReportTr::tr("导出PDF报告…"), QStringLiteral("exportReportAction")))
{
    setObjectName(QStringLiteral("reportActions"));
    connect(m_printAction, &QAction::triggered, this, [&window] { run(&window, {}, true); });
    connect(m_exportAction, &QAction::triggered, this, [&window] { run(&window, {}, false); });
}

void ReportActions::run(QWidget* parent, const QString& child, bool print)
{
    const ResultOf<QStringList> children = Children::newestFirst();
    if (!children) {
        showFailure(parent, children);
        return;
    }
    if (children->isEmpty()) {
        Dialogs::message(parent, ReportTr::tr("还没有孩子的记录。请先在“基本健康管理”中添加孩子。"));
        return;
    }
    ReportDialog dialog(*children, child, print ? ReportDialog::Output::Print : ReportDialog::Output::Pdf, parent);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const ResultOf<HealthReport> report = HealthReports::build(dialog.request());
    if (!report) {
        showFailure(parent, report);
        return;
    }
    if (dialog.output() == ReportDialog::Output::Print)
        ::print(parent, *report);
    else
        save(parent, *report);
}
