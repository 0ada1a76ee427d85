#include "data/ui/FieldChecks.h"

#include "common/TextBytes.h"
#include "common/ui/DialogService.h"

namespace FieldChecks {

namespace {
bool pass(QWidget* parent, bool ok, const QString& message)
{
    if (!ok)
        DialogService::current().message(parent, message);
    return ok;
}
} // namespace

bool require(QWidget* parent, const QString& value, const QString& message)
{
    return pass(parent, !value.isEmpty(), message);
}

bool fits(QWidget* parent, const QString& value, int maxBytes, const QString& message)
{
    return pass(parent, TextBytes::length(value) <= maxBytes, message);
}

} // namespace FieldChecks
