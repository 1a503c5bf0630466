// The real file dialog as the program shows it.
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
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

TEST(FileDialog, ASavePathTypedIntoAMissingFolderIsRefusedUntilTheUserCorrectsIt)
{
    QTemporaryDir folder;
    const QString missing = folder.filePath("missing/picture.png");
    const QString corrected = folder.filePath("picture.png");
    QtDialogService dialogs;
    FileDialogRequest request;
    request.title = QStringLiteral("Save Picture");
    request.directory = folder.path();
    // The user types the first path, is told, then types the second; a third showing of the
    // dialog is cancelled, so a wrong answer ends the test instead of hanging it.
    QStringList typed{missing, corrected};
    QStringList warnings;
    QTimer user;
    user.setInterval(10);
    QObject::connect(&user, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            warnings << box->windowTitle() + QLatin1Char('|') + box->text();
            box->accept();
        } else if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
            if (typed.isEmpty()) {
                dialog->reject();
                return;
            }
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            ASSERT_NE(name, nullptr);
            name->setText(typed.takeFirst());
            static_cast<QDialog*>(dialog)->accept(); // QFileDialog::accept, as the Save button does
        }
    });
    user.start();
    const std::optional<QString> chosen = dialogs.saveFile(nullptr, request);
    EXPECT_EQ(chosen, std::optional<QString>(corrected));
    EXPECT_EQ(warnings, QStringList{QStringLiteral("Save Picture|The folder %1 does not exist.")
                                        .arg(QDir::toNativeSeparators(folder.filePath("missing")))});
    EXPECT_TRUE(typed.isEmpty());
}
