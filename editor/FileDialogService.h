#pragma once

#include "QFTModuleDesktop.h"

#include <deque>
#include <string>
#include <vector>

// The open and save dialogs. Filter holds description and pattern pairs separated by NUL
// characters ("*.dat\0*.dat\0*.*\0*.*"); the result is the chosen path, "" when cancelled.
class FileDialogService {
public:
    virtual ~FileDialogService() = default;
    virtual std::string showFileDialog(const std::string& filter, HWnd owner,
                                       const std::string& initialDir, const std::string& title,
                                       long flags, bool saveDialog) = 0;

    static FileDialogService& instance();
    // Installs s (not owned); nullptr goes back to the Qt dialogs.
    static void install(FileDialogService* s);
};

// Filter uses "|" between its parts; an empty Title shows the program's title. The result
// has its surrounding blanks and any NUL removed.
std::string ShowFileDialog(const std::string& Filter, HWnd OwnerWindow,
                           const std::string& InitialDir, const std::string& Title, long Flags,
                           bool SaveDialog);

// Records every dialog and answers from a script; an unscripted dialog is cancelled.
class ScriptedFileDialogs : public FileDialogService {
public:
    struct Call {
        std::string filter;
        std::string initialDir;
        std::string title;
        long flags = 0;
        bool saveDialog = false;
    };

    ScriptedFileDialogs();
    ~ScriptedFileDialogs() override;

    void answer(std::string path) { answers_.push_back(std::move(path)); }
    std::string showFileDialog(const std::string& filter, HWnd owner, const std::string& initialDir,
                               const std::string& title, long flags, bool saveDialog) override;
    const std::vector<Call>& calls() const { return calls_; }

private:
    std::deque<std::string> answers_;
    std::vector<Call> calls_;
};
