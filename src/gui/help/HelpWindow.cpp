#include "gui/help/HelpWindow.h"

#include <QAction>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeySequence>
#include <QListWidget>
#include <QScreen>
#include <QSplitter>
#include <QTextBrowser>
#include <QToolBar>

#include "core/app/HelpPaths.h"
#include "gui/help/HelpContents.h"

namespace modshelf::gui {

namespace {

QUrl urlOf(const std::filesystem::path& file) {
    return QUrl::fromLocalFile(QString::fromStdString(file.lexically_normal().string()));
}

}  // namespace

HelpWindow::HelpWindow(std::filesystem::path folder, QWidget* parent)
    : QMainWindow(parent, Qt::Window), folder_(std::move(folder)) {
    setObjectName(QStringLiteral("helpWindow"));
    setWindowTitle(QStringLiteral("Modshelf Help"));
    setAttribute(Qt::WA_DeleteOnClose, false);

    auto* splitter = new QSplitter(this);
    contents_ = new QListWidget(splitter);
    contents_->setObjectName(QStringLiteral("helpContents"));
    browser_ = new QTextBrowser(splitter);
    browser_->setObjectName(QStringLiteral("helpBrowser"));
    // Links to the web leave the window; our pages stay in it.
    browser_->setOpenExternalLinks(true);
    browser_->setSearchPaths({QString::fromStdString(folder_.string())});
    splitter->addWidget(contents_);
    splitter->addWidget(browser_);
    splitter->setStretchFactor(1, 1);
    setCentralWidget(splitter);

    fillContents();
    buildToolBar();

    const auto openItem = [this](QListWidgetItem* item) {
        browser_->setSource(urlOf(folder_ / item->data(Qt::UserRole).toString().toStdString()));
    };
    connect(contents_, &QListWidget::itemActivated, this, openItem);
    connect(contents_, &QListWidget::itemClicked, this, openItem);
    connect(browser_, &QTextBrowser::sourceChanged, this, [this](const QUrl& source) {
        const QString title = browser_->documentTitle();
        setWindowTitle(title.isEmpty() ? QStringLiteral("Modshelf Help") : title);
        selectContentsEntry(source);
    });

    const QSize available = QGuiApplication::primaryScreen()
                                ? QGuiApplication::primaryScreen()->availableSize()
                                : QSize(1024, 768);
    resize(std::min(900, available.width() * 9 / 10), std::min(650, available.height() * 9 / 10));
    splitter->setSizes({width() / 4, width() * 3 / 4});
}

void HelpWindow::fillContents() {
    for (const HelpTopic& topic : readHelpContents(folder_)) {
        auto* item = new QListWidgetItem(QString::fromStdString(topic.title), contents_);
        item->setData(Qt::UserRole, QString::fromStdString(topic.page));
    }
}

void HelpWindow::buildToolBar() {
    QToolBar* bar = addToolBar(QStringLiteral("Help"));
    bar->setObjectName(QStringLiteral("helpToolBar"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);

    QAction* back = bar->addAction(QStringLiteral("&Back"), browser_, &QTextBrowser::backward);
    back->setShortcut(QKeySequence::Back);
    back->setEnabled(false);
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);

    QAction* forward = bar->addAction(QStringLiteral("&Forward"), browser_, &QTextBrowser::forward);
    forward->setShortcut(QKeySequence::Forward);
    forward->setEnabled(false);
    connect(browser_, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);

    bar->addSeparator();
    bar->addAction(QStringLiteral("&Contents"), this,
                   [this] { browser_->setSource(urlOf(folder_ / app::kHelpContentsPage)); });
    bar->addAction(QStringLiteral("&Index"), this,
                   [this] { browser_->setSource(urlOf(folder_ / app::kHelpIndexPage)); });

    QAction* close = new QAction(QStringLiteral("Close"), this);
    close->setShortcut(QKeySequence(Qt::Key_Escape));
    connect(close, &QAction::triggered, this, &QWidget::close);
    addAction(close);
}

void HelpWindow::selectContentsEntry(const QUrl& source) {
    // The signal comes before source() tells the new page.
    const QString page = QFileInfo(source.toLocalFile()).fileName();
    for (int row = 0; row < contents_->count(); ++row) {
        if (contents_->item(row)->data(Qt::UserRole).toString() == page) {
            contents_->setCurrentRow(row);
            return;
        }
    }
    contents_->clearSelection();
}

std::filesystem::path HelpWindow::currentPage() const {
    return browser_->source().toLocalFile().toStdString();
}

void HelpWindow::showPage(const std::filesystem::path& page) {
    const QUrl url = urlOf(page);
    if (browser_->source() == url)
        browser_->reload();
    else
        browser_->setSource(url);
    if (isMinimized()) showNormal();
    show();
    raise();
    activateWindow();
}

}  // namespace modshelf::gui
