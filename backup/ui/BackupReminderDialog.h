#pragma once

#include "backup/BackupRecord.h"

#include <QDialog>

class QCheckBox;

// Tells the family that their records have not been backed up for a month. Accepted means
// "现在备份"; the check box turns the reminder off.
class BackupReminderDialog : public QDialog
{
    Q_OBJECT

public:
    explicit BackupReminderDialog(const BackupRecord::Reminder& reminder, QWidget* parent = nullptr);

    bool stopReminding() const;

private:
    QCheckBox* m_stopCheck;
};
