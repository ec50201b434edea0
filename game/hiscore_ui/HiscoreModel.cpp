#include "HiscoreModel.h"

#include "HiscoreText.h"
#include "KeyCodes.h"
#include "Numbers.h"
#include "Random.h"

namespace {

std::string trimmed(const std::string& s) {
    const auto first = s.find_first_not_of(' ');
    if (first == std::string::npos) {
        return {};
    }
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

std::string replaceAll(std::string s, const std::string& what, const std::string& with) {
    for (std::size_t at = s.find(what); at != std::string::npos;
         at = s.find(what, at + with.size())) {
        s.replace(at, what.size(), with);
    }
    return s;
}

} // namespace

HiscoreModel::HiscoreModel(HiscoreGlobals& globals, VbLong score,
                           std::function<void(VbInteger)> playSound, Clock& clock)
    : Timer1(clock), Timer2(clock), FocusTimer(clock), g(globals), score_(score),
      playSound_(std::move(playSound)) {
    Timer1.setInterval(20);
    Timer2.setInterval(100);
    FocusTimer.setInterval(50);
    Timer1.onTick = [this] { Timer1_Timer(); };
    Timer2.onTick = [this] { Timer2_Timer(); };
    FocusTimer.onTick = [this] { FocusTimer_Timer(); };
}

HiscoreModel::~HiscoreModel() {
    Form_Unload();
}

void HiscoreModel::Form_Load(int bandHeight) {
    loaded_ = true;
    g.HiscoreDialogOpen = VbTrue;
    Label3 = "SCORE : " + groupedNineDigits(score_);
    Text1 = g.LastHiscoreName;
    Label1 = replaceAll(Label1, "%p", num::toText(static_cast<int>(g.HiscorePlace)));

    ColorFader band;
    band.setStartColor(255);
    band.setEndColor(0);
    band.setSteps(bandHeight);
    Gradient.assign(bandHeight > 0 ? bandHeight : 0, -1);
    for (int y = 1; y <= bandHeight; ++y) {
        const VbLong c = band.GetNextColor();
        if (y < bandHeight) {
            Gradient[y] = c;
        }
    }

    fader_.setStartColor(255);
    fader_.setEndColor(0);
    fader_.setSteps(30);
    fader_.setPingPong(VbTrue);
    Timer1.setEnabled(true);
    Timer2.setEnabled(true);
    FocusTimer.setEnabled(true);
}

void HiscoreModel::Form_Unload() {
    if (!loaded_) {
        return;
    }
    loaded_ = false;
    Timer1.setEnabled(false);
    Timer2.setEnabled(false);
    FocusTimer.setEnabled(false);
    g.HiscoreDialogOpen = VbFalse;
    g.LastHiscoreName = trimmed(Text1);
}

void HiscoreModel::close() {
    if (closeWindow) {
        closeWindow();
    } else {
        Form_Unload();
    }
}

void HiscoreModel::Form_KeyDown(int keyCode) {
    if (keyCode == vk::Escape) {
        close();
    }
}

void HiscoreModel::Text1_KeyDown(int keyCode) {
    if (keyCode == vk::Return) {
        Command1_Click();
    }
}

char HiscoreModel::Text1_KeyPress(char key) {
    return key >= 'a' && key <= 'z' ? static_cast<char>(key - 'a' + 'A') : key;
}

void HiscoreModel::Command1_Click() {
    close();
}

void HiscoreModel::typeChar(char key) {
    key = Text1_KeyPress(key);
    if (Text1AllSelected) {
        Text1.clear();
        Text1AllSelected = false;
    }
    if (static_cast<int>(Text1.size()) < MaxLength) {
        Text1 += key;
    }
}

void HiscoreModel::Timer1_Timer() {
    const VbLong c = fader_.GetNextColor();
    if (c > -1) {
        BackColor = c;
        if (backColorChanged) {
            backColorChanged(c);
        }
    }
}

void HiscoreModel::Timer2_Timer() {
    const double r = num::roundHalfEven(Rnd() * 100.0);
    if (r >= 31) {
        if (playSound_) {
            playSound_(108);
        }
        // An interval of 0 stops the bleeps for good.
        Timer2.setInterval(num::roundHalfEven(Rnd() * 200.0));
    }
}

void HiscoreModel::FocusTimer_Timer() {
    FocusTimer.setEnabled(false);
    if (!Text1.empty()) {
        Text1AllSelected = true;
    }
    if (focusName) {
        focusName();
    }
}
