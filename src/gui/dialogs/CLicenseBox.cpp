#include "gui/dialogs/CLicenseBox.h"

#include <QIcon>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "core/dialogs/LicenseText.h"
#include "gui/dialogs/DialogUnits.h"

namespace modshelf::gui {

CLicenseBox::CLicenseBox(const std::string& version, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      text_(dialogs::licenseText(dialogs::licenseParagraphs(version))) {
    setWindowTitle(QStringLiteral(" License"));
    const DialogUnits units(font());
    setFixedSize(units.px(352), units.py(210));

    edit_ = new QPlainTextEdit(this);
    edit_->setObjectName(QStringLiteral("license"));
    edit_->setGeometry(units.rect(7, 7, 338, 175));
    edit_->setReadOnly(true);
    edit_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    edit_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    edit_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    // The edit keeps lines apart with its own line ends.
    edit_->setPlainText(QString::fromStdString(text_).replace(QStringLiteral("\r\n"), "\n"));

    auto* icon = new QLabel(this);
    icon->setPixmap(QIcon(QStringLiteral(":/icons/modshelf-app.svg"))
                        .pixmap(QSize(32, 32), devicePixelRatioF()));
    icon->setGeometry(QRect(units.rect(6, 185, 0, 0).topLeft(), QSize(32, 32)));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setGeometry(units.rect(295, 189, 50, 14));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    // Tab order: the text first, then OK; the text has the focus to start with.
    setTabOrder(edit_, ok);
    edit_->setFocus();
}

}  // namespace modshelf::gui
