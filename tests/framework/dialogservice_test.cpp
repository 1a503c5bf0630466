// The real file dialog as the program shows it.
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include "framework/qtdialogservice.h"

TEST(FileDialog, TheAcceptButtonSaysWhatTheCommandDoes)
{
    QtDialogService dialogs;
    FileDialogRequest request;
    request.title = QStringLiteral("Delete a Database");
    request.filters = {QStringLiteral("Databases (*.mb)")};
    request.acceptLabel = QStringLiteral("&Delete");
    QString title;
    QStringList buttons;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        title = dialog->windowTitle();
        for (QPushButton* button : dialog->findChild<QDialogButtonBox*>()->findChildren<QPushButton*>())
            buttons << button->text().remove(QLatin1Char('&'));
        dialog->reject();
    });
    EXPECT_FALSE(dialogs.openFile(nullptr, request).has_value());
    EXPECT_EQ(title, "Delete a Database");
    EXPECT_TRUE(buttons.contains("Delete")) << buttons.join(", ").toStdString();
    EXPECT_FALSE(buttons.contains("Open"));
}
