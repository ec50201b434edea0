#pragma once

#include "AttractDemo.h"
#include "BootIntro.h"
#include "CheatPanel.h"
#include "CheatPanelModel.h"
#include "CreditsSequence.h"
#include "GameEngine.h"
#include "GameForm.h"
#include "GameShell.h"
#include "HiscoreUi.h"

#include <QLabel>
#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <array>
#include <map>
#include <memory>
#include <string>
#include <vector>

class MPLAY;
class QAction;
class QMenu;
class SurfaceView;

// The music player control as the window's music.
class MplayMusic : public MusicControl {
public:
    explicit MplayMusic(MPLAY& player) : p(player) {}
    bool PlayFile(const std::string& file, VbLong loopAtTimePos, bool streamLoop) override;
    bool StopFile() override;
    bool IsPlaying() const override;
    void CloseObject() override;

private:
    MPLAY& p;
};

// The game window: menus, the gradient pane with the play picture and the side panels, the
// message overlay and pause label, window or full screen. It shows the record and forwards
// window events to the shell's handlers.
class frmMain : public QMainWindow, public ShellWindow {
    Q_OBJECT

public:
    explicit frmMain(std::string commandLine, QWidget* parent = nullptr);
    ~frmMain() override;

    GameForm& form() { return *form_; }
    GameEngine& engine() { return *engine_; }
    GameShell& shell() { return *shell_; }
    int viewScale() const { return scale_; }

    // Runs the window's load handler; false when the program already ended.
    bool load();
    bool ended() const { return ended_; }

    // ShellWindow
    HWnd hwnd() override { return this; }
    void showWindow() override;
    void setOuterSize(int width, int height) override;
    std::string caption() const override;
    void setCaption(const std::string& caption) override;
    int innerWidth() const override;
    int innerHeight() const override;
    bool minimized() const override;
    void minimize() override;
    void setMenuBarVisible(bool visible) override;
    void setStyleBits(std::uint32_t bits, bool setIt) override;
    void coverScreen(int width, int height) override;
    void leaveCoverScreen() override;
    void focusGame() override;
    bool programInForeground() const override;
    bool gameWindowActive() const override;
    void outerRect(int& x, int& y, int& w, int& h) const override;
    void syncView() override;
    void endProgram() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus();
    void buildViews();
    void placeViews();
    // Lays the window out again once the handler that moved something has returned.
    void queueLayout();
    void rebuildJumpMenu();
    QAction* addItem(QMenu* menu, const char* caption, void (GameShell::*handler)(),
                     bool checkable = false);
    void Form_MouseUp(int button, const QPoint& globalPos);

    std::unique_ptr<GameForm> form_;
    std::unique_ptr<GameEngine> engine_;
    MPLAY* MPLAY1 = nullptr;
    std::unique_ptr<MplayMusic> music_;
    std::unique_ptr<GameShell> shell_;
    std::unique_ptr<CreditsSequence> credits_;
    std::unique_ptr<AttractDemo> demo_;
    std::unique_ptr<BootIntro> intro_;
    std::unique_ptr<CheatPanelModel> cheat_;
    std::unique_ptr<HiscoreUi> hiscores_;

    QWidget* area_ = nullptr;
    QWidget* paneWidget_ = nullptr;
    SurfaceView* gradientView_ = nullptr;
    SurfaceView* pMainView_ = nullptr;
    SurfaceView* hPicView_ = nullptr;
    SurfaceView* scoreView_ = nullptr;
    SurfaceView* levelView_ = nullptr;
    SurfaceView* livesView_ = nullptr;
    SurfaceView* timeScalaView_ = nullptr;
    SurfaceView* picDispView_ = nullptr;
    SurfaceView* helpView_ = nullptr;
    SurfaceView* flimmerView_ = nullptr;
    SurfaceView* diskView_ = nullptr;
    CheatPanel* cheatView_ = nullptr;
    bool cheatPlaced_ = false;
    SurfaceView* internetView_ = nullptr;
    std::shared_ptr<Surface> internetPic_;
    std::shared_ptr<Surface> helpPic_;
    std::array<QLabel*, 7> livesIcons_{};
    QLabel* pauseLabel_ = nullptr;
    std::unique_ptr<ViewFieldWatch> layoutWatch_;
    bool layoutQueued_ = false;
    int scale_ = 1;
    bool ended_ = false;
    bool covering_ = false;
    bool everActive_ = false;
    QSize wantedOuter_;

    QMenu* mnuFile_ = nullptr;
    QMenu* mnuCheat_ = nullptr;
    QMenu* mnuJumpToLevel_ = nullptr;
    QAction* cheatsplitter_ = nullptr;
    std::map<QAction*, MenuItem*> items_;
    QAction* mnuNewGame_ = nullptr;
    std::vector<std::string> jumpCaptions_;
};
