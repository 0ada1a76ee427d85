#pragma once

#include "backup/Progress.h"
#include "common/Result.h"

#include <QDialog>

#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;

// Runs a long task (backup, restore check, export) on a worker thread and shows its step and
// progress meanwhile; "取消" (and Escape, and the close button) ask the task to stop, and the
// dialog closes once the task has ended. The task must not touch the program's own database
// connection, which belongs to the window's thread.
class BackupProgressDialog : public QDialog
{
    Q_OBJECT

public:
    using Task = std::function<Result(Progress&)>;

    explicit BackupProgressDialog(const QString& title, QWidget* parent = nullptr);

    // Shows the dialog modally until task has ended and returns its result.
    Result run(const Task& task);
    bool wasCancelled() const { return m_progress.cancelled(); }

public slots:
    void reject() override;

private:
    void showProgress(const QString& step, int percent);

    QLabel* m_step;
    QProgressBar* m_bar;
    QPushButton* m_cancelButton;
    Progress m_progress;
    bool m_running = false;
};
