#pragma once
#include <cstddef>
#include <string>

#include "base/ProcessStarter.h"

namespace ambervale {

// The file operations of the history commands. FileExists is the program's shared existence test.
class HistoryFiles {
public:
    virtual ~HistoryFiles() = default;
    // True when the modification time of the path can be read (an existing file or folder).
    // Never throws and reports nothing.
    virtual bool FileExists(const std::string& path) = 0;
    // The plain delete: true when the file is gone because of this call.
    virtual bool DeletePlain(const std::string& path) = 0;
    // Deletes a file that the plain delete refused, a read-only one too. Never reports anything.
    virtual void DeleteForced(const std::string& path) = 0;
};

// The text buffer the copy command goes through: it holds the text of one file, a selection of it
// from the text's start, and copies that selection to the clipboard. Lengths count the text's
// characters.
class CopyBuffer {
public:
    virtual ~CopyBuffer() = default;
    // Replaces the whole content with the file's text; throws AppError when the file cannot be
    // read or is too large for memory, and then holds nothing, so a stale text is never copied.
    virtual void LoadTextFile(const std::string& path) = 0;
    virtual std::size_t TextLength() = 0;
    // Empties the selection. A selection starts at the text's start: any other start throws AppError
    // "Invalid property value".
    virtual void SetSelectionStart(std::size_t start) = 0;
    virtual void SetSelectionLength(std::size_t length) = 0;
    // Puts the selection on the clipboard, all or nothing: it either replaces the clipboard's content
    // with the whole selection or throws AppError and leaves the clipboard as it was (unless the
    // clipboard itself refuses the text once emptied). An empty selection leaves the clipboard and the
    // buffer as they were; any other copy, done or failed, leaves the buffer empty.
    virtual void CopySelection() = 0;
};

// The rows of the log list that the clear command empties.
class LogListRows {
public:
    virtual ~LogListRows() = default;
    virtual void RemoveAllRows() = 0;
};

} // namespace ambervale
