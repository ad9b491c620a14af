#include "history/WinGlance.h"

#include <shellapi.h>

#include <limits>

#include "base/AppError.h"
#include "base/WinHandles.h"
#include "base/WinText.h"
#include "history/FileErrorText.h"

namespace ambervale {
namespace {

using win::UniqueFile;

std::string LocaleText(LCTYPE type) {
    char buffer[256] = {};
    const int length = GetLocaleInfoA(LOCALE_USER_DEFAULT, type | LOCALE_USE_CP_ACP, buffer, sizeof buffer);
    return length > 0 ? std::string(buffer, static_cast<std::size_t>(length - 1)) : std::string();
}

[[noreturn]] void ThrowFileError(const std::string& what, const std::string& path, DWORD error) {
    throw AppError(what + " " + path + ": " + FileErrorDescription(error));
}

class FileSource final : public ByteSource {
public:
    explicit FileSource(const std::string& path) : path_(path) {
        // Shared for everything: the program may be appending to it while it is read.
        file_.reset(CreateFileW(win::WideFromUtf8(path).c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
        if (!file_) ThrowFileError("Cannot read the history file", path, GetLastError());
    }
    std::uint64_t Size() override {
        LARGE_INTEGER size{};
        if (!GetFileSizeEx(file_.get(), &size)) ThrowFileError("Cannot read the history file", path_, GetLastError());
        return static_cast<std::uint64_t>(size.QuadPart);
    }
    std::size_t Read(char* buffer, std::size_t size) override {
        DWORD read = 0;
        const auto wanted = static_cast<DWORD>(std::min<std::size_t>(size, std::numeric_limits<DWORD>::max()));
        if (!ReadFile(file_.get(), buffer, wanted, &read, nullptr)) {
            ThrowFileError("Cannot read the history file", path_, GetLastError());
        }
        return read;
    }

private:
    std::string path_;
    UniqueFile file_;
};

class FileSink final : public ByteSink {
public:
    FileSink(const std::string& path) : path_(path) {
        file_.reset(CreateFileW(win::WideFromUtf8(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file_) ThrowFileError("Cannot write the report", path, GetLastError());
    }
    void Write(std::string_view bytes) override {
        DWORD written = 0;
        if (!WriteFile(file_.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
            written != bytes.size()) {
            ThrowFileError("Cannot write the report", path_, GetLastError());
        }
    }
    void Close() { file_.reset(); }

private:
    std::string path_;
    UniqueFile file_;
};

LocalSeconds Now() {
    SYSTEMTIME st{};
    GetLocalTime(&st);
    return ToLocalSeconds(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond);
}

} // namespace

DatePictures UserDatePictures() {
    DatePictures pictures;
    pictures.shortDate = LocaleText(LOCALE_SSHORTDATE);
    pictures.longTime = LocaleText(LOCALE_STIMEFORMAT);
    pictures.am = LocaleText(LOCALE_S1159);
    pictures.pm = LocaleText(LOCALE_S2359);
    for (int i = 0; i < 12; ++i) {
        pictures.monthNames[i] = LocaleText(LOCALE_SMONTHNAME1 + i);
        pictures.monthAbbreviations[i] = LocaleText(LOCALE_SABBREVMONTHNAME1 + i);
    }
    for (int i = 0; i < 7; ++i) {
        pictures.dayNames[i] = LocaleText(LOCALE_SDAYNAME1 + i);
        pictures.dayAbbreviations[i] = LocaleText(LOCALE_SABBREVDAYNAME1 + i);
    }
    return pictures;
}

void WriteGlanceReport(const std::string& historyPath, const std::string& reportPath, GlanceProgress* progress) {
    FileSource source(historyPath);
    const GlanceRecord record = ReadGlanceRecord(source, UserDatePictures(), progress);
    if (progress && progress->Cancelled()) return;
    // A page half written (a full disk) never stands in the report's place: it is put there whole, or not at all.
    const std::string partPath = reportPath + ".part";
    {
        FileSink sink(partPath);
        const GlancePageFacts facts{historyPath, Now(),
                                    [](std::string_view ansi) { return win::Utf8FromWide(win::WideFromAnsi(ansi)); }};
        try {
            WriteGlancePage(record, facts, sink);
            sink.Close();
        } catch (...) {
            sink.Close();
            DeleteFileW(win::WideFromUtf8(partPath).c_str());
            throw;
        }
    }
    if (!MoveFileExW(win::WideFromUtf8(partPath).c_str(), win::WideFromUtf8(reportPath).c_str(),
                     MOVEFILE_REPLACE_EXISTING)) {
        const DWORD error = GetLastError();
        DeleteFileW(win::WideFromUtf8(partPath).c_str());
        ThrowFileError("Cannot write the report", reportPath, error);
    }
}

void OpenGlanceReport(const std::string& reportPath, HWND owner) {
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(owner, L"open", win::WideFromUtf8(reportPath).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (result == SE_ERR_NOASSOC) {
        throw AppError("The report " + reportPath + " is written, but no program is set to open web pages");
    }
    if (result <= 32) {
        throw AppError("The report " + reportPath + " is written, but Windows could not open it (" +
                       std::to_string(result) + ")");
    }
}

// What the thread and the worker share: the thread holds it too, so it never writes to a worker that is gone.
struct WinGlanceWorker::Shared final : GlanceProgress {
    HWND window = nullptr;
    UINT message = 0;
    std::atomic<bool> cancelled{false};
    std::optional<std::string> failure;  // written by the thread before its last message, read after it
    std::string reportPath;

    void Read(std::uint64_t done, std::uint64_t total) override {
        const WPARAM hundredths = total == 0 ? 100 : static_cast<WPARAM>(done * 100 / total);
        PostMessageW(window, message, hundredths, 0);
    }
    bool Cancelled() override { return cancelled; }
};

WinGlanceWorker::~WinGlanceWorker() {
    if (shared_) shared_->cancelled = true;
    if (thread_.joinable()) thread_.join();
}

bool WinGlanceWorker::Start(const std::string& historyPath, const std::string& reportPath) {
    if (busy_) return false;
    if (thread_.joinable()) thread_.join();
    shared_ = std::make_shared<Shared>();
    shared_->window = window_;
    shared_->message = message_;
    shared_->reportPath = reportPath;
    busy_ = true;
    thread_ = std::thread([shared = shared_, historyPath, reportPath] {
        try {
            WriteGlanceReport(historyPath, reportPath, shared.get());
        } catch (const std::exception& e) {
            shared->failure = e.what();
        }
        PostMessageW(shared->window, shared->message, 100, 1);
    });
    return true;
}

WinGlanceWorker::Outcome WinGlanceWorker::Finish() {
    if (thread_.joinable()) thread_.join();
    busy_ = false;
    Outcome outcome{shared_ ? shared_->reportPath : std::string(), shared_ ? shared_->failure : std::nullopt};
    shared_.reset();
    return outcome;
}

} // namespace ambervale
