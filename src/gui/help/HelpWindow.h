#pragma once

#include <QMainWindow>
#include <filesystem>

class QListWidget;
class QTextBrowser;
class QUrl;

namespace modshelf::gui {

// The program's own help viewer: our HTML pages in a text browser, with a
// contents pane and back, forward, contents and index buttons. It needs no
// web browser; addresses outside the help folder go to the desktop.
class HelpWindow : public QMainWindow {
    Q_OBJECT
public:
    // folder: where the pages are. parent: the window it stays in front of.
    explicit HelpWindow(std::filesystem::path folder, QWidget* parent = nullptr);

    const std::filesystem::path& folder() const { return folder_; }

    // Shows the window with the given page, brought to the front.
    void showPage(const std::filesystem::path& page);

    // The page shown, as a file.
    std::filesystem::path currentPage() const;

    QTextBrowser* browser() const { return browser_; }
    QListWidget* contents() const { return contents_; }

private:
    void fillContents();
    void buildToolBar();
    void selectContentsEntry(const QUrl& source);

    std::filesystem::path folder_;
    QTextBrowser* browser_ = nullptr;
    QListWidget* contents_ = nullptr;
};

}  // namespace modshelf::gui
