#pragma once

#include <deque>
#include <memory>
#include <string>
#include <vector>

// Message and input boxes. Style and result values are the classic ones, so callers can
// write the style as the sum of a button set and an icon.
namespace mb {
inline constexpr int OKOnly = 0;
inline constexpr int OKCancel = 1;
inline constexpr int AbortRetryIgnore = 2;
inline constexpr int YesNoCancel = 3;
inline constexpr int YesNo = 4;
inline constexpr int RetryCancel = 5;
inline constexpr int Critical = 16;
inline constexpr int Question = 32;
inline constexpr int Exclamation = 48;
inline constexpr int Information = 64;
inline constexpr int DefaultButton2 = 256;
inline constexpr int DefaultButton3 = 512;

inline constexpr int OK = 1;
inline constexpr int Cancel = 2;
inline constexpr int Abort = 3;
inline constexpr int Retry = 4;
inline constexpr int Ignore = 5;
inline constexpr int Yes = 6;
inline constexpr int No = 7;

// The results of the buttons a style shows, left to right (OK, Cancel for OKCancel).
std::vector<int> buttons(int style);
} // namespace mb

// Texts are byte texts (Windows-1252), shown as plain text.
class DialogService {
public:
    virtual ~DialogService() = default;
    virtual int messageBox(const std::string& prompt, int style, const std::string& title) = 0;
    // Returns the typed text, or an empty text when cancelled.
    virtual std::string inputBox(const std::string& prompt, const std::string& title,
                                 const std::string& defaultText) = 0;

    static DialogService& instance();
    // Installs s (not owned) in place of the program's boxes; nullptr goes back to them.
    static void install(DialogService* s);
    // The program's own boxes (not owned): each program's main gives the Qt boxes. Without
    // them a box goes to standard error and closes on its first button.
    static void setProgramBoxes(DialogService* s);
};

// The title shown when a box has none: the running program's.
void setProgramTitle(const std::string& title);
const std::string& programTitle();

int MsgBox(const std::string& prompt, int style = mb::OKOnly, const std::string& title = "");
std::string InputBox(const std::string& prompt, const std::string& title = "",
                     const std::string& defaultText = "");

// Records every box and answers from a script; an unscripted box gets the first button
// (OK, Abort, Yes or Retry) and an unscripted input box its default text.
class ScriptedDialogs : public DialogService {
public:
    struct Call {
        bool input = false;
        std::string prompt;
        int style = 0;
        std::string title;
        std::string defaultText;
    };

    ScriptedDialogs();
    ~ScriptedDialogs() override;

    void answer(int result) { answers_.push_back(result); }
    void answerInput(std::string text) { inputs_.push_back(std::move(text)); }

    int messageBox(const std::string& prompt, int style, const std::string& title) override;
    std::string inputBox(const std::string& prompt, const std::string& title,
                         const std::string& defaultText) override;

    const std::vector<Call>& calls() const { return calls_; }
    // The prompts of the calls so far, in order.
    std::vector<std::string> prompts() const;
    void clear() { calls_.clear(); }

private:
    std::deque<int> answers_;
    std::deque<std::string> inputs_;
    std::vector<Call> calls_;
};
