#pragma once

#include <filesystem>
#include <string>
#include <utility>

namespace corvelt {

// A file the shell is to ask the user for: an open dialog for an existing file, or
// a save dialog that asks before it overwrites one.
struct FileRequest {
    bool save = false;
    std::string title;
    std::string filter;
    std::filesystem::path startPath;  // the last path chosen for this kind of dialog; may be empty
};

inline constexpr const char* selectionReadTitle = "Read selected elements from file";
inline constexpr const char* selectionWriteTitle = "Write selected elements to file";

// What a pressed dialog control asks of the shell.
enum class DialogAction {
    none,         // nothing: the state changed or the control does nothing
    closed,       // the dialog closed itself
    chooseFile,   // ask the user for `file`, then answer with Application::answerFileRequest
    openReport,   // the stress listing at `path` was written: show it to the user
    showMessage,  // an operation failed and changed no selection: show `message`
};

struct DialogOutcome {
    DialogAction action = DialogAction::none;
    FileRequest file;
    std::filesystem::path path;
    std::string message;
    // What a file operation did, for the status bar ("Wrote 3072 elements to
    // plate-sel.txt"); empty when there is nothing to say.
    std::string status;

    static DialogOutcome closed() { return withAction(DialogAction::closed); }
    static DialogOutcome chooseFile(FileRequest request) {
        DialogOutcome outcome = withAction(DialogAction::chooseFile);
        outcome.file = std::move(request);
        return outcome;
    }
    static DialogOutcome openReport(std::filesystem::path report) {
        DialogOutcome outcome = withAction(DialogAction::openReport);
        outcome.path = std::move(report);
        return outcome;
    }
    static DialogOutcome showMessage(std::string text) {
        DialogOutcome outcome = withAction(DialogAction::showMessage);
        outcome.message = std::move(text);
        return outcome;
    }

  private:
    static DialogOutcome withAction(DialogAction action) {
        DialogOutcome outcome;
        outcome.action = action;
        return outcome;
    }
};

}  // namespace corvelt
