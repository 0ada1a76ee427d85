#pragma once

#include "common/Result.h"

struct HealthReport;

// Saves a report as a PDF file, whole or not at all: it is written under a temporary name beside
// the target and renamed into place only once every page is written.
namespace PdfReport {

Result save(const HealthReport& report, const QString& path);

} // namespace PdfReport
