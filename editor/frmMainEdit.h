#pragma once

#include "MainEditModel.h"

#include <QMainWindow>
#include <QPoint>
#include <array>
#include <memory>

class EditorAreaView;
class QAction;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QMenu;
class QPushButton;
class SurfaceView;

// The level editor window. Its logic is the model; the window shows the model, forwards
// every control, mouse and key event to it and writes the model's control values back.
class frmMainEdit : public QMainWindow {
    Q_OBJECT

public:
    explicit frmMainEdit(QWidget* parent = nullptr);
    ~frmMainEdit() override;

    MainEditModel& model() { return *model_; }
    // Runs the start-up; false when it failed (the message was shown) and the program ends.
    bool load(const std::string& commandLine);
    // Writes the model's state into the controls, menus and caption.
    void syncFromModel();

    EditorAreaView* Pane = nullptr;
    EditorAreaView* Pane2 = nullptr;
    SurfaceView* Picture1 = nullptr;
    SurfaceView* STAT = nullptr;
    QComboBox* Speed = nullptr;
    QLineEdit* Text1 = nullptr;
    QComboBox* cmbGrd = nullptr;
    QCheckBox* Check1 = nullptr;
    QCheckBox* Check2 = nullptr;
    std::array<QPushButton*, 2> Command1{};
    QPushButton* Command2 = nullptr;

    QAction* mnuOpenBinary = nullptr;
    QAction* splitter9 = nullptr;
    QAction* mnuSaveBinary = nullptr;
    QAction* mnuSaveBinaryAs = nullptr;
    QAction* mnuGuidPic = nullptr;
    QMenu* mnuFilePop = nullptr;
    std::array<QAction*, editorui::alienKinds> mnuSetType{};
    std::array<QAction*, editorui::hitsItems> mnuSetHits{};
    std::array<QAction*, editorui::dropsItems> mnuSetDrops{};
    QAction* mnuShoots = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus();
    void buildControls();
    // Runs a model command, then shows what it changed.
    template <typename F> void run(F&& f);
    void panePressed(QMouseEvent* e);
    void paneMoved(QMouseEvent* e);
    void paneReleased(QMouseEvent* e);
    void palettePressed(QMouseEvent* e);
    void dragMoved(QPointF global);
    void dragFinished(QPointF global);
    void paintPlaced(QPainter& p);
    void paintPalette(QPainter& p);
    void releaseModifiers();

    std::unique_ptr<MainEditModel> model_;
    bool dragging_ = false;
    bool dragOverPane_ = false;
    QPointF dragPanePoint_;
    bool shiftHeld_ = false;
    bool altHeld_ = false;
};

// The Windows virtual-key code of a Qt key (0 for keys the editor has no use for), and the
// modifier mask (1 Shift, 2 Ctrl, 4 Alt) of a key event, counting a modifier key pressed.
int virtualKeyOf(int qtKey);
int shiftMaskOf(Qt::KeyboardModifiers modifiers, int qtKey, bool press);
