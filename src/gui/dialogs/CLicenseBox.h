#pragma once

#include <QDialog>
#include <string>

class QPlainTextEdit;

namespace modshelf::gui {

// The program's terms, for reading and copying only.
class CLicenseBox : public QDialog {
    Q_OBJECT

public:
    explicit CLicenseBox(const std::string& version, QWidget* parent = nullptr);

    // The whole text, paragraphs separated by blank lines.
    const std::string& text() const { return text_; }
    QPlainTextEdit* textEdit() const { return edit_; }

private:
    std::string text_;
    QPlainTextEdit* edit_ = nullptr;
};

}  // namespace modshelf::gui
