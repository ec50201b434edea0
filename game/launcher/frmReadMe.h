#pragma once

#include <QDialog>
#include <string>

class QPlainTextEdit;
class QPushButton;

// The author's note, as shown in the read-me window (CR LF line ends).
std::string readMeText();

// "Vantorix - ReadMe!": the note in a fixed-pitch text box and a Close button; modal.
class frmReadMe : public QDialog {
public:
    explicit frmReadMe(QWidget* parent = nullptr);

    QPlainTextEdit* Text1 = nullptr;
    QPushButton* Command1 = nullptr;

    void Form_Load();
    void Command1_Click();
};
