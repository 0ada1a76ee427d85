#include "media/ui/MediaCopier.h"

#include "media/MediaTr.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <memory>

MediaCopier::Report MediaCopier::copy(QWidget* window, const QStringList& sources) const
{
    Report report;
    if (sources.isEmpty())
        return report;

    // Shared with the worker; the results are read only after it has finished.
    std::atomic<int> current{0};
    std::atomic<qint64> copied{0};
    std::atomic<qint64> total{0};
    std::atomic<bool> cancel{false};
    // Which stored files may be reused is read here: the worker has no connection of its own.
    // When it cannot be read, nothing is reused and every file is copied.
    MediaStore store = m_store;
    const ResultOf<QStringList> taken = MediaStore::namesTaken();
    store.setReusable(taken ? *taken : QStringList());
    std::unique_ptr<QThread> worker(QThread::create([&] {
        for (int i = 0; i < sources.size() && !cancel; ++i) {
            current = i;
            copied = 0;
            total = QFileInfo(sources.at(i)).size();
            report.results.push_back(store.store(sources.at(i), [&](qint64 done, qint64 size) {
                copied = done;
                total = size;
                return !cancel.load();
            }));
        }
    }));
    QEventLoop loop;
    QObject::connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit);
    worker->start();

    // A short copy finishes here: the window repaints, clicks wait until it is done.
    QElapsedTimer waited;
    waited.start();
    while (!worker->isFinished() && waited.elapsed() < ProgressDelayMs) {
        worker->wait(QDeadlineTimer(20));
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }

    if (!worker->isFinished()) {
        QProgressDialog progress(window);
        progress.setObjectName(QStringLiteral("copyProgressDialog"));
        progress.setWindowTitle(MediaTr::tr("复制文件"));
        progress.setWindowModality(Qt::WindowModal);
        progress.setAutoClose(false);
        progress.setAutoReset(false);
        progress.setMinimumDuration(0);
        progress.setRange(0, 1000);
        auto* cancelButton = new QPushButton(MediaTr::tr("取消"), &progress);
        cancelButton->setObjectName(QStringLiteral("cancelCopyButton"));
        progress.setCancelButton(cancelButton);
        auto* label = new QLabel(&progress);
        label->setObjectName(QStringLiteral("copyProgressLabel"));
        label->setWordWrap(true);
        progress.setLabel(label);
        progress.setMinimumWidth(400);
        QObject::connect(&progress, &QProgressDialog::canceled, [&cancel] { cancel = true; });
        const auto update = [&] {
            const int index = current;
            progress.setLabelText(
                MediaTr::tr("正在复制文件 %1 请稍后...").arg(QFileInfo(sources.at(index)).fileName()) +
                (sources.size() > 1 ? QStringLiteral("\n(%1/%2)").arg(index + 1).arg(sources.size()) : QString()));
            const qint64 size = total;
            progress.setValue(size > 0 ? int(1000 * copied / size) : 0);
        };
        QTimer ticker;
        QObject::connect(&ticker, &QTimer::timeout, &progress, update);
        update();
        progress.show();
        ticker.start(100);
        if (!worker->isFinished())
            loop.exec();
    }
    worker->wait();
    // A cancel pressed after the last file was done cancels nothing.
    report.cancelled = cancel && (report.results.size() < size_t(sources.size()) || !report.results.back().ok());
    return report;
}
