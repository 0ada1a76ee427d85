#include "common/ui/StartupRecovery.h"

#include "backup/FamilyFiles.h"
#include "backup/RecordsLock.h"
#include "backup/RestoreJournal.h"
#include "backup/RestoreRecovery.h"
#include "common/CommonTr.h"
#include "common/ui/DialogService.h"

#include <memory>

namespace {

std::unique_ptr<RecordsLock> held;

QString restoreRunning()
{
    return CommonTr::tr("正在恢复备份。请等恢复完成后再打开本程序。");
}

} // namespace

const std::chrono::milliseconds StartupRecovery::DefaultWait = RecordsLock::StartWait;

bool StartupRecovery::recover(const QString& databasePath, std::chrono::milliseconds wait)
{
    const Recovery recovery =
        RestoreRecovery::run(FamilyFiles::forDatabase(databasePath), wait, RestoreRecovery::defaultArchiveFolders());
    DialogService& dialogs = DialogService::current();
    switch (recovery.outcome) {
    case Recovery::Outcome::Nothing:
        return true;
    case Recovery::Outcome::Completed:
    case Recovery::Outcome::PutBack:
        dialogs.message(nullptr, recovery.message);
        return true;
    case Recovery::Outcome::Busy:
        dialogs.message(nullptr, restoreRunning(), DialogService::Icon::Warning);
        return false;
    case Recovery::Outcome::Failed:
        break;
    }
    dialogs.message(nullptr, Result::failure(recovery.message, recovery.detail).error(), DialogService::Icon::Critical);
    return false;
}

bool StartupRecovery::holdRecords(const QString& databasePath, std::chrono::milliseconds wait)
{
    releaseRecords();
    auto lock = std::make_unique<RecordsLock>(databasePath);
    if (!lock->lock(RecordsLock::Mode::Shared, wait)) {
        // A server that cannot be reached is no restore: the reason is said as it is.
        if (!lock->serverError().isEmpty())
            DialogService::current().message(nullptr, lock->serverError(), DialogService::Icon::Critical);
        else
            DialogService::current().message(nullptr, restoreRunning(), DialogService::Icon::Warning);
        return false;
    }
    // A restore may have started and been cut off since the repair above.
    if (RestoreJournal::existsFor(databasePath)) {
        lock->unlock();
        if (!recover(databasePath, wait))
            return false;
        if (!lock->lock(RecordsLock::Mode::Shared, wait)) {
            DialogService::current().message(nullptr, restoreRunning(), DialogService::Icon::Warning);
            return false;
        }
    }
    held = std::move(lock);
    RecordsLock::setProgramLock(held.get());
    return true;
}

void StartupRecovery::releaseRecords()
{
    RecordsLock::setProgramLock(nullptr);
    held.reset();
}
