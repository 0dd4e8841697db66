// The two report operations: gather everything afresh, build the text under
// its fixed headings, free what was gathered and hand back UTF-16 text.
#pragma once

#include <string>

namespace kel {

enum class ReportKind { Brief, Detail };

// Runs one whole report call. Calls of one module never overlap: a second
// caller waits. Returns false, with everything gathered freed, when memory
// runs out; the next call starts afresh.
bool runReport(ReportKind kind, std::u16string* text);

// The report text in the machine's ANSI code page, before conversion; the
// collector set must be filled. Raises std::bad_alloc when memory runs out.
std::string buildReportText(ReportKind kind);

}  // namespace kel
