#include <gtest/gtest.h>

#include <QMainWindow>
#include <QPushButton>
#include <QTest>

#include "BoxWatcher.h"
#include "gui/dialogs/QtPrompter.h"
#include "gui/dialogs/XMessageBox.h"

using namespace modshelf::dialogs;
using modshelf::gui::QtPrompter;
using modshelf::gui::XMessageBox;

TEST(QtPrompter, MessageBoxShowsTheRealBoxOverItsOwner) {
    QMainWindow owner;
    owner.show();
    QtPrompter prompter(&owner);
    QWidget* parentSeen = nullptr;
    QString titleSeen;
    modshelf::gui::testing::BoxWatcher watcher([&](XMessageBox& box) {
        parentSeen = box.parentWidget();
        titleSeen = box.windowTitle();
        QTest::mouseClick(box.buttonById(id::kOk), Qt::LeftButton);
    });
    const int result = prompter.messageBox("Workspace renamed.", " Workspace Renamed",
                                           mb::kOkCancel, standardParams(true));
    EXPECT_EQ(result, id::kOk);
    EXPECT_EQ(parentSeen, &owner);
    EXPECT_EQ(titleSeen, " Workspace Renamed");
}

TEST(QtPrompter, OwnerCanBeSetLaterAndForgetsADeletedOne) {
    QtPrompter prompter;
    EXPECT_EQ(prompter.owner(), nullptr);
    auto* window = new QWidget;
    prompter.setOwner(window);
    EXPECT_EQ(prompter.owner(), window);
    delete window;
    EXPECT_EQ(prompter.owner(), nullptr);
}
