#pragma once
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "base/AppError.h"
#include "fakes/FakeSpooler.h"
#include "history/HistoryFile.h"
#include "logging/LogEntry.h"
#include "logging/StatusLogger.h"

namespace ambervale::testing {

// Hands out the queued times in turn, then repeats the last one.
class FakeClock : public Clock {
public:
    LocalDateTime Now() override {
        ++reads;
        if (times.size() > 1) {
            LocalDateTime next = times.front();
            times.pop_front();
            return next;
        }
        return times.empty() ? LocalDateTime{} : times.front();
    }
    std::deque<LocalDateTime> times;
    int reads = 0;
};

// A fixed, recognisable pattern: "D<year>-<month>-<day>" and "T<hour>:<minute>:<second>", unpadded.
class FakeDateTimeText : public DateTimeText {
public:
    std::string ShortDate(const LocalDateTime& w) override {
        return "D" + std::to_string(w.year) + "-" + std::to_string(w.month) + "-" + std::to_string(w.day);
    }
    std::string LongTime(const LocalDateTime& w) override {
        return "T" + std::to_string(w.hour) + ":" + std::to_string(w.minute) + ":" + std::to_string(w.second);
    }
};

// Keeps each row as the list shows it, and where its date-time text ended.
class FakeLogList : public LogList {
public:
    void AddRow(std::string_view dateTimeText, std::string_view reportLine) override {
        rows.push_back(std::string(dateTimeText) + ' ' + std::string(reportLine));
        dateTimeTexts.emplace_back(dateTimeText);
    }
    std::vector<std::string> rows;
    std::vector<std::string> dateTimeTexts;
};

// Files in memory; a path can be made to fail its appends, like a missing or read-only folder.
class FakeHistoryWriter : public HistoryWriter {
public:
    void Append(const std::string& path, std::string_view bytes) override {
        ++appends;
        if (failing) throw AppError(failureDescription);
        files[path].append(bytes);
    }
    std::map<std::string, std::string> files;
    bool failing = false;
    std::string failureDescription = "Path not found";
    int appends = 0;
};

// Stands for the worker that asks the spooler away from the window: whileWaiting runs as the window's messages would
// during the wait; closing makes the program close during it, and the work is then held, not run, for the test to
// finish later, as a thread blocked in the spooler would.
class ScriptedEntryWorker : public EntryWorker {
public:
    bool RunAndWait(std::function<void()> work) override {
        ++waits;
        if (whileWaiting) whileWaiting();
        if (closing) {
            held = std::move(work);
            return false;
        }
        work();
        return true;
    }
    std::function<void()> whileWaiting;
    bool closing = false;
    std::function<void()> held;
    int waits = 0;
};

// An entry logger wired as the program wires it: the log list first, then the history file at path. Without a
// worker the spooler is asked on the caller's thread.
struct ListAndFileLogger {
    ListAndFileLogger(Spooler& spooler, Clock& clock, DateTimeText& dateTimeText, LogList& list,
                      HistoryWriter& writer, const std::string& path, EntryWorker* worker = nullptr)
        : logger(spooler, clock, dateTimeText, worker ? *worker : inlineWorker), listOutput(list),
          fileOutput(writer, path, clock, dateTimeText) {
        logger.AddOutput(listOutput);
        logger.AddOutput(fileOutput);
    }
    EntryOutcome LogStatusNow() { return logger.LogStatusNow(); }

    InlineEntryWorker inlineWorker;
    EntryLogger logger;
    LogListOutput listOutput;
    HistoryFileOutput fileOutput;
};

// Every service of one log entry, wired together, writing to the history file at historyPath.
struct FakeLogEntryWorld {
    FakeSpooler spooler;
    FakeClock clock;
    FakeDateTimeText dateTimeText;
    FakeLogList logList;
    FakeHistoryWriter historyWriter;
    std::string historyPath = "C:\\Temp\\Ambervale.txt";
    ScriptedEntryWorker worker;
    ListAndFileLogger entries{spooler, clock, dateTimeText, logList, historyWriter, historyPath, &worker};
};

} // namespace ambervale::testing
