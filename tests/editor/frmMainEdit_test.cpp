#include "EditorAreaView.h"
#include "EditorFixture.h"
#include "RealBoxes.h"
#include "frmMainEdit.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>

namespace {

using EditorWindow = EditorFixture;

QStringList captions(QMenu* menu) {
    QStringList out;
    for (QAction* a : menu->actions()) {
        if (a->isVisible()) {
            out << (a->isSeparator() ? QStringLiteral("-") : a->text());
        }
    }
    return out;
}

void mouse(QWidget* w, QEvent::Type type, QPoint globalPos, Qt::MouseButtons held) {
    const QPointF local = w->mapFromGlobal(QPointF(globalPos));
    QMouseEvent e(type, local, QPointF(globalPos), Qt::LeftButton, held, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

} // namespace

TEST_F(EditorWindow, RealWindowShowsTheEditorAndTakesADropFromThePalette) {
    frmMainEdit window;
    ASSERT_TRUE(window.load(""));
    window.show();
    QApplication::processEvents();
    EXPECT_EQ(window.windowTitle(), "Vantorix EDITOR");

    const auto menus = window.menuBar()->actions();
    ASSERT_EQ(menus.size(), 2);
    EXPECT_EQ(menus[0]->text(), "File");
    EXPECT_EQ(captions(menus[0]->menu()),
              (QStringList{"Open...", "-", "Save...", "Save as...", "-", "Load guide picture...",
                           "Show Guid picture", "-", "Binary mode (QFN ONLY!)", "-", "About...",
                           "Exit"}));
    EXPECT_EQ(captions(menus[1]->menu()), (QStringList{"Add new level", "-", "Clear level", "-",
                                                       "Delete level", "-", "Test level"}));
    EXPECT_EQ(window.Text1->text(), "Level 1");
    EXPECT_EQ(window.cmbGrd->currentText(), "10");
    EXPECT_EQ(window.Speed->count(), 50);
    EXPECT_TRUE(window.Check1->isChecked());
    EXPECT_EQ(window.Pane->size(), QSize(400, 420));

    // Press on palette item 2, let go over the pane: one alien of kind 2 on the grid.
    const PaletteItem& item = window.model().CurMonster[2];
    const QPoint grab = window.Pane2->mapToGlobal(QPoint(item.Left + 2, item.Top + 2));
    const QPoint over = window.Pane->mapToGlobal(QPoint(102, 52));
    mouse(window.Pane2, QEvent::MouseButtonPress, grab, Qt::LeftButton);
    mouse(window.Pane2, QEvent::MouseMove, over, Qt::LeftButton);
    mouse(window.Pane2, QEvent::MouseButtonRelease, over, Qt::NoButton);
    const auto& aliens = window.model().EditLevels[0].Aliens;
    ASSERT_EQ(aliens.size(), 1u);
    EXPECT_EQ(aliens[0].Type, 2);
    EXPECT_EQ(aliens[0].X, 101);
    EXPECT_EQ(aliens[0].Y, 51);
    EXPECT_EQ(window.model().Saved, VbFalse);

    // Typing in the name box never removes aliens; elsewhere Delete reaches the window
    // first and removes the current alien.
    QKeyEvent inName(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
    QApplication::sendEvent(window.Text1, &inName);
    EXPECT_EQ(window.model().EditLevels[0].Aliens[0].Type, 2);
    QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
    QApplication::sendEvent(window.Pane, &del);
    EXPECT_EQ(window.model().EditLevels[0].Aliens[0].Type, -1);

    // Closing with changes asks first; Cancel keeps the window open.
    dialogs.answer(mb::Cancel);
    EXPECT_FALSE(window.close());
    EXPECT_EQ(dialogs.calls().back().prompt, "Save changes before quitting?");
    dialogs.answer(mb::No);
    EXPECT_TRUE(window.close());
}

TEST(EditorKeys, QtKeysMapToTheVirtualKeysAndModifierMask) {
    EXPECT_EQ(virtualKeyOf(Qt::Key_Delete), 46);
    EXPECT_EQ(virtualKeyOf(Qt::Key_Left), 37);
    EXPECT_EQ(virtualKeyOf(Qt::Key_Down), 40);
    EXPECT_EQ(virtualKeyOf(Qt::Key_Shift), 16);
    EXPECT_EQ(virtualKeyOf(Qt::Key_Alt), 18);
    EXPECT_EQ(virtualKeyOf(Qt::Key_Q), 'Q');
    EXPECT_EQ(shiftMaskOf(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_Left, true), 3);
    EXPECT_EQ(shiftMaskOf(Qt::NoModifier, Qt::Key_Shift, true), 1);
    EXPECT_EQ(shiftMaskOf(Qt::NoModifier, Qt::Key_Alt, true), 4);
    EXPECT_EQ(shiftMaskOf(Qt::NoModifier, Qt::Key_Shift, false), 0);
}

// The editor's boxes and file dialogs, met one after another, each stand centred on the
// editor, and the editor has the keyboard again after each: without a window manager the
// box after the first stood in the middle of the screen, and the keys went to no window.
TEST_F(EditorWindow, BoxesOneAfterAnotherStandCentredOnTheEditor) {
    frmMainEdit window;
    ASSERT_TRUE(window.load(""));
    window.move(20, 30); // away from the middle of the screen
    window.show();
    window.activateWindow();
    ASSERT_TRUE(becomesActive(&window));
    const auto item = [&](const QString& caption) {
        for (QAction* menu : window.menuBar()->actions()) {
            for (QAction* a : menu->menu()->actions()) {
                if (a->text() == caption) {
                    return a;
                }
            }
        }
        return static_cast<QAction*>(nullptr);
    };
    window.model().EditLevels.push_back(emptyEditLevel(2)); // a level to delete
    window.model().Saved = VbFalse;
    RealBoxes boxes;
    FileDialogService::install(nullptr); // the real file dialogs too
    const std::pair<const char*, const char*> steps[] = {
        {"Add new level", "vantedit"}, // the shown level is empty
        {"Delete level", "DELETE?"},
        {"Open...", "Save?"},
        {"Save as...", "Save as"},
    };
    for (const auto& [caption, title] : steps) {
        SCOPED_TRACE(caption);
        QAction* a = item(caption);
        ASSERT_NE(a, nullptr);
        const std::size_t before = boxes.shown().size();
        a->trigger(); // each box cancelled
        ASSERT_EQ(boxes.shown().size(), before + 1);
        const RealBoxes::Shown& shown = boxes.shown().back();
        EXPECT_EQ(shown.title, title);
        EXPECT_EQ(shown.owner, &window);
        EXPECT_EQ(shown.frame, centredOn(window, shown.frame.size()));
        EXPECT_TRUE(becomesActive(&window));
    }
    EXPECT_EQ(window.model().EditLevels.size(), 2u);
    FileDialogService::install(&files);
    window.model().Saved = VbTrue;
    EXPECT_TRUE(window.close());
}
