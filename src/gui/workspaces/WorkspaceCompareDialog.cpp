#include "gui/workspaces/WorkspaceCompareDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace modshelf::gui {

QString moduleText(const workspaces::ModuleRef& module) {
    return QString::fromStdString(workspaces::categoryTypeName(module.category)) +
           QStringLiteral("  ") + QString::fromStdString(module.tabName);
}

WorkspaceCompareDialog::WorkspaceCompareDialog(QWidget* parent) : QDialog(parent) {
    auto* layout = new QVBoxLayout(this);
    explanation_ = new QLabel(this);
    explanation_->setWordWrap(true);
    layout->addWidget(explanation_);

    auto* choices = new QHBoxLayout;
    first_ = new QComboBox(this);
    second_ = new QComboBox(this);
    with_ = new QLabel(tr("with"), this);
    choices->addWidget(first_, 1);
    choices->addWidget(with_);
    choices->addWidget(second_, 1);
    layout->addLayout(choices);
    for (QWidget* w : {static_cast<QWidget*>(first_), static_cast<QWidget*>(with_),
                       static_cast<QWidget*>(second_)})
        w->hide();

    auto* lists = new QGridLayout;
    leftHeading_ = new QLabel(this);
    rightHeading_ = new QLabel(this);
    left_ = new QListWidget(this);
    right_ = new QListWidget(this);
    leftHeading_->setBuddy(left_);
    rightHeading_->setBuddy(right_);
    lists->addWidget(leftHeading_, 0, 0);
    lists->addWidget(rightHeading_, 0, 1);
    lists->addWidget(left_, 1, 0);
    lists->addWidget(right_, 1, 1);
    layout->addLayout(lists, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(560, 420);
}

void WorkspaceCompareDialog::showLists(const QString& explanation, const QString& leftHeading,
                                       const std::vector<workspaces::ModuleRef>& left,
                                       const QString& rightHeading,
                                       const std::vector<workspaces::ModuleRef>& right) {
    explanation_->setText(explanation);
    auto fill = [](QListWidget* list, QLabel* heading, const QString& text,
                   const std::vector<workspaces::ModuleRef>& modules) {
        heading->setText(text.arg(modules.size()));
        list->clear();
        for (const workspaces::ModuleRef& m : modules) list->addItem(moduleText(m));
        if (modules.empty()) {
            auto* none = new QListWidgetItem(tr("(none)"), list);
            none->setFlags(Qt::NoItemFlags);
        }
    };
    fill(left_, leftHeading_, leftHeading, left);
    fill(right_, rightHeading_, rightHeading, right);
}

void WorkspaceCompareDialog::offerChoice(const QStringList& choices, int first, int second,
                                         Compare compare) {
    compare_ = std::move(compare);
    for (QComboBox* box : {first_, second_}) {
        box->clear();
        box->addItems(choices);
        box->show();
        connect(box, &QComboBox::currentIndexChanged, this, &WorkspaceCompareDialog::compareChosen);
    }
    with_->show();
    first_->setCurrentIndex(first);
    second_->setCurrentIndex(second);
    compareChosen();
}

void WorkspaceCompareDialog::compareChosen() {
    if (compare_ && first_->currentIndex() >= 0 && second_->currentIndex() >= 0)
        compare_(first_->currentIndex(), second_->currentIndex());
}

}  // namespace modshelf::gui
