#include "glance/WinGlance.h"

#include <objbase.h>
#include <shellapi.h>

#include <limits>

#include "base/WinHandles.h"
#include "base/WinText.h"
#include "glance/GlanceCsv.h"
#include "glance/WinGlanceLocale.h"
#include "history/FileErrorText.h"

namespace ambervale {
namespace {

using win::UniqueFile;

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

// A file written under a name of its own beside its place, and put in that place whole; gone unless it was.
class PartFile final : public ByteSink {
public:
    explicit PartFile(const std::string& place) : place_(place) {
        const std::wstring wide = win::WideFromUtf8(place);
        const auto nameStart = wide.find_last_of(L"\\/");
        const std::wstring folder = nameStart == std::wstring::npos ? L"." : wide.substr(0, nameStart + 1);
        wchar_t part[MAX_PATH + 1] = {};
        // Makes the file, under a name nobody else uses.
        if (!GetTempFileNameW(folder.c_str(), L"amb", 0, part)) ThrowFileError("Cannot write", place, GetLastError());
        part_ = part;
        file_.reset(CreateFileW(part, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file_) {
            const DWORD error = GetLastError();
            DeleteFileW(part_.c_str());
            ThrowFileError("Cannot write", place, error);
        }
    }
    ~PartFile() override {
        file_.reset();
        if (!placed_) DeleteFileW(part_.c_str());
    }
    PartFile(const PartFile&) = delete;
    PartFile& operator=(const PartFile&) = delete;

    void Write(std::string_view bytes) override {
        DWORD written = 0;
        if (!WriteFile(file_.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
            written != bytes.size()) {
            ThrowFileError("Cannot write", place_, GetLastError());
        }
    }
    void Close() {
        if (file_ && !FlushFileBuffers(file_.get())) ThrowFileError("Cannot write", place_, GetLastError());
        file_.reset();
    }
    void Place() {
        Close();
        if (!MoveFileExW(part_.c_str(), win::WideFromUtf8(place_).c_str(), MOVEFILE_REPLACE_EXISTING)) {
            ThrowFileError("Cannot write", place_, GetLastError());
        }
        placed_ = true;
    }

private:
    std::string place_;
    std::wstring part_;
    UniqueFile file_;
    bool placed_ = false;
};

LocalSeconds Now() {
    SYSTEMTIME st{};
    GetLocalTime(&st);
    return ToLocalSeconds(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond);
}

std::string AnsiToUtf8(std::string_view ansi) { return win::Utf8FromWide(win::WideFromAnsi(ansi)); }

std::string NameOf(const std::string& path) {
    const auto nameStart = path.find_last_of("\\/");
    return nameStart == std::string::npos ? path : path.substr(nameStart + 1);
}

// COM for this thread while the object lives, as the shell wants it for ShellExecute's extensions.
class ComApartment {
public:
    ComApartment() : started_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {}
    ~ComApartment() {
        if (started_) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool started_;
};

} // namespace

bool SameFile(const std::string& a, const std::string& b) {
    const auto identity = [](const std::string& path, BY_HANDLE_FILE_INFORMATION& info) {
        // No access asked for: a file open for writing elsewhere (the history, being appended to) is still seen.
        const UniqueFile file(CreateFileW(win::WideFromUtf8(path).c_str(), 0,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                          OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        return file && GetFileInformationByHandle(file.get(), &info);
    };
    BY_HANDLE_FILE_INFORMATION first{};
    BY_HANDLE_FILE_INFORMATION second{};
    return identity(a, first) && identity(b, second) &&
           first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
           first.nFileIndexHigh == second.nFileIndexHigh && first.nFileIndexLow == second.nFileIndexLow;
}

void WriteGlanceReport(const std::string& historyPath, const std::string& reportPath, GlanceProgress* progress) {
    const std::string csvPath = GlanceCsvPath(reportPath);
    for (const std::string& place : {reportPath, csvPath}) {
        if (SameFile(historyPath, place)) {
            throw ReportIsHistory("The report would replace the history file " + historyPath + " itself: " + place);
        }
    }
    FileSource source(historyPath);
    WinTimeZone zone;
    WinCalendarConverter calendar;
    const GlanceReading reading{UserDatePictures(), &zone, &calendar};
    GlanceRecord record;
    PartFile csvFile(csvPath);
    GlanceCsv csv(record.names, csvFile, progress, AnsiToUtf8);
    ReadGlanceRecord(source, reading, record, &csv, progress);
    csv.Finish();
    PartFile pageFile(reportPath);
    WinShownDates dates;
    const GlancePageFacts facts{historyPath, NameOf(csvPath), Now(), AnsiToUtf8, &dates, progress};
    WriteGlancePage(record, facts, pageFile);
    csvFile.Close();
    pageFile.Close();
    if (progress && progress->Cancelled()) throw GlanceCancelled{};
    csvFile.Place();
    pageFile.Place();
}

void OpenGlanceReport(const std::string& reportPath, HWND owner) {
    const ComApartment com;
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
        } catch (const GlanceCancelled&) {
            shared->failure = "The report was not wanted any more";
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
