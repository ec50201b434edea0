#include "frmInternetConfig.h"

#include "Ansi.h"
#include "Http.h"
#include "ModalBox.h"

#include <QDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

bool showInternetConfig(QWidget* parent) {
    InternetConfigModel model;
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
