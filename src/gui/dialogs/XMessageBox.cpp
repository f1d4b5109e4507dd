#include "gui/dialogs/XMessageBox.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QFile>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTimer>

#include "core/settings/AnswerStore.h"
#include "core/dialogs/ClipboardText.h"
#include "gui/dialogs/MessageBoxMetrics.h"

namespace modshelf::gui {

using dialogs::MessageBoxModel;

namespace {

settings::SettingsStore* gAnswerStore = nullptr;
std::function<void(std::uint32_t)> gHelpHandler;
constexpr int kSecondMs = 1000;

QString qs(const std::string& text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

// The program's own icons by resource number.
QString iconResourcePath(std::uint32_t iconId) {
    if (iconId == 100) return QStringLiteral(":/icons/modshelf-app.svg");
    return {};
}

QWidget* resolveOwner(QWidget* owner) {
    if (owner) return owner;
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    return QApplication::activeWindow();
}

// A stop icon with system-modal style goes to the platform's own box; its
// buttons still carry this box's captions and identifiers.
int runSystemBox(QWidget* owner, const MessageBoxModel& model) {
    QMessageBox box(QMessageBox::Critical, qs(model.windowTitle()), qs(model.text()),
                    QMessageBox::NoButton, owner);
    std::vector<std::pair<QAbstractButton*, int>> ids;
    for (const auto& b : model.buttons()) {
        QPushButton* button = box.addButton(qs(b.caption), QMessageBox::ActionRole);
        ids.emplace_back(button, b.id);
    }
    box.setDefaultButton(static_cast<QPushButton*>(ids[model.defaultIndex()].first));
    if (model.escapeAnswer()) {
        for (auto& [button, id] : ids) {
            if (id == *model.escapeAnswer()) box.setEscapeButton(button);
        }
    }
    box.exec();
    for (auto& [button, id] : ids) {
        if (box.clickedButton() == button) return id;
    }
    return model.escapeAnswer().value_or(-1);
}

}  // namespace

void XMessageBox::setAnswerStore(settings::SettingsStore* store) {
    gAnswerStore = store;
}
void XMessageBox::setHelpHandler(std::function<void(std::uint32_t)> handler) {
    gHelpHandler = std::move(handler);
}

int XMessageBox::show(QWidget* owner, const std::string& text,
                      const std::optional<std::string>& caption, std::uint32_t style,
                      const dialogs::MessageBoxParams* params) {
    owner = resolveOwner(owner);
    MessageBoxModel model(text, caption, style, params);

    if (model.usesSystemBox()) return runSystemBox(owner, model);

    if (gAnswerStore) {
        settings::AnswerStore store(*gAnswerStore);
        if (auto remembered = store.recall(style, model.params())) return *remembered;
    }

    XMessageBox box(model, owner);
    if (model.beeps()) QApplication::beep();
    box.exec();
    if (!box.answer()) return -1;  // the application quit under the box

    const int result = *box.answer();
    if (gAnswerStore) settings::AnswerStore(*gAnswerStore).remember(model.params(), result);
    return result;
}

XMessageBox::XMessageBox(const MessageBoxModel& model, QWidget* owner)
    : QDialog(owner),
      model_(model),
      countdown_(model.timeoutSeconds()),
      disabled_(model.disabledSeconds(), model.windowTitle()),
      owner_(owner) {
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowSystemMenuHint | Qt::MSWindowsFixedSizeDialogHint;
    if (model_.closeEnabled()) flags |= Qt::WindowCloseButtonHint;
    if (model_.topMost()) flags |= Qt::WindowStaysOnTopHint;
    setWindowFlags(flags);
    setWindowModality(Qt::ApplicationModal);
    setWindowTitle(qs(disabled_.title()));
    setObjectName(QStringLiteral("XMessageBox"));

    buildControls();
    applyLayout();

    if (countdown_.running()) {
        countdownTimer_ = new QTimer(this);
        countdownTimer_->setInterval(kSecondMs);
        connect(countdownTimer_, &QTimer::timeout, this, &XMessageBox::countdownTick);
    }
    if (disabled_.active()) {
        for (QPushButton* b : buttons_) b->setEnabled(false);
        disabledTimer_ = new QTimer(this);
        disabledTimer_->setInterval(kSecondMs);
        connect(disabledTimer_, &QTimer::timeout, this, &XMessageBox::disabledTick);
    }
}

XMessageBox::~XMessageBox() = default;

void XMessageBox::setSecondLength(int milliseconds) {
    if (milliseconds <= 0) milliseconds = kSecondMs;
    if (countdownTimer_) countdownTimer_->setInterval(milliseconds);
    if (disabledTimer_) disabledTimer_->setInterval(milliseconds);
}

QIcon XMessageBox::boxIcon() const {
    const auto& params = model_.params();
    if (params.iconId != 0) {
        const QString path = iconResourcePath(params.iconId);
        return path.isEmpty() || !QFile::exists(path) ? QIcon() : QIcon(path);
    }
    if (!params.iconName.empty()) {
        const QString path = QStringLiteral(":/icons/%1.svg").arg(qs(params.iconName));
        return QFile::exists(path) ? QIcon(path) : QIcon();
    }
    switch (model_.standardIcon()) {
        case dialogs::StandardIcon::Stop:
            return style()->standardIcon(QStyle::SP_MessageBoxCritical);
        case dialogs::StandardIcon::Question:
            return style()->standardIcon(QStyle::SP_MessageBoxQuestion);
        case dialogs::StandardIcon::Exclamation:
            return style()->standardIcon(QStyle::SP_MessageBoxWarning);
        case dialogs::StandardIcon::Information:
            return style()->standardIcon(QStyle::SP_MessageBoxInformation);
        case dialogs::StandardIcon::None:
            break;
    }
    return {};
}

void XMessageBox::buildControls() {
    const MessageBoxMetrics metrics = messageBoxMetrics(owner_);
    setFont(metrics.font);

    const QIcon icon = boxIcon();
    if (!icon.isNull()) {
        icon_ = new QLabel(this);
        icon_->setObjectName(QStringLiteral("icon"));
        icon_->setAlignment(Qt::AlignCenter);
        const auto size = metrics.layout.iconSize;
        icon_->setPixmap(icon.pixmap(QSize(size.width, size.height), devicePixelRatioF()));
    }

    message_ = new QLabel(qs(model_.text()), this);
    message_->setObjectName(QStringLiteral("message"));
    message_->setTextFormat(Qt::PlainText);
    message_->setWordWrap(true);
    message_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    if (model_.hasBand()) {
        QPalette palette = message_->palette();
        const QColor text = model_.textColour()
                                ? toQColor(*model_.textColour())
                                : QApplication::palette().color(QPalette::WindowText);
        palette.setColor(QPalette::WindowText, text);
        message_->setPalette(palette);
    }

    const auto& buttons = model_.buttons();
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        auto* button = new QPushButton(qs(buttons[i].caption), this);
        const int id = buttons[i].id;
        button->setObjectName(QStringLiteral("button%1").arg(id));
        button->setProperty("buttonId", id);
        button->setAutoDefault(true);
        connect(button, &QPushButton::clicked, this, [this, id] { buttonPressed(id); });
        buttons_.push_back(button);
    }
    QPushButton* def = buttons_[model_.defaultIndex()];
    def->setDefault(true);
    def->setFocus();

    if (model_.checkBox()) {
        checkBox_ = new QCheckBox(qs(model_.checkBox()->caption), this);
        checkBox_->setObjectName(QStringLiteral("checkBox"));
        connect(checkBox_, &QCheckBox::toggled, this, [this] { stopCountdown(); });
    }

    for (QObject* child : children()) {
        if (child->isWidgetType()) child->installEventFilter(this);
    }
}

void XMessageBox::applyLayout() {
    const MessageBoxMetrics metrics = messageBoxMetrics(owner_);
    dialogs::LayoutRequest request;
    request.newerLook = model_.newerLook();
    request.narrow = model_.narrow();
    request.rightAligned = model_.buttonsRightAligned();
    request.styleHasIconBits = model_.styleHasIconBits();
    request.hasIcon = icon_ != nullptr;
    request.hasBand = model_.hasBand();
    request.countdown = model_.timeoutSeconds() > 0;
    for (QPushButton* b : buttons_)
        request.buttonTextWidths.push_back(captionWidth(metrics.font, b->text()));
    if (checkBox_) {
        request.hasCheckBox = true;
        request.checkBoxWidth = checkBox_->sizeHint().width();
    }
    const QString text = message_->text();
    layout_ = dialogs::layOutMessageBox(metrics.layout, request, [&](int limit) {
        return measureMessage(metrics.font, text, limit);
    });

    auto toRect = [](const dialogs::LayoutRect& r) {
        return QRect(r.left, r.top, r.width(), r.height());
    };
    if (icon_ && layout_.icon) icon_->setGeometry(toRect(*layout_.icon));
    message_->setGeometry(toRect(layout_.message));
    for (std::size_t i = 0; i < buttons_.size(); ++i)
        buttons_[i]->setGeometry(toRect(layout_.buttons[i]));
    if (checkBox_ && layout_.checkBox) checkBox_->setGeometry(toRect(*layout_.checkBox));
    setFixedSize(layout_.box.width, layout_.box.height);
}

void XMessageBox::placeOnScreen() {
    const auto& params = model_.params();
    if (params.x != 0 || params.y != 0) {
        move(params.x, params.y);
        return;
    }
    QRect area;
    if (owner_ && owner_->window()->isVisible()) {
        area = owner_->window()->frameGeometry();
    } else if (QScreen* screen = QGuiApplication::primaryScreen()) {
        area = screen->availableGeometry();
    }
    if (area.isValid()) move(area.center() - rect().center());
}

void XMessageBox::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!placed_) {
        placed_ = true;
        placeOnScreen();
        if (countdownTimer_) countdownTimer_->start();
        if (disabledTimer_) disabledTimer_->start();
        defaultPushButton()->setFocus();
        // The box comes to the front; a platform without windows has no front.
        if (QGuiApplication::platformName() != QLatin1String("offscreen")) raise();
        activateWindow();
    }
}

QPushButton* XMessageBox::buttonById(int id) const {
    for (QPushButton* b : buttons_) {
        if (b->property("buttonId").toInt() == id) return b;
    }
    return nullptr;
}

QPushButton* XMessageBox::defaultPushButton() const {
    return buttons_[model_.defaultIndex()];
}

QColor XMessageBox::bandColour() const {
    if (!model_.hasBand()) return {};
    if (auto colour = model_.bandColour()) return toQColor(*colour);
    return QApplication::palette().color(QPalette::Base);
}

QColor XMessageBox::messageTextColour() const {
    return message_->palette().color(QPalette::WindowText);
}

void XMessageBox::countdownTick() {
    QPushButton* def = defaultPushButton();
    const dialogs::Countdown::Step step = countdown_.tick(def->text().toStdString());
    if (step.press) {
        countdownTimer_->stop();
        finish(model_.timeoutResult(checkBox_ && checkBox_->isChecked()));
        return;
    }
    if (!step.caption.empty()) def->setText(qs(step.caption));
}

void XMessageBox::disabledTick() {
    if (disabled_.tick()) {
        disabledTimer_->stop();
        for (QPushButton* b : buttons_) b->setEnabled(true);
        defaultPushButton()->setFocus();
    }
    setWindowTitle(qs(disabled_.title()));
}

void XMessageBox::stopCountdown() {
    if (!countdown_.running()) return;
    if (countdownTimer_) countdownTimer_->stop();
    if (auto original = countdown_.stop()) defaultPushButton()->setText(qs(*original));
}

void XMessageBox::buttonPressed(int id) {
    stopCountdown();
    if (id == dialogs::id::kHelp) {
        // Help opens the help and leaves the question standing.
        if (gHelpHandler) gHelpHandler(model_.params().helpId);
        return;
    }
    if (id == dialogs::id::kReport && model_.params().reportCallback) {
        model_.params().reportCallback(model_.text(), model_.params().reportData);
    }
    finish(model_.resultFor(id, checkBox_ && checkBox_->isChecked()));
}

void XMessageBox::finish(int result) {
    if (answer_) return;
    answer_ = result;
    if (countdownTimer_) countdownTimer_->stop();
    if (disabledTimer_) disabledTimer_->stop();
    done(result);
}

void XMessageBox::reject() {
    if (disabled_.active() || !model_.escapeAnswer()) return;
    stopCountdown();
    finish(*model_.escapeAnswer());
}

void XMessageBox::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (!answer_) reject();
}

void XMessageBox::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        copyToClipboard();
        return;
    }
    QDialog::keyPressEvent(event);
}

void XMessageBox::mousePressEvent(QMouseEvent* event) {
    stopCountdown();
    QDialog::mousePressEvent(event);
}

bool XMessageBox::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) stopCountdown();
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
        copyToClipboard();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void XMessageBox::paintEvent(QPaintEvent* event) {
    if (!model_.hasBand()) {
        QDialog::paintEvent(event);
        return;
    }
    QPainter painter(this);
    painter.fillRect(rect(), QApplication::palette().color(QPalette::Button));
    const auto& band = layout_.band;
    painter.fillRect(QRect(0, band.top, width(), band.height()), bandColour());
}

void XMessageBox::copyToClipboard() {
    std::vector<std::string> captions;
    for (QPushButton* b : buttons_) captions.push_back(b->text().toStdString());
    const std::string text =
        dialogs::clipboardText(windowTitle().toStdString(), model_.text(), captions);
    QApplication::clipboard()->setText(qs(text));
}

}  // namespace modshelf::gui
