// Every window of the program as keyboard users and assistive tools meet it: a button that shows
// only a glyph says in its tooltip and accessible name what it does.
#include <QAbstractButton>
#include <QApplication>

#include "programfixture.h"

namespace {

class AccessibilityTest : public ProgramTest {};

// Where a widget sits, for the failure message: its window's title and its own name.
std::string describe(const QWidget& widget)
{
    return widget.window()->windowTitle().toStdString() + " / " + widget.objectName().toStdString() + " (" +
           widget.metaObject()->className() + ")";
}

TEST_F(AccessibilityTest, EveryButtonWithoutTextSaysWhatItDoes)
{
    writeRegDb({});
    start();
    // Every window is made at start-up and lives until the program ends.
    int glyphButtons = 0;
    for (QWidget* widget : QApplication::allWidgets()) {
        auto* button = qobject_cast<QAbstractButton*>(widget);
        if (!button || !button->text().trimmed().isEmpty() || button->icon().isNull())
            continue;
        // Buttons the toolkit makes inside its own controls (a tab bar's scroll arrows) are
        // described by the toolkit.
        if (button->objectName().startsWith(QLatin1String("qt_")) || button->parent()->inherits("QTabBar"))
            continue;
        ++glyphButtons;
        EXPECT_FALSE(button->toolTip().isEmpty()) << describe(*button) << " has no tooltip";
        EXPECT_FALSE(button->accessibleName().isEmpty()) << describe(*button) << " has no accessible name";
    }
    EXPECT_GE(glyphButtons, 9) << "the main window alone has nine glyph buttons";
}

} // namespace
