#include "frmInternetConfig.h"

#include "Ansi.h"
#include "Dialogs.h"
#include "Http.h"
#include "InternetRequests.h"
#include "ModalBox.h"
#include "Settings.h"
#include "SettingsNotice.h"
#include "TextCase.h"
#include "VbError.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

frmInternetConfig::frmInternetConfig()
    : openUrl([](const std::string& url) { return http::OpenURL(url); }) {}

void frmInternetConfig::Form_Load() {
    const ServerSettings s = readServerSettings();
    Text1 = s.Address;
    Text2 = s.Password;
    Text3 = s.Port;
}

void frmInternetConfig::Command1_Click() {
    Text1 = withoutTrailingSlashes(Text1);
    const bool saved = SaveSetting("Vantorix", "General", "Server", Text1) &&
                       SaveSetting("Vantorix", "General", "Password", Text2) &&
                       SaveSetting("Vantorix", "General", "Port", Text3);
    if (!saved) {
        tellSettingsNotSaved();
    }
}

void frmInternetConfig::Command4_Click() {
    Text1 = withoutTrailingSlashes(Text1);
    std::string reply;
    try {
        reply = openUrl(connectionTestUrl(Text1, Text3, Text2));
    } catch (const VbError& e) {
        if (e.Number() == http::err::Cancelled) {
            return; // the dialog closed meanwhile
        }
        reply.clear();
    }
    if (lowerCase(reply) == "pong") {
        MsgBox("The server answered " + reply, mb::Information, "Server response ok!");
    } else if (reply.empty()) {
        MsgBox("Unable to find server!", mb::Critical, "ERROR!");
    } else if (passwordRefused(reply)) {
        MsgBox(std::string(PasswordRefusedText) + "\r\nGaming with these settings meight not work!",
               mb::Critical, "ERROR!");
    } else {
        MsgBox("A server was found, but it didn't pong!..\r\nRemoving the password meight be "
               "the solution!\r\n\r\nGaming with these settings meight not work!",
               mb::Critical, "ERROR!");
    }
}

bool showInternetConfig(QWidget* parent) {
    frmInternetConfig model;
    model.Form_Load();

    QDialog dialog(parent);
    dialog.setWindowTitle("Vantorix - Internet server configuration");
    auto* frame = new QGroupBox("Server", &dialog);
    auto* text1 = new QLineEdit(ansi::toQString(model.Text1), frame);
    auto* text2 = new QLineEdit(ansi::toQString(model.Text2), frame);
    auto* text3 = new QLineEdit(ansi::toQString(model.Text3), frame);
    text1->setMinimumWidth(280);
    text2->setEchoMode(QLineEdit::Password);
    auto* form = new QFormLayout(frame);
    form->addRow("Host address:", text1);
    form->addRow("Password:", text2);
    form->addRow("Port:", text3);
    auto* command4 = new QPushButton("Test Connection", &dialog);
    auto* command1 = new QPushButton("OK", &dialog);
    auto* command2 = new QPushButton("Cancel", &dialog);
    command1->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(command4);
    buttons->addStretch();
    buttons->addWidget(command1);
    buttons->addWidget(command2);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(frame);
    layout->addLayout(buttons);

    const auto takeFields = [&] {
        model.Text1 = ansi::fromQString(text1->text());
        model.Text2 = ansi::fromQString(text2->text());
        model.Text3 = ansi::fromQString(text3->text());
    };
    QObject::connect(command4, &QPushButton::clicked, &dialog, [&] {
        takeFields();
        command4->setEnabled(false);
        model.Command4_Click();
        command4->setEnabled(true);
        text1->setText(ansi::toQString(model.Text1));
    });
    QObject::connect(command1, &QPushButton::clicked, &dialog, [&] {
        takeFields();
        model.Command1_Click();
        dialog.accept();
    });
    QObject::connect(command2, &QPushButton::clicked, &dialog, &QDialog::reject);
    // A test that still waits ends with the dialog, not at its deadline.
    QObject::connect(&dialog, &QDialog::finished, &dialog, [] { http::cancelWaitingTransfers(); });
    return execBox(dialog) == QDialog::Accepted;
}
