#pragma once

#include "ColorFader.h"
#include "EditorLevelFiles.h"
#include "GameLaunch.h"
#include "KeyCodes.h"
#include "QFTModuleDesktop.h"
#include "Surface.h"
#include "TestLevelCopies.h"
#include "Timer.h"
#include "VbTypes.h"

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class Clock;

// A placed alien's picture on the pane: one element of Mz.
struct PlacedPicture {
    double Left = 0;
    double Top = 0;
    int Width = 0;
    int Height = 0;
    bool Visible = false;
    // The palette item whose picture it shows, -1 for none.
    int Kind = -1;
};

// A palette item: one element of CurMonster, the alien's picture drawn through its mask.
struct PaletteItem {
    std::unique_ptr<Surface> Picture;
    int Left = 0;
    int Top = 0;
    bool Visible = false;
    int Width() const { return Picture ? Picture->Width() : 0; }
    int Height() const { return Picture ? Picture->Height() : 0; }
};

// What is being dragged: a palette item or a placed alien, by index.
enum class DragKind { None, Palette, Placed };
struct DragSource {
    DragKind Kind = DragKind::None;
    int Index = -1;
};

// The modifier mask of the key and mouse events.
namespace shiftmask {
inline constexpr int Shift = 1;
inline constexpr int Ctrl = 2;
inline constexpr int Alt = 4;
} // namespace shiftmask
namespace mousebutton {
inline constexpr int Left = 1;
inline constexpr int Right = 2;
} // namespace mousebutton

namespace editorui {
inline constexpr int paneWidth = 400; // the game's play pane
inline constexpr int paneHeight = 420;
inline constexpr int paletteWidth = 100;
inline constexpr int paletteHeight = 470;
inline constexpr int alienKinds = 11;
inline constexpr int hitsItems = 9;
inline constexpr int dropsItems = 11;
inline constexpr int gridItems = 48;  // "3".."50"
inline constexpr int speedItems = 50; // "1".."50"
extern const char* const dropsCaptions[dropsItems];
extern const char* const binaryModePassword;
} // namespace editorui

// The level editor window's state and logic. The Qt window shows this model and forwards
// its events here; tests drive it without a screen. Controls appear as plain fields (list
// indexes, check values, texts, surfaces); a handler that a control's change runs in the
// toolkit is run here by whoever changes the control, so the window writes the fields back
// without running handlers.
class MainEditModel : public EditorLevelFiles {
public:
    explicit MainEditModel(Clock& clock);
    ~MainEditModel();

    // ---- Window state ------------------------------------------------------------------
    std::string Caption = "Vantorix EDITOR";
    VbBool Reloading = VbFalse;
    VbBool BinaryMode = VbFalse;

    // Placement, selection and drag state.
    VbInteger LastAlien = -1;
    VbBool Selecting = VbFalse;
    VbInteger SelX1 = 0, SelY1 = 0, SelX2 = 0, SelY2 = 0;
    VbInteger GrabX = 0, GrabY = 0;
    VbInteger DragWidth = 0, DragHeight = 0;
    VbInteger DropX = 0, DropY = 0;
    VbBool DragStarted = VbFalse;
    VbBool DropFrameHidden = VbTrue;
    VbBool CopyDrag = VbFalse;
    VbBool SnapToGrid = VbTrue;
    VbInteger GridSize = 10;
    std::unique_ptr<ColorFader> PaletteFader;

    // Surfaces: the placement area, the palette area, the copy-mode text, the status line
    // and the guide picture's holder.
    Surface Pane{editorui::paneWidth, editorui::paneHeight};
    Surface Pane2{editorui::paletteWidth, editorui::paletteHeight};
    Surface STAT{90, 16};
    Surface Picture1{220, 16};
    Surface gPic;
    std::vector<std::unique_ptr<Surface>> Monster;
    std::vector<PaletteItem> CurMonster;
    std::vector<PlacedPicture> Mz;

    // Control values.
    int cmbGrdIndex = -1;      // "Grid:" list, index 0 = "3"
    int SpeedIndex = -1;       // "Level speed:" list, index 0 = "1"
    std::string Text1;         // "Name:"
    int Check1 = 1;            // "Snap to grid"
    int Check2 = 1;            // "Show grid"
    bool PaneHasFocus = false; // set by a drop; the window moves the focus
    bool BusyPointer = false;

    // Menus: visibility of the binary commands and the check marks.
    bool BinaryMenusVisible = false;
    bool mnuGuidPicChecked = false;
    std::array<bool, editorui::alienKinds> mnuSetTypeChecked{};
    std::array<bool, editorui::hitsItems> mnuSetHitsChecked{};
    std::array<bool, editorui::dropsItems> mnuSetDropsChecked{};
    bool mnuShootsChecked = true;

    Timer Timer1;
    Timer FadeTimer;

    // ---- Hooks the window (or a test) sets ---------------------------------------------
    // Starts the game; by default a detached process.
    GameLauncher launchGame;
    // The text copies of the levels that "Test level" hands the game.
    TestLevelCopies testCopies;
    // Closes the window, which then runs Form_Unload; without it Exit runs Form_Unload
    // here and records the outcome in Closed.
    std::function<void()> closeWindow;
    bool Closed = false;
    // Shows the property popup at the mouse (after Mz_MouseDown set its check marks).
    std::function<void()> showPopup;
    // The window owner of the file dialogs.
    HWnd ownerWindow = nullptr;
    // The program's command line (arguments joined by blanks).
    std::string CommandLine;

    // ---- Window and file commands -----------------------------------------------------
    // False after a start-up failure was shown: the program then ends.
    bool Form_Load();
    // Cancel is set to keep the window open.
    void Form_Unload(int& Cancel);
    void mnuOpen_Click();
    void mnuOpenBinary_Click();
    void mnuSave_Click();
    void mnuSaveAs_Click();
    void mnuSaveBinary_Click();
    void mnuSaveBinaryAs_Click();
    void mnuLoadPic_Click();
    void mnuGuidPic_Click();
    void mnuSetBinaryMode_Click();
    void mnuAbout_Click();
    void mnuExit_Click();
    void mnuTestLevel_Click();

    // The file routines, which show the first level after a load.
    bool LoadLevels(const std::string& FileName);
    bool LoadLevelsBinary(const std::string& FileName);

    // ---- Level list ---------------------------------------------------------------------
    void ReloadPane();
    void mnuAddLevel_Click();
    void mnuClearLevel_Click();
    void mnuDeleteLevel_Click();
    void Command1_Click(int Index); // 0 "NEXT", 1 "PREV."
    void Command2_Click();          // "Refresh"
    void Speed_Click();
    void Text1_Change();
    void Timer1_Timer();

    // ---- Placement, selection and keys --------------------------------------------------
    void CurMonster_DragOver(int Index, DragSource Source, double X, double Y, int State);
    void Mz_DragOver(int Index, DragSource Source, double X, double Y, int State);
    void Pane_DragOver(DragSource Source, double X, double Y, int State);
    void Pane_DragDrop(DragSource Source, double X, double Y);
    void Mz_DragDrop(int Index, DragSource Source, double X, double Y);
    void Mz_MouseDown(int Index, int Button, int Shift, double X, double Y);
    void Pane_MouseDown(int Button, int Shift, double X, double Y);
    void Pane_MouseMove(int Button, int Shift, double X, double Y);
    void Pane_MouseUp(int Button, int Shift, double X, double Y);
    void DrawSel(VbLong Color);
    bool IsInSel(int Index) const;
    void Form_KeyDown(int KeyCode, int Shift);
    void Form_KeyUp(int KeyCode, int Shift);
    void mnuRemove_Click();

    // ---- Palette, grid and status -------------------------------------------------------
    void FadeTimer_Timer();
    void cmbGrd_Click();
    void cmbGrd_GotFocus();
    void Check1_Click();

    // ---- Property popup -----------------------------------------------------------------
    void mnuSetType_Click(int Index);
    void mnuSetHits_Click(int Index);
    void mnuSetDrops_Click(int Index);
    void mnuShoots_Click();

    // ---- Mouse and drag routing ---------------------------------------------------------
    // The window reports presses and drags in pane or palette coordinates; these find the
    // control under the point (the topmost visible one) and send its events.
    // A press on the pane: a placed alien's press, or the selection. True when it starts a
    // drag of that alien.
    bool paneMouseDown(int Button, int Shift, double X, double Y);
    // A left press on the palette: true when it starts a drag of an item.
    bool paletteMouseDown(int Button, double X, double Y);
    void dragOverPane(double X, double Y);
    void dragOverPalette(double X, double Y);
    // The drag is over neither area.
    void dragOutside();
    void dropOnPane(double X, double Y);
    // The drag ended anywhere but on the pane: the dragged alien comes back where it was.
    void dropElsewhere();
    // Index of the topmost visible placed alien under the pane point, -1 for none.
    int placedAlienAt(double X, double Y) const;
    int paletteItemAt(double X, double Y) const;

private:
    void buildPalette();
    void saveAsWith(const std::string& initialDir, bool binary);
    void openWith(const std::string& initialDir, bool binary);
    bool targeted(int i) const;
    void updateDropPosition(double X, double Y);
    void placeAt(PlacedPicture& pic, double left, double top);
    void clamp(PlacedPicture& pic) const;
    void showPicture(PlacedPicture& pic, int kind);
    void leaveTargets();

    Clock& clock_;
    DragSource drag_;
    // The control the drag is over: a placed alien or palette item index, or -1 for the
    // area itself; the area the drag is over.
    enum class Area { None, Pane, Palette };
    Area dragArea_ = Area::None;
    int dragTarget_ = -1;
};
