// A small window for trying the devices by hand: arrow keys (or a joystick) move a box,
// space pauses the music, --joystick-setup shows the settings dialog, the key log shows DirectInput
// codes, and the level bars and status line follow the music given on the command line.
#include "FrmJoystickSetup.h"
#include "MPLAY.h"
#include "QtDialogs.h"
#include "Timer.h"
#include "dx8Joystick.h"
#include "dx8Keyboard.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>
#include <QWidget>
#include <cstdio>
#include <set>
#include <string>

namespace {

class Field : public QWidget {
public:
    QPoint ship{150, 60};
    std::set<int> held;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), Qt::black);
        p.fillRect(QRect(ship, QSize(20, 10)), held.count(57) ? Qt::red : Qt::green);
    }
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    DialogService::setProgramBoxes(&qtDialogs());
    if (argc > 1 && std::string(argv[1]) == "--joystick-setup") {
        FrmJoystickSetup setup;
        return setup.exec() == QDialog::Accepted ? 0 : 1;
    }
    QWidget window;
    window.setWindowTitle("Vantorix devices");
    auto* layout = new QVBoxLayout(&window);
    auto* field = new Field;
    field->setFixedSize(320, 140);
    auto* keys = new QLabel("Press keys");
    auto* status = new QLabel("No music");
    auto* player = new MPLAY;
    player->setFixedSize(320, 60);
    layout->addWidget(field);
    layout->addWidget(keys);
    layout->addWidget(status);
    layout->addWidget(player);

    dx8Keyboard keyboard;
    keyboard.KeyDown = [&](VbLong code) {
        field->held.insert(code);
        keys->setText(QString("KeyDown %1").arg(code));
        std::printf("KeyDown %d\n", code);
        std::fflush(stdout);
        if (code == 57) {
            player->setPauseModule(!player->Paused());
        }
        field->update();
    };
    keyboard.KeyUp = [&](VbLong code) {
        field->held.erase(code);
        keys->setText(QString("KeyUp %1").arg(code));
        std::printf("KeyUp %d\n", code);
        std::fflush(stdout);
        field->update();
    };
    dx8Joystick joystick;
    joystick.JoystickChange = [&](VbLong X, VbLong Y, VbLong, VbLong, VbLong, VbLong,
                                  const dx8Joystick::SliderArray&,
                                  const dx8Joystick::ButtonArray& b) {
        // The game's own mapping: a stick off the 500 dead band is an arrow key.
        auto key = [&](int code, bool down) {
            if (down) {
                field->held.insert(code);
            } else {
                field->held.erase(code);
            }
        };
        key(203, X < 4500);
        key(205, X > 5500);
        key(200, Y < 4500);
        key(208, Y > 5500);
        key(57, b[0]);
    };

    Timer move;
    move.setInterval(20);
    move.onTick = [&] {
        const int dx = (field->held.count(205) ? 4 : 0) - (field->held.count(203) ? 4 : 0);
        const int dy = (field->held.count(208) ? 4 : 0) - (field->held.count(200) ? 4 : 0);
        if (dx != 0 || dy != 0) {
            field->ship += QPoint(dx, dy);
            field->ship.setX(std::clamp(field->ship.x(), 0, 300));
            field->ship.setY(std::clamp(field->ship.y(), 0, 130));
            field->update();
        }
    };
    move.setEnabled(true);

    player->Stats = [&](bool playing, VbLong time, VbLong cpu, bool paused, VbLong row,
                        VbLong pat) {
        status->setText(QString("%1 %2 ms pattern %3 row %4 cpu %5%%6")
                            .arg(QString::fromStdString(player->SongTitle()))
                            .arg(time)
                            .arg(pat)
                            .arg(row)
                            .arg(cpu)
                            .arg(paused ? " paused" : (playing ? "" : " stopped")));
    };
    player->StreamStats = [&](VbLong pos, VbLong time) {
        status->setText(
            QString("stream %1 ms, byte %2 of %3").arg(time).arg(pos).arg(player->StreamLength()));
    };

    window.show();
    keyboard.Init();
    joystick.Init();
    if (argc > 1) {
        const bool module = player->PlayFile(argv[1], argc > 2 ? std::atoi(argv[2]) : 0, true);
        std::printf("PlayFile %s: %s, channels %d%s%s\n", argv[1],
                    module ? "module" : "not a module", player->NumberOfChannels(),
                    player->LastError().empty() ? "" : ": ", player->LastError().c_str());
        std::fflush(stdout);
        player->setVuOffsetAdd(0.5f);
        player->setVuMeter(true);
        player->setThrowEvents(true);
    }
    return app.exec();
}
