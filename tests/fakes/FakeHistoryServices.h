#pragma once
#include <algorithm>
#include <cstddef>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "base/AppError.h"
#include "history/HistoryCommandsServices.h"

namespace ambervale::testing {

// An in-memory folder: path -> text, with read-only flags (refused by the plain delete) and scripted failures.
class FakeHistoryFiles : public HistoryFiles {
public:
    bool FileExists(const std::string& path) override { return files.count(path) != 0; }

    bool DeletePlain(const std::string& path) override {
        calls.push_back("DeletePlain " + path);
        if (plainDeleteThrows) throw AppError("Permission denied");
        if (!files.count(path) || readOnly.count(path)) return false;
        files.erase(path);
        return true;
    }

    void DeleteForced(const std::string& path) override {
        calls.push_back("DeleteForced " + path);
        if (forcedDeleteThrows) throw AppError("Permission denied");
        if (!files.count(path)) return;
        readOnly.erase(path);
        files.erase(path);
    }

    std::map<std::string, std::string> files;
    std::set<std::string> readOnly;
    std::vector<std::string> calls;
    bool plainDeleteThrows = false;
    bool forcedDeleteThrows = false;
};

struct StartedProcess {
    SystemProgram program;
    std::string arguments;
    StartWindow window;
};

class FakeProcessStarter : public ProcessStarter {
public:
    void Start(SystemProgram program, const std::string& arguments, StartWindow window) override {
        if (fail) throw AppError("File not found");
        started.push_back({program, arguments, window});
    }
    std::vector<StartedProcess> started;
    bool fail = false;
};

// Behaves like the clipboard buffer holding one file: the selection starts at the text's start, a
// copy is all or nothing and empties the buffer; the clipboard is a plain string.
class FakeCopyBuffer : public CopyBuffer {
public:
    explicit FakeCopyBuffer(const FakeHistoryFiles& source) : source_(source) {}

    void LoadTextFile(const std::string& path) override {
        text.clear();
        length = 0;
        auto it = source_.files.find(path);
        if (loadFails || it == source_.files.end()) throw AppError(loadError);
        text = it->second;
    }
    std::size_t TextLength() override { return text.size(); }
    void SetSelectionStart(std::size_t s) override {
        if (s != 0) throw AppError("Invalid property value");
        length = 0;
    }
    void SetSelectionLength(std::size_t l) override { length = std::min(l, text.size()); }
    void CopySelection() override {
        if (length == 0) return;
        const std::string selected = text.substr(0, length);
        text.clear();
        length = 0;
        if (copyFails) throw AppError("Can't open Clipboard");
        clipboard = selected;
    }

    std::string text;
    std::size_t length = 0;
    std::string loadError = "Permission denied";
    std::string clipboard = "what the user copied before";
    bool loadFails = false;
    bool copyFails = false;

private:
    const FakeHistoryFiles& source_;
};

class FakeLogListRows : public LogListRows {
public:
    void RemoveAllRows() override { rows.clear(); }
    std::vector<std::string> rows;
};

} // namespace ambervale::testing
