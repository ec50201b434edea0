#include "frmHiscore.h"

#include "Ansi.h"
#include "Color.h"
#include "KeyCodes.h"
#include "ModalBox.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int BandWidth = 260;
constexpr int BandHeight = 24;
} // namespace

frmHiscore::frmHiscore(HiscoreGlobals& globals, VbLong score,
                       std::function<void(VbInteger)> playSound, QWidget* parent)
    : QDialog(parent), model_(globals, score, std::move(playSound)) {
    setWindowTitle("Vantorix");
    setAutoFillBackground(true);
    QFont fixedsys("Fixedsys");
    fixedsys.setStyleHint(QFont::Monospace);
    QFont arial("Arial");
    arial.setPointSize(10);

    picture1_ = new QLabel(this);
    picture1_->setFixedSize(BandWidth, BandHeight);
    label3_ = new QLabel(this);
    label1_ = new QLabel(this);
    label2_ = new QLabel(ansi::toQString(model_.Label2), this);
    for (QLabel* l : {label3_, label1_, label2_}) {
        l->setFont(fixedsys);
        l->setTextFormat(Qt::PlainText);
        l->setAlignment(Qt::AlignCenter);
        l->setStyleSheet("color: white;");
    }
    text1_ = new QLineEdit(this);
    text1_->setFont(arial);
    text1_->setMaxLength(HiscoreModel::MaxLength);
    text1_->setAlignment(Qt::AlignCenter);
    text1_->installEventFilter(this);
    command1_ = new QPushButton("OK", this);
    command1_->setFont(arial);
    command1_->setAutoDefault(false);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(picture1_, 0, Qt::AlignHCenter);
    layout->addWidget(label3_);
    layout->addWidget(label1_);
    layout->addWidget(label2_);
    layout->addWidget(text1_);
    layout->addWidget(command1_, 0, Qt::AlignHCenter);

    model_.closeWindow = [this] { close(); };
    model_.backColorChanged = [this](VbLong c) {
        QPalette p = palette();
        p.setColor(QPalette::Window, color::toQColor(c));
        setPalette(p);
    };
    model_.focusName = [this] {
        if (model_.Text1AllSelected) {
            text1_->selectAll();
        }
        text1_->setFocus();
    };
    connect(text1_, &QLineEdit::textChanged, this,
            [this](const QString& t) { model_.Text1 = ansi::fromQString(t); });
    connect(command1_, &QPushButton::clicked, this, [this] { model_.Command1_Click(); });
    connect(this, &QDialog::finished, this, [this] { unload(); });

    model_.Form_Load(BandHeight);
    label3_->setText(ansi::toQString(model_.Label3));
    label1_->setText(ansi::toQString(model_.Label1));
    text1_->setText(ansi::toQString(model_.Text1));
    model_.backColorChanged(model_.BackColor);
    paintBand();
}

frmHiscore::~frmHiscore() {
    unload();
}

void frmHiscore::unload() {
    if (!unloaded_) {
        unloaded_ = true;
        model_.Text1 = ansi::fromQString(text1_->text());
        model_.Form_Unload();
    }
}

void frmHiscore::paintBand() {
    QPixmap band(BandWidth, BandHeight);
    band.fill(Qt::black);
    QPainter painter(&band);
    for (int y = 0; y < BandHeight; ++y) {
        if (model_.Gradient[y] > -1) {
            painter.setPen(color::toQColor(model_.Gradient[y]));
            painter.drawLine(0, y, BandWidth - 1, y);
        }
    }
    painter.end();
    picture1_->setPixmap(band);
}

bool frmHiscore::eventFilter(QObject* watched, QEvent* event) {
    if (watched == text1_ && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            model_.Text1_KeyDown(vk::Return);
            return true;
        }
        const QString text = key->text();
        if (text.size() == 1 && text[0].unicode() < 128) {
            const char typed = static_cast<char>(text[0].unicode());
            const char taken = HiscoreModel::Text1_KeyPress(typed);
            if (taken != typed) {
                QKeyEvent capital(QEvent::KeyPress, key->key(), key->modifiers(),
                                  QString(QChar(taken)), key->isAutoRepeat(),
                                  static_cast<quint16>(key->count()));
                QCoreApplication::sendEvent(text1_, &capital);
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmHiscore::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        model_.Form_KeyDown(vk::Escape);
        return;
    }
    QDialog::keyPressEvent(event);
}

void frmHiscore::closeEvent(QCloseEvent* event) {
    unload();
    QDialog::closeEvent(event);
}

void showHiscoreNameEntry(HiscoreGlobals& globals, VbLong score,
                          std::function<void(VbInteger)> playSound, QWidget* parent) {
    frmHiscore window(globals, score, std::move(playSound), parent);
    execBox(window);
}
