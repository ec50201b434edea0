#include "FileDialogService.h"

#include "Ansi.h"
#include "DialogService.h"
#include "ModalBox.h"

#include <QFile>
#include <QFileDialog>
#include <QStringList>
#include <algorithm>

namespace {

QString pathText(const std::string& bytes) {
    return QFile::decodeName(QByteArray::fromStdString(bytes));
}

// "desc\0pattern\0desc\0pattern" to Qt's "desc (pattern pattern)" list. "*.*" means every
// file, which on this system is "*" (names need no dot).
QStringList qtFilters(const std::string& filter) {
    std::vector<std::string> parts;
    std::string part;
    for (char c : filter) {
        if (c == '\0') {
            parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty()) {
        parts.push_back(part);
    }
    QStringList out;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (const QString& p : ansi::toQString(parts[i + 1]).split(';', Qt::SkipEmptyParts)) {
            patterns << (p.trimmed() == QLatin1String("*.*") ? QStringLiteral("*") : p.trimmed());
        }
        out << ansi::toQString(parts[i]) + QStringLiteral(" (") + patterns.join(' ') + ')';
    }
    return out;
}

class QtFileDialogs : public FileDialogService {
public:
    std::string showFileDialog(const std::string& filter, HWnd owner, const std::string& initialDir,
                               const std::string& title, long /*flags*/, bool saveDialog) override {
        CentredBox<QFileDialog> dialog(owner ? owner : boxOwner(), ansi::toQString(title),
                                       pathText(initialDir));
        dialog.setNameFilters(qtFilters(filter));
        // The callers ask before overwriting and check what they open themselves.
        dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
        if (saveDialog) {
            dialog.setAcceptMode(QFileDialog::AcceptSave);
            dialog.setFileMode(QFileDialog::AnyFile);
        } else {
            dialog.setAcceptMode(QFileDialog::AcceptOpen);
            dialog.setFileMode(QFileDialog::AnyFile);
        }
        if (execBox(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
            return "";
        }
        return QFile::encodeName(dialog.selectedFiles().front()).toStdString();
    }
};

FileDialogService* installed = nullptr;

} // namespace

FileDialogService& FileDialogService::instance() {
    static QtFileDialogs qtDialogs;
    return installed ? *installed : qtDialogs;
}

void FileDialogService::install(FileDialogService* s) {
    installed = s;
}

std::string ShowFileDialog(const std::string& Filter, HWnd OwnerWindow,
                           const std::string& InitialDir, const std::string& Title, long Flags,
                           bool SaveDialog) {
    std::string filter = Filter;
    std::replace(filter.begin(), filter.end(), '|', '\0');
    const std::string title = Title.empty() ? programTitle() : Title;
    std::string result = FileDialogService::instance().showFileDialog(
        filter, OwnerWindow, InitialDir, title, Flags, SaveDialog);
    result.erase(std::remove(result.begin(), result.end(), '\0'), result.end());
    const auto first = result.find_first_not_of(' ');
    if (first == std::string::npos) {
        return "";
    }
    const auto last = result.find_last_not_of(' ');
    return result.substr(first, last - first + 1);
}

ScriptedFileDialogs::ScriptedFileDialogs() {
    FileDialogService::install(this);
}

ScriptedFileDialogs::~ScriptedFileDialogs() {
    FileDialogService::install(nullptr);
}

std::string ScriptedFileDialogs::showFileDialog(const std::string& filter, HWnd /*owner*/,
                                                const std::string& initialDir,
                                                const std::string& title, long flags,
                                                bool saveDialog) {
    calls_.push_back({filter, initialDir, title, flags, saveDialog});
    if (answers_.empty()) {
        return "";
    }
    std::string a = std::move(answers_.front());
    answers_.pop_front();
    return a;
}
