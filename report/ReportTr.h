#pragma once

#include <QCoreApplication>

// The one translation context of report/ and report/ui/, with the Chinese text as the source.
struct ReportTr
{
    Q_DECLARE_TR_FUNCTIONS(Report)
};
