#include "gui/dialogs/CAboutBox.h"

#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include "core/dialogs/CodeRain.h"
#include "core/dialogs/CreditLines.h"
#include "gui/dialogs/CCodeRain.h"
#include "gui/dialogs/CStarCrawl.h"
#include "gui/dialogs/DialogUnits.h"

namespace modshelf::gui {

namespace {

void placeIcon(QWidget* parent, const QString& resource, const QPoint& at) {
    auto* label = new QLabel(parent);
    const QSize size(32, 32);
    label->setPixmap(QIcon(resource).pixmap(size, parent->devicePixelRatioF()));
    label->setGeometry(QRect(at, size));
}

}  // namespace

CAboutBox::CAboutBox(const std::string& version, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    setWindowTitle(QStringLiteral(" About . . ."));
    const DialogUnits units(font());
    setFixedSize(units.px(598), units.py(199));

    crawl_ = new CStarCrawl(this);
    crawl_->setGeometry(units.rect(1, 2, 297, 172));
    crawl_->setStarSpeed(15);
    crawl_->setScrollStep(1);
    for (const std::string& line : dialogs::crawlCredits(version)) crawl_->addLine(line);

    rain_ = new CCodeRain(this, units.rect(300, 2, 297, 172));
    dialogs::CodeRain& rain = rain_->model();
    rain.defaultPageTime = 10;
    rain_->setCursorMode(true, false);
    rain.maxScrambleCycles = 120;
    rain.highestRandomCode = 255;
    rain.lines = dialogs::rainCredits(version);
    rain.setLastPageLine(static_cast<int>(rain.lines.size()));  // the first page starts at line 0

    placeIcon(this, QStringLiteral(":/icons/modshelf-app.svg"), units.rect(2, 177, 0, 0).topLeft());
    placeIcon(this, QStringLiteral(":/icons/about-galaxy.svg"),
              units.rect(574, 177, 0, 0).topLeft());

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setGeometry(units.rect(274, 179, 50, 14));
    ok->setDefault(true);
    ok->setFocus();
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

void CAboutBox::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        event->accept();  // the focused control has had its chance; the box stays open
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace modshelf::gui
