#include "report/Report.h"

#include "platform/Platform.h"
#include "report/Accessors.h"
#include "report/CollectorSet.h"

#include <cstdio>
#include <mutex>
#include <new>

namespace kel {

namespace {

constexpr int kBufferSize = 1024;

class ReportWriter {
public:
    void append(const char* bytes) { text_ += bytes; }
    void appendBuffer() { text_ += buffer_; }
    void lineFeed() { text_ += '\n'; }

    char* buffer() { return buffer_; }

    // Single-text sections start from an empty buffer, so that a collector
    // that writes nothing leaves the heading alone instead of stale bytes.
    char* clearedBuffer()
    {
        buffer_[0] = '\0';
        return buffer_;
    }

    void format(const char* pattern, int number)
    {
        std::snprintf(buffer_, sizeof buffer_, pattern, number);
        appendBuffer();
    }

    std::string& text() { return text_; }

private:
    std::string text_;
    char buffer_[kBufferSize] = {};
};

void appendSingleText(ReportWriter& w, const char* heading, int (*query)(char*, int), bool always)
{
    const int result = query(w.clearedBuffer(), kBufferSize);
    if (!always && result <= 0)
        return;
    w.append(heading);
    w.appendBuffer();
    w.lineFeed();
}

void appendBriefSections(ReportWriter& w)
{
    appendSingleText(w, "OS: ", queryOSInfo, true);
    appendSingleText(w, "CPU: ", queryCpuInfo, true);
    appendSingleText(w, "Memory: ", queryMemoryInfo, false);

    const int adapters = queryVgaListCount();
    for (int i = 0; i < adapters; ++i) {
        w.format("Vga %d: ", i);
        if (queryVgaDescription(i, w.buffer(), kBufferSize) > 0) {
            w.appendBuffer();
            w.append(", ");
        }
        w.format("%d", queryVgaMemorySize(i));
        w.lineFeed();
    }

    appendSingleText(w, "Sound: ", queryMediaInfo, false);
    appendSingleText(w, "DirectX: ", queryDirectXInfo, false);

    const int nics = queryNicListCount();
    for (int i = 0; i < nics; ++i) {
        w.format("Nic %d: ", i);
        if (queryNicDescription(i, w.buffer(), kBufferSize) > 0)
            w.appendBuffer();
        w.lineFeed();
    }
}

// A list section of the detailed report: an empty line, the heading, then one
// line per entry, optionally prefixed, whose text is left out when it cannot
// be written.
void appendListSection(ReportWriter& w, const char* heading, int (*count)(), int (*describe)(int, char*, int),
                       const char* prefix)
{
    w.lineFeed();
    w.append(heading);
    const int n = count();
    for (int i = 0; i < n; ++i) {
        if (prefix)
            w.format(prefix, i);
        if (describe(i, w.buffer(), kBufferSize) > 0)
            w.appendBuffer();
        w.lineFeed();
    }
}

std::mutex& reportLock()
{
    static std::mutex lock;
    return lock;
}

}  // namespace

std::string buildReportText(ReportKind kind)
{
    ReportWriter w;
    appendBriefSections(w);
    if (kind == ReportKind::Detail) {
        appendListSection(w, "Disks\n", queryDiskListCount, queryDiskDescription, nullptr);
        appendListSection(w, "Printers\n", queryPrinterListCount, queryPrinterDescription, "Printer %d: ");
        appendListSection(w, "Softwares\n", querySoftwareListCount, querySoftwareDescription, nullptr);
        appendListSection(w, "Startup\n", queryStartUpListCount, queryStartUpDescription, nullptr);
    }
    return std::move(w.text());
}

bool runReport(ReportKind kind, std::u16string* text)
{
    std::lock_guard<std::mutex> serialized(reportLock());
    std::string ansi;
    try {
        createCollectorSet();
        ansi = buildReportText(kind);
    } catch (const std::bad_alloc&) {
        destroyCollectorSet();
        return false;
    }
    destroyCollectorSet();
    return platform().ansiToUtf16(ansi.data(), ansi.size(), text);
}

}  // namespace kel
