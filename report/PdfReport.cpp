#include "report/PdfReport.h"

#include "report/HealthReport.h"
#include "report/ReportRenderer.h"
#include "report/ReportTr.h"

#include <QDir>
#include <QPageLayout>
#include <QPdfWriter>
#include <QSaveFile>

namespace PdfReport {

Result save(const HealthReport& report, const QString& path)
{
    const QString shown = QDir::toNativeSeparators(path);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return Result::failure(
            ReportTr::tr("无法在“%1”保存报告：这个位置不能写入。请换一个文件夹或文件名再试。").arg(shown),
            file.errorString());
    const ReportRenderer renderer(report);
    {
        QPdfWriter writer(&file);
        writer.setResolution(720);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
        writer.setTitle(ReportTr::tr("%1的健康报告").arg(report.child));
        writer.setCreator(QStringLiteral("Kestrin"));
        if (Result r = renderer.paint(writer); !r) {
            file.cancelWriting();
            return r;
        }
    }
    if (!file.commit())
        return Result::failure(
            ReportTr::tr("报告没有保存到“%1”：写入时出错（磁盘可能已满）。原有的文件没有改动。请检查后再试。")
                .arg(shown),
            file.errorString());
    return {};
}

} // namespace PdfReport
